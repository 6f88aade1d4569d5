#include "analysis/MovePlot.h"
#include "analysis/PlotColours.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <vector>

namespace {

double WalkerAt(std::int64_t step)
{
    const std::int64_t phase = step % 20;
    return 0.05 + 0.01 * static_cast<double>(phase < 10 ? phase : 20 - phase);
}

// A trail of 1.0: plain ground up to 0.6, then a flight of steps. The first
// person stands at 0.5, the second at 0.25; the third walks from 0.05 to 0.15
// and back every 20 steps, 0.10 on average. All of them hold a load, so that
// their lines are wide enough to cover whole pixels.
TMoveRecord Standing(int steps)
{
    TMoveLayout layout;
    layout.trailLength = 1.0;
    layout.stock = 100;
    layout.stretches = {{.start = 0.0, .length = 0.6, .steps = false, .carryingFactor = 1.0},
                        {.start = 0.6, .length = 0.4, .steps = true, .carryingFactor = 0.5}};
    layout.persons = {{.id = 1, .name = "Blue", .speed = 0.01}, {.id = 5, .name = "White", .speed = 0.01},
                      {.id = 8, .name = "Black", .speed = 0.01}};
    std::vector<TPersonObservation> seen;
    for (const double position : {0.5, 0.25, 0.05})
        seen.push_back({.position = position, .activity = TActivity::Carrying, .carriesLoad = true});
    TMoveRecord record(layout, seen);
    for (int s = 1; s <= steps; ++s) {
        seen[2].position = WalkerAt(s);
        record.Add(0, seen);
    }
    return record;
}

} // namespace

TEST(MovePlot, EachPersonIsDrawnInItsOwnColourWhereItStands)
{
    // Twenty persons, twenty colours, none of them the ground's.
    for (std::size_t i = 0; i < PersonColours.size(); ++i)
        for (std::size_t j = i + 1; j <= PersonColours.size(); ++j)
            EXPECT_NE(PersonColour(i), j < PersonColours.size() ? PersonColour(j) : QColor(140, 140, 140)) << i << " " << j;

    // 400 steps are drawn step by step; 786 columns of 260 steps (13 of the
    // walker's rounds each) as each column's range and mean.
    for (const int steps : {400, 786 * 260}) {
        SCOPED_TRACE(steps);
        const QImage image = DrawMovePlot(Standing(steps));
        ASSERT_EQ(image.size(), QSize(1000, 600));
        const TPlotFrame frame = TPlotFrame::For(image.size(), steps, 1.0);
        ASSERT_EQ(frame.area.width(), 786);
        const std::int64_t step = steps / 2;
        const auto at = [&](double position) {
            return image.pixelColor(static_cast<int>(std::floor(frame.X(static_cast<double>(step)))),
                                    static_cast<int>(std::floor(frame.Y(position))));
        };
        EXPECT_EQ(at(0.5), PersonColour(0));
        EXPECT_EQ(at(0.25), PersonColour(1));
        EXPECT_EQ(at(steps == 400 ? WalkerAt(step) : 0.10), PersonColour(2));
        // Away from the persons: plain ground, and the darker flight of steps.
        EXPECT_EQ(at(0.4), QColor(140, 140, 140));
        EXPECT_LT(at(0.8).lightness(), at(0.4).lightness());
    }
}

