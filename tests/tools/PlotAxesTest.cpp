#include "analysis/PlotAxes.h"

#include <gtest/gtest.h>

namespace {

struct TTickCase
{
    const char* what;
    double range;
    int count;
    double tick;
};

} // namespace

TEST(PlotAxes, CountsTickAtTheLeastOneTwoOrFiveThatCutsTheRangeIntoAtMostCountParts)
{
    const TTickCase cases[] = {
        {"exactly count parts", 10.0, 10, 1.0},
        {"rounded up to five", 30.0, 10, 5.0},
        {"rounded up to the next power of ten", 600.0, 10, 100.0},
        {"below one", 0.7, 7, 0.1},
        {"loads of a report", 666.0, 4, 200.0},
        {"no range", 0.0, 5, 1.0},
        {"no count", 3.0, 0, 5.0},
    };
    for (const TTickCase& c : cases)
        EXPECT_DOUBLE_EQ(TickSpacing(c.range, c.count), c.tick) << c.what;
}

TEST(PlotAxes, TimeTicksAtRoundMinutesHoursOrDaysThatCutTheSpanIntoAtMostCountParts)
{
    const TTickCase cases[] = {
        {"a short move: never below a minute", 3.0, 8, 1.0},
        {"twenty minutes, not a round power of ten", 147.4, 8, 20.0},
        {"half an hour", 150.0, 6, 30.0},
        {"three hours", 1000.0, 6, 180.0},
        {"half a day", 4000.0, 6, 720.0},
        {"a day", 5000.0, 6, 1440.0},
        {"whole days beyond", 20000.0, 6, 4320.0},
    };
    for (const TTickCase& c : cases) {
        const double tick = TimeTickMinutes(c.range, c.count);
        EXPECT_DOUBLE_EQ(tick, c.tick) << c.what;
        EXPECT_LE(c.range / tick, c.count) << c.what;
    }
}
