#include "dialogs/clsChartAxes.h"

#include <QValueAxis>

#include <gtest/gtest.h>

namespace {

struct TTimeTicksCase
{
    const char* what;
    double span;
    int count;
    QStringList labels;
};

} // namespace

TEST(ChartAxes, TimeIsLabelledInHoursAndMinutesAtRoundTicks)
{
    const TTimeTicksCase cases[] = {
        {"a short move: every minute", 3.0, 8, {"0:01", "0:02", "0:03"}},
        {"twenty minutes apart, on the hour too", 147.4, 8, {"0:20", "0:40", "1:00", "1:20", "1:40", "2:00", "2:20"}},
        {"half hours up to the end", 150.0, 6, {"0:30", "1:00", "1:30", "2:00", "2:30"}},
        {"a day in hours", 1440.0, 4, {"6:00", "12:00", "18:00", "24:00"}},
    };
    for (const TTimeTicksCase& c : cases) {
        QStringList labels;
        for (const auto& [minutes, label] : TimeTicks(c.span, c.count)) {
            labels << label;
            EXPECT_EQ(HoursAndMinutes(minutes), label) << c.what;
        }
        EXPECT_EQ(labels, c.labels) << c.what;
    }
    EXPECT_EQ(HoursAndMinutes(59.6), QStringLiteral("1:00"));
}

TEST(ChartAxes, CountsTickAtRoundFiguresFromNoughtAndTheScaleEndsOnOne)
{
    QValueAxis loads;
    ShowCountTicks(loads, 666.0, 6);
    EXPECT_EQ(loads.tickType(), QValueAxis::TicksDynamic);
    EXPECT_DOUBLE_EQ(loads.tickAnchor(), 0.0);
    EXPECT_DOUBLE_EQ(loads.tickInterval(), 200.0);
    EXPECT_DOUBLE_EQ(loads.max(), 800.0);
    ShowCountTicks(loads, 5.0, 6);
    EXPECT_DOUBLE_EQ(loads.tickInterval(), 1.0);
    EXPECT_DOUBLE_EQ(loads.max(), 5.0);
}
