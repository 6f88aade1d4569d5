#include "view/clsPersonPanel.h"

#include "model/clsHandlerState.h"
#include "strings/clsStringTable.h"

#include <QStringList>

namespace {

constexpr std::int32_t TextFitness = 2112;
constexpr std::int32_t TextNoHomeArea = 2102;
constexpr std::int32_t TextOnBreak = 2200;
constexpr std::int32_t TextState = 2310;
constexpr std::int32_t TextWalking = 2311;
constexpr std::int32_t TextGiving = 2312;
constexpr std::int32_t TextReceiving = 2313;
constexpr std::int32_t TextLoad = 2314;
constexpr std::int32_t TextPosition = 2315;
constexpr std::int32_t TextHomeArea = 2316;

QString StateText(const THandlerState& person)
{
    if (person.onBreak)
        return GetStringById(TextOnBreak);
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
        ? QString::number(person.homeStart, 'f', 3) + QStringLiteral(" – ") + QString::number(person.homeEnd, 'f', 3)
        : GetStringById(TextNoHomeArea);
    const QStringList lines{
        QString::fromStdString(person.name),
        Line(TextState, StateText(person)),
        Line(TextFitness, QString::number(person.fitness * 100.0, 'f', 0) + QStringLiteral(" %")),
        Line(TextLoad, QString::number(person.loadCount) + QStringLiteral(" (") + QString::number(person.loadWeight, 'f', 1)
                           + QStringLiteral(")")),
        Line(TextPosition, QString::number(person.position, 'f', 3)),
        Line(TextHomeArea, homeArea),
    };
    return lines.join(QLatin1Char('\n'));
}
