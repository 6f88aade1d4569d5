#include "dialogs/clsFieldReader.h"

#include <QTableWidgetItem>
#include <QVariant>

namespace {

// Where a cell keeps what it was filled with, beside its text.
constexpr int KeptValueRole = Qt::UserRole + 10;
constexpr int KeptBasisRole = Qt::UserRole + 11;
constexpr int KeptTextRole = Qt::UserRole + 12;

// Enough digits for any value a file holds to show as it is, few enough to
// hide the noise of the product (0.0003 × 625 is 0.18749999999999997).
constexpr int ShownDigits = 12;

} // namespace

double TFieldReader::Real(const QString& text, const std::string& path)
{
    const TTypedNumber<double> read = ReadTypedDecimal(text);
    if (read.value)
        return *read.value;
    Refuse(path, read.refusal);
    return 1.0;
}

double TFieldReader::Planned(const QTableWidgetItem* cell, double factor, const std::string& path)
{
    const TTypedNumber<double> read = ReadPlannerCell(cell, factor);
    if (read.value)
        return *read.value;
    Refuse(path, read.refusal);
    return 1.0;
}

void TFieldReader::Refuse(const std::string& path, const QString& reason)
{
    faults.push_back({TScenarioFaultKind::NotFinite, path, 0, 0, {}, "not a finite number"});
    reasons[path] = reason;
}

QTableWidgetItem* PlannerCell(double value, double factor)
{
    auto* cell = new QTableWidgetItem(TypedNumberText(value * factor, ShownDigits));
    KeepCellValue(*cell, value, factor);
    return cell;
}

TTypedNumber<double> ReadPlannerCell(const QTableWidgetItem* cell, double factor)
{
    if (const std::optional<double> kept = KeptCellValue(cell, factor))
        return {kept, {}};
    TTypedNumber<double> read = ReadTypedDecimal(cell ? cell->text() : QString());
    if (read.value)
        *read.value /= factor;
    return read;
}

void KeepCellValue(QTableWidgetItem& cell, double value, double basis)
{
    cell.setData(KeptValueRole, value);
    cell.setData(KeptBasisRole, basis);
    cell.setData(KeptTextRole, cell.text());
}

std::optional<double> KeptCellValue(const QTableWidgetItem* cell, double basis)
{
    if (!cell || !cell->data(KeptValueRole).isValid() || cell->data(KeptBasisRole).toDouble() != basis
        || cell->data(KeptTextRole).toString() != cell->text())
        return std::nullopt;
    return cell->data(KeptValueRole).toDouble();
}
