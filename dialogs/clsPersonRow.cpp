#include "dialogs/clsPersonRow.h"

#include "analysis/CText.h"
#include "model/clsHandlerState.h"
#include "strings/clsDecimalText.h"
#include "strings/clsStringTable.h"

namespace {

constexpr std::int32_t TextOnBreak = 2103;
constexpr std::int32_t TextNoHomeArea = 2102;

// Model quantities are shown times 100 with one decimal, and always with "."
// as decimal mark, whatever the user's locale.
QString Hundredfold(double value)
{
    return QString::fromStdString(CFormat("%.1lf", value * 100));
}

} // namespace

QString TPersonRow::Cell(int column) const
{
    if (column < 0 || column >= ColumnCount)
        return {};
    return cells[static_cast<std::size_t>(column)];
}

TPersonRow TPersonRow::Of(const THandlerState* handler)
{
    TPersonRow row;
    if (!handler || !handler->IsPerson())
        return row;
    const THandlerState& p = *handler;

    row.gone = false;
    row.cells[0] = QString::fromStdString(p.name);
    row.cells[1] = p.onBreak ? GetStringById(TextOnBreak) : Hundredfold(p.stepLength);
    row.cells[2] = QString::fromStdString(CFormat("%2d %%", static_cast<std::int32_t>(p.fitness * 100 + 0.5)));
    row.cells[3] = Hundredfold(p.loadWeight);
    row.cells[4] = Hundredfold(p.freeCapacity + p.loadWeight);
    row.cells[5] = Hundredfold(p.position);
    if (p.inHomeArea) {
        row.cells[6] = Hundredfold(p.homeEnd - p.homeStart);
        row.cells[7] = QString::fromStdString(CFormat("%3d %%", p.satisfaction));
    } else if (p.kind == THandlerState::TKind::HomeareaPerson) {
        row.cells[6] = GetStringById(TextNoHomeArea);
    }
    return row;
}

std::optional<std::int32_t> ParseRowId(const QString& text)
{
    return ReadDecimal(text).value;
}
