#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TObjectIds ids;

void ExpectArea(const THomeareaPerson& p, double start, double end)
{
    EXPECT_TRUE(p.IsInHomeArea());
    EXPECT_DOUBLE_EQ(p.GetHomeStart(), start);
    EXPECT_DOUBLE_EQ(p.GetHomeEnd(), end);
}

// The move's proportions: a trail of 1.75 and thirteen handlers, so that the
// minimum home length is 1.75 / 13, about 0.1346.
class HomeNegotiation : public testing::Test
{
protected:
    std::vector<THomeProbe*> Populate()
    {
        world.Add<TLoadSource>(1.0, 0);
        std::vector<THomeProbe*> placed;
        for (int i = 0; i < 11; ++i)
            placed.push_back(&world.AddPerson<THomeProbe>(0.15 * i));
        world.Add<TLoadSink>(1.75);
        return placed;
    }

    TTestWorld world{TSectionPlan{{1.75, false}}};
    std::vector<THomeProbe*> persons = Populate();
    THomeProbe& first = *persons[0];
    THomeProbe& candidate = *persons[1];
    THomeProbe& third = *persons[2];
};

} // namespace

TEST_F(HomeNegotiation, AnAreaOfExactlyTheTrailOverTheHandlerCountIsLongEnough)
{
    const double w = candidate.GetMinimumHomeLength();
    EXPECT_DOUBLE_EQ(w, 1.75 / 13);
    EXPECT_TRUE(candidate.SetHomeArea(0.0, w, true));
    EXPECT_FALSE(candidate.SetHomeArea(0.0, std::nextafter(w, 0.0), false));
    first.SetHome(0.2, 0.5);
    EXPECT_TRUE(first.SetHomeArea(0.3, 0.3 + 2 * w, true));
    ExpectArea(first, 0.2, 0.5);
}

TEST_F(HomeNegotiation, OverlapsAtBothEndsAreSplitInTheMiddle)
{
    first.SetHome(0.2, 0.5);
    third.SetHome(0.6, 0.9);
    double lo = 0.4;
    double hi = 0.7;
    ASSERT_TRUE(candidate.NegotiateHomeArea(lo, hi));
    EXPECT_DOUBLE_EQ(lo, 0.45);
    EXPECT_DOUBLE_EQ(hi, 0.65);
    ExpectArea(first, 0.2, 0.45);
    ExpectArea(third, 0.65, 0.9);
    EXPECT_EQ(first.GetHomeEnd(), lo) << "the two areas meet exactly";
}

// Each row leaves someone shorter than the minimum length: nobody changes.
TEST_F(HomeNegotiation, ANegotiationThatWouldLeaveAnAreaTooShortChangesNothing)
{
    struct TRow
    {
        const char* what;
        double neighbourStart, neighbourEnd, lo, hi;
    };
    const TRow rows[] = {
        {"the neighbour would keep 0.125", 0.2, 0.35, 0.3, 0.6},
        {"the candidate would keep 0.1", 0.2, 0.5, 0.4, 0.55},
    };
    for (const TRow& row : rows) {
        first.SetHome(row.neighbourStart, row.neighbourEnd);
        double lo = row.lo;
        double hi = row.hi;
        EXPECT_FALSE(candidate.NegotiateHomeArea(lo, hi)) << row.what;
        EXPECT_EQ(lo, row.lo) << row.what;
        EXPECT_EQ(hi, row.hi) << row.what;
        ExpectArea(first, row.neighbourStart, row.neighbourEnd);
    }
}

// Only the source and the sink are near the first two; the last two stand
// within the minimum length of each other.
TEST(HomeArea, IsFoundedAroundThePersonUnlessAnotherPersonStandsNear)
{
    TTestWorld world;
    world.Add<TLoadSource>(1.0, 0);
    auto& nearSource = world.AddPerson<THomeProbe>(0.1);
    auto& nearSink = world.AddPerson<THomeProbe>(0.9);
    auto& one = world.AddPerson<THomeProbe>(0.45);
    auto& other = world.AddPerson<THomeProbe>(0.55);
    world.Add<TLoadSink>(1.0);
    const double w = nearSource.GetMinimumHomeLength();
    ASSERT_DOUBLE_EQ(w, 1.0 / 6);

    for (THomeProbe* p : {&nearSource, &nearSink, &one, &other})
        p->TryFoundHomeArea();
    ExpectArea(nearSource, 0.1 - w, 0.1 + w);
    ExpectArea(nearSink, 0.9 - w, 0.9 + w);
    EXPECT_FALSE(one.IsInHomeArea());
    EXPECT_FALSE(other.IsInHomeArea());
}

TEST(HomeArea, ABreakGivesTheAreaUpAndItIsFoundedAgainWhereThePersonStandsAfterwards)
{
    TTestWorld world;
    world.Add<TLoadSource>(1.0, 0);
    auto& person = world.AddPerson<THomeProbe>(0.5);
    world.Add<TLoadSink>(1.0);
    person.SetHome(0.1, 0.6, 10, 3);

    person.SetOnBreak(true);
    person.SetFitness(0.6);
    person.Step();
    EXPECT_FALSE(person.IsInHomeArea());
    EXPECT_EQ(person.GetHomeSteps(), 10) << "giving the area up leaves the counts";

    person.SetOnBreak(false);
    const double standing = person.GetPosition();
    person.Step();
    const double w = person.GetMinimumHomeLength();
    ExpectArea(person, standing - w, standing + w);
}

// Each row: the counts before one check of a target, and what follows from it.
TEST(HomeArea, TargetsArePulledBackToTheBordersAndAreaIsGivenUpAfterAThousandChecksWithMoreThan750Corrections)
{
    struct TRow
    {
        double target;
        int steps, corrections;
        double expected;
        bool keeps;
        int stepsAfter, correctionsAfter;
    };
    const TRow rows[] = {
        {0.3, 0, 0, 0.3, true, 1, 0},        {0.6, 0, 0, 0.5, true, 1, 1},
        {-0.2, 0, 0, 0.0, true, 1, 1},       {-0.05, 0, 0, 0.0, true, 1, 0}, // the trail's start limits after the area
        {0.3, 1000, 751, 0.3, false, 0, 0},  {0.3, 1000, 750, 0.3, true, 1, 0},
        {0.3, 999, 999, 0.3, true, 1000, 999}, // the period is not over yet
    };
    for (const TRow& row : rows) {
        TTestWorld world;
        auto& person = world.AddPerson<THomeProbe>(0.3);
        person.SetHome(-0.1, 0.5, row.steps, row.corrections);
        double t = row.target;
        person.ClampPosition(t);
        const testing::Message at = testing::Message() << row.target << " after " << row.steps << "/" << row.corrections;
        EXPECT_EQ(t, row.expected) << at;
        EXPECT_EQ(person.IsInHomeArea(), row.keeps) << at;
        EXPECT_EQ(person.GetHomeSteps(), row.stepsAfter) << at;
        EXPECT_EQ(person.GetHomeCorrections(), row.correctionsAfter) << at;
    }
}

TEST(HomeArea, SatisfactionIsTheShareOfUncorrectedChecksTruncated)
{
    struct TRow
    {
        int steps, corrections, satisfaction;
    };
    for (const TRow& row : {TRow{10, 3, 70}, TRow{3, 1, 67}, TRow{0, 0, 0}, TRow{3, 2, 34}, TRow{7, 0, 100}}) {
        THomeProbe person(ids);
        person.SetHome(0.2, 0.5, row.steps, row.corrections);
        EXPECT_EQ(person.GetSatisfaction(), row.satisfaction) << row.steps << "/" << row.corrections;
    }
}
