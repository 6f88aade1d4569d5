#include "dialogs/clsStepText.h"

#include "analysis/MoveReport.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsClockTime.h"
#include "strings/clsStringTable.h"

#include <QLocale>

namespace {

constexpr std::int32_t TextStepAndTime = 3000;
constexpr std::int32_t TextOneDayLater = 3800;
constexpr std::int32_t TextDaysLater = 3801;

// The clock text of the second of the day so many seconds after the start,
// with the days passed since the start's day.
QString OnClock(std::int64_t seconds, std::int32_t startSecond, bool withSeconds)
{
    const std::int64_t at = startSecond + seconds;
    const std::int64_t ofDay = at % SecondsPerDay;
    QString text = QString::fromStdString(withSeconds ? SimulatedTimeText(ofDay) : ClockTimeText(ofDay / 60 * 60));
    const std::int64_t days = at / SecondsPerDay;
    if (days == 1)
        text += GetStringById(TextOneDayLater);
    else if (days > 1)
        text += GetStringById(TextDaysLater).arg(days);
    return text;
}

} // namespace

QString MoveTimeText(std::int64_t step, std::int32_t startSecond)
{
    if (startSecond < 0)
        return QString::fromStdString(FormatSimulatedTime(step));
    return OnClock(step / StepsPerSecond, startSecond, true);
}

QString ClockMinuteText(std::int64_t step, std::int32_t startSecond)
{
    if (startSecond < 0)
        return MoveTimeText(step);
    return OnClock(step / StepsPerSecond, startSecond, false);
}

QString StepAndTimeText(std::int64_t step, std::int32_t startSecond)
{
    // German whatever the machine's locale, as every text of the window is.
    static const QLocale german(QLocale::German, QLocale::Germany);
    return GetStringById(TextStepAndTime).arg(german.toString(static_cast<qlonglong>(step)), MoveTimeText(step, startSecond));
}

std::optional<std::int64_t> ReadMoveTime(const QString& text, std::int32_t startSecond)
{
    const std::string typed = text.trimmed().toStdString();
    if (startSecond < 0)
        return ParseSimulatedTime(typed);
    const std::optional<std::int64_t> clock = ReadClockTime(typed, true);
    if (!clock || *clock >= SecondsPerDay)
        return std::nullopt;
    // A clock time before the start's is on the next day: a move may run past midnight.
    const std::int64_t seconds = *clock >= startSecond ? *clock - startSecond : *clock + SecondsPerDay - startSecond;
    return seconds * StepsPerSecond;
}
