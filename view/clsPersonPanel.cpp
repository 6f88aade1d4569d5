#include "view/clsPersonPanel.h"

#include "model/clsHandlerState.h"
#include "strings/clsStringTable.h"
#include "view/clsPersonFigures.h"

#include <QStringList>

namespace {

constexpr std::int32_t TextFitness = 2112;
constexpr std::int32_t TextNoHomeArea = 2102;
constexpr std::int32_t TextOnBreakState = 2200;
constexpr std::int32_t TextState = 2310;
constexpr std::int32_t TextWalking = 2311;
constexpr std::int32_t TextGiving = 2312;
constexpr std::int32_t TextReceiving = 2313;
constexpr std::int32_t TextLoadRow = 2314;
constexpr std::int32_t TextPosition = 2315;
constexpr std::int32_t TextHomeAreaRow = 2316;
constexpr std::int32_t TextSpeed = 2317;
constexpr std::int32_t TextUnits = 2318;

QString StateText(const THandlerState& person)
{
    if (person.onBreak)
        return GetStringById(TextOnBreakState);
    switch (person.state) {
    case TPersonState::Giving:
        return GetStringById(TextGiving);
    case TPersonState::Receiving:
        return GetStringById(TextReceiving);
    case TPersonState::Walking:
        break;
    }
    return GetStringById(TextWalking);
}

QString Line(std::int32_t caption, const QString& value)
{
    return GetStringById(caption) + QStringLiteral(": ") + value;
}

} // namespace

QString PersonPanelText(const THandlerState& person)
{
    const QString homeArea = person.inHomeArea
        ? HundredfoldText(person.homeStart) + QStringLiteral(" – ") + HundredfoldText(person.homeEnd)
        : GetStringById(TextNoHomeArea);
    const QStringList lines{
        QString::fromStdString(person.name),
        Line(TextState, StateText(person)),
        Line(TextSpeed, SpeedText(person)),
        Line(TextFitness, FitnessText(person.fitness).trimmed()),
        Line(TextLoadRow, HundredfoldText(person.loadWeight)),
        Line(TextPosition, HundredfoldText(person.position)),
        Line(TextHomeAreaRow, homeArea),
    };
    return lines.join(QLatin1Char('\n'));
}

QString PersonPanelUnits()
{
    return GetStringById(TextUnits);
}
