#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The move's trail: a run-up, five flights of steps with a landing behind
// each, and a last plain stretch.
TSectionPlan MoveTrail()
{
    TSectionPlan plan{{0.3, false}};
    for (int flight = 0; flight < 5; ++flight)
        plan.insert(plan.end(), {{0.2, true}, {0.05, false}});
    plan.emplace_back(0.2, false);
    return plan;
}

std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

} // namespace

TEST(Trail, MapsPositionsToSectionsWithBordersInTheLaterOneAndHeightsRisingOnStepsOnlyAndRefusesUselessSections)
{
    TTestWorld move(MoveTrail());
    TTrail& trail = move.trail;
    EXPECT_FALSE(trail.AddSection(nullptr));
    for (const double bad : {0.0, -0.0, -0.2, NaN, Inf, -Inf}) {
        TTrailSectionSteps section(move.ids, bad);
        EXPECT_FALSE(trail.AddSection(&section)) << bad;
    }
    EXPECT_EQ(trail.GetSectionCount(), 12);
    struct TRow
    {
        double position;
        int section;
        double height;
    };
    const TRow rows[] = {
        {-0.5, 0, 0.0}, {0.0, 0, 0.0},  {0.2999, 0, 0.0}, {0.3, 1, 0.0},   {0.4, 1, 0.05},
        {0.5, 2, 0.1},  {0.55, 3, 0.1}, {1.5499, 10, 0.5}, {1.55, 11, 0.5}, {9.0, 11, 0.5},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(trail.GetSectionAt(row.position), trail.GetSection(row.section)) << "at " << row.position;
        EXPECT_NEAR(trail.GetHeightAt(row.position), row.height, 1e-12) << "at " << row.position;
    }
    EXPECT_DOUBLE_EQ(trail.GetTotalHeight(), 0.5);
    EXPECT_DOUBLE_EQ(trail.GetLength(), 1.75);
}

// The running sums must give, bit for bit, what a plain walk over the sections
// gives, on the move's trail and on one whose lengths add up with rounding at
// every border; probed at the borders and their neighbouring doubles, far
// outside and on a fine grid.
TEST(Trail, AnswersMatchAWalkOverTheSectionsBitForBit)
{
    TSectionPlan uneven;
    for (const double length : {0.1, 0.7, 0.2, 1.0 / 3.0, 0.001, 0.3, 0.15})
        uneven.emplace_back(length, uneven.size() % 2 == 1);
    for (const TSectionPlan& plan : {MoveTrail(), uneven}) {
        const TTestWorld world(plan);
        const TTrail& trail = world.trail;
        const int n = trail.GetSectionCount();
        std::vector<double> borders{0.0};
        for (int i = 0; i < n; ++i)
            borders.push_back(borders.back() + trail.GetSection(i)->GetLength());
        std::vector<double> probes{-1.0, -0.0, 5.0, Inf, -Inf, NaN};
        for (const double b : borders)
            probes.insert(probes.end(), {b, std::nextafter(b, -Inf), std::nextafter(b, Inf)});
        for (int i = -100; i < 2100; ++i)
            probes.push_back(i * 0.001);

        for (const double p : probes) {
            // A border belongs to the later section; beyond the end, to the last.
            int section = 0;
            while (section + 1 < n && !(borders[section + 1] > p))
                ++section;
            EXPECT_EQ(trail.GetSectionAt(p), trail.GetSection(section)) << "section at " << p;
            double height = 0.0;
            int i = 0;
            while (i < n && !(p <= borders[i + 1]))
                height = height + trail.GetSection(i++)->GetHeight();
            if (i < n) {
                const TTrailSection* s = trail.GetSection(i);
                height = height + s->GetHeight() * (1 - (borders[i + 1] - p) / s->GetLength());
            }
            EXPECT_EQ(Bits(trail.GetHeightAt(p)), Bits(height)) << "height at " << p;
        }
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(Bits(trail.GetSectionStart(trail.GetSection(i))), Bits(borders[i])) << i;
        EXPECT_EQ(Bits(trail.GetLength()), Bits(borders.back()));
    }
}
