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

// The straightforward walks over the sections that the trail's running sums
// must reproduce exactly.
const TTrailSection* WalkSectionAt(const TTrail& trail, double position)
{
    double start = 0.0;
    for (int i = 0; i < trail.GetSectionCount(); ++i) {
        const TTrailSection* s = trail.GetSection(i);
        if (start + s->GetLength() > position)
            return s;
        start = start + s->GetLength();
    }
    return trail.GetSection(trail.GetSectionCount() - 1);
}

double WalkHeightAt(const TTrail& trail, double position)
{
    double start = 0.0;
    double height = 0.0;
    for (int i = 0; i < trail.GetSectionCount(); ++i) {
        const TTrailSection* s = trail.GetSection(i);
        if (position <= start + s->GetLength())
            return height + s->GetHeight() * (1 - (start + s->GetLength() - position) / s->GetLength());
        start = start + s->GetLength();
        height = height + s->GetHeight();
    }
    return height;
}

double WalkSectionStart(const TTrail& trail, int index)
{
    double start = 0.0;
    for (int i = 0; i < index; ++i)
        start = start + trail.GetSection(i)->GetLength();
    return start;
}

std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

// Borders and their neighbouring doubles, the far outside, and a fine grid.
std::vector<double> ProbePositions(const TTrail& trail)
{
    std::vector<double> positions{-1.0, -0.0, 0.0, 5.0, Inf, -Inf, NaN};
    double border = 0.0;
    for (int i = 0; i <= trail.GetSectionCount(); ++i) {
        for (const double p : {border, std::nextafter(border, -Inf), std::nextafter(border, Inf)})
            positions.push_back(p);
        if (i < trail.GetSectionCount())
            border = border + trail.GetSection(i)->GetLength();
    }
    for (int i = -100; i < 2100; ++i)
        positions.push_back(i * 0.001);
    return positions;
}

} // namespace

TEST(Trail, MapsPositionsToSectionsWithBordersInTheLaterOneAndHeightsRisingOnStepsOnly)
{
    const TTestWorld move(MoveTrail());
    const TTrail& trail = move.trail;
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

TEST(Trail, RefusesSectionsWithoutAUsableLength)
{
    TTestWorld move(MoveTrail());
    TTrail& trail = move.trail;
    EXPECT_FALSE(trail.AddSection(nullptr));
    for (const double bad : {0.0, -0.0, -0.2, NaN, Inf, -Inf}) {
        TTrailSectionSteps section(move.ids, bad);
        EXPECT_FALSE(trail.AddSection(&section)) << bad;
    }
    EXPECT_EQ(trail.GetSectionCount(), 12);
    EXPECT_DOUBLE_EQ(trail.GetLength(), 1.75);
    EXPECT_DOUBLE_EQ(trail.GetTotalHeight(), 0.5);
}

// The running sums must give, bit for bit, what the plain walk gives, on the
// move's trail and on one whose lengths add up with rounding at every border.
TEST(Trail, AnswersMatchAWalkOverTheSectionsBitForBit)
{
    TSectionPlan uneven;
    for (const double length : {0.1, 0.7, 0.2, 1.0 / 3.0, 0.001, 0.3, 0.15})
        uneven.emplace_back(length, uneven.size() % 2 == 1);
    for (const TSectionPlan& plan : {MoveTrail(), uneven}) {
        const TTestWorld world(plan);
        const TTrail& trail = world.trail;
        for (const double p : ProbePositions(trail)) {
            EXPECT_EQ(trail.GetSectionAt(p), WalkSectionAt(trail, p)) << "section at " << p;
            EXPECT_EQ(Bits(trail.GetHeightAt(p)), Bits(WalkHeightAt(trail, p)))
                << "height at " << p << ": " << trail.GetHeightAt(p) << " vs " << WalkHeightAt(trail, p);
        }
        for (int i = 0; i < trail.GetSectionCount(); ++i)
            EXPECT_EQ(Bits(trail.GetSectionStart(trail.GetSection(i))), Bits(WalkSectionStart(trail, i))) << i;
        EXPECT_EQ(Bits(trail.GetLength()), Bits(WalkSectionStart(trail, trail.GetSectionCount())));
    }
}
