// Times as the window tells them: since the start, or by the clock where the move has a start.
#include "dialogs/clsStepText.h"
#include "model/clsSimulationTime.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t Ten = 10 * 3600;

TEST(StepText, AMoveWithAStartTellsTheClockTimeAndTheDaysPassed)
{
    struct TCase
    {
        std::int64_t seconds;
        std::int32_t start;
        const char* time;
        const char* minute;
    };
    const TCase cases[] = {
        {5735, -1, "1:35:35", "1:35:35"},
        {5735, Ten, "11:35:35", "11:35"},
        {14 * 3600 + 59, Ten, "0:00:59 (+1 Tag)", "0:00 (+1 Tag)"},
        {2 * 86400, Ten, "10:00:00 (+2 Tage)", "10:00 (+2 Tage)"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(MoveTimeText(c.seconds * StepsPerSecond, c.start).toStdString(), c.time);
        EXPECT_EQ(ClockMinuteText(c.seconds * StepsPerSecond + 1, c.start).toStdString(), c.minute);
    }
    EXPECT_EQ(StepAndTimeText(143383, Ten).toStdString(), "Schritt 143.383 · 11:35:35");
}

TEST(StepText, ATimeIsTypedByTheClockWhereTheMoveHasAStart)
{
    struct TCase
    {
        const char* typed;
        std::int32_t start;
        std::optional<std::int64_t> seconds;
    };
    const TCase cases[] = {
        {"2:30:00", -1, 9000},
        {"2:30", -1, std::nullopt},
        {" 12:30 ", Ten, 9000},
        {"12:30:15", Ten, 9015},
        // Before the start's clock time: the next day, as a move may run past midnight.
        {"9:00", Ten, 23 * 3600},
        {"24:00", Ten, std::nullopt},
        {"halb eins", Ten, std::nullopt},
    };
    for (const TCase& c : cases) {
        const std::optional<std::int64_t> steps = ReadMoveTime(QString::fromLatin1(c.typed), c.start);
        EXPECT_EQ(steps, c.seconds ? std::optional(*c.seconds * StepsPerSecond) : std::nullopt) << c.typed;
    }
}

} // namespace
