#include "dialogs/clsPersonRow.h"

#include "analysis/MoveReport.h"

#include "model/clsHandlerState.h"
#include "strings/clsDecimalText.h"
#include "strings/clsStringTable.h"
#include "view/clsPersonFigures.h"

namespace {

constexpr std::int32_t TextDeleted = 2101;
constexpr std::int32_t TextNoHomeArea = 2102;
constexpr std::int32_t TextComes = 3910;
constexpr std::int32_t TextLeft = 3911;

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
    if (!handler || !handler->IsPerson()) {
        row.note = GetStringById(TextDeleted);
        return row;
    }
    const THandlerState& p = *handler;

    row.gone = false;
    row.cells[0] = QString::fromStdString(p.name);
    row.cells[1] = SpeedText(p);
    row.cells[2] = FitnessText(p.fitness);
    row.cells[3] = HundredfoldText(p.loadWeight);
    row.cells[4] = HundredfoldText(p.freeCapacity + p.loadWeight);
    row.cells[5] = HundredfoldText(p.position);
    if (p.inHomeArea) {
        row.cells[6] = HundredfoldText(p.homeEnd - p.homeStart);
        row.cells[7] = SatisfactionText(p.satisfaction);
    } else if (p.kind == THandlerState::TKind::HomeareaPerson) {
        row.cells[6] = GetStringById(TextNoHomeArea);
    }
    return row;
}

TPersonRow TPersonRow::OffTrail(const QString& name, std::optional<std::int64_t> joinsAt, std::int64_t shownStep)
{
    TPersonRow row;
    row.cells[0] = name;
    row.note = joinsAt && *joinsAt > shownStep
        ? GetStringById(TextComes).arg(QString::fromStdString(FormatSimulatedTime(*joinsAt)))
        : GetStringById(TextLeft);
    return row;
}

std::optional<std::int32_t> ParseRowId(const QString& text)
{
    return ReadDecimal(text).value;
}
