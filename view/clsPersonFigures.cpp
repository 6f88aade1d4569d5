#include "view/clsPersonFigures.h"

#include "analysis/CText.h"
#include "model/clsHandlerState.h"
#include "strings/clsStringTable.h"

namespace {

constexpr std::int32_t TextOnBreak = 2103;

} // namespace

QString HundredfoldText(double value)
{
    return QString::fromStdString(CFormat("%.1lf", value * 100));
}

QString SpeedText(const THandlerState& person)
{
    return person.onBreak ? GetStringById(TextOnBreak) : HundredfoldText(person.stepLength);
}

QString FitnessText(double fitness)
{
    return QString::fromStdString(CFormat("%2d %%", static_cast<std::int32_t>(fitness * 100 + 0.5)));
}

QString SatisfactionText(std::int32_t percent)
{
    return QString::fromStdString(CFormat("%3d %%", percent));
}
