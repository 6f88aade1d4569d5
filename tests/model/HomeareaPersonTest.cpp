#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TObjectIds ids;

// The move's proportions: a trail of 1.75 and thirteen handlers, so that the
// minimum home length is 1.75 / 13, about 0.1346.
class HomeNegotiation : public testing::Test
{
protected:
    HomeNegotiation()
        : world({{1.75, false}})
    {
        world.Add<TLoadSource>(1.0, 0);
        for (int i = 0; i < 11; ++i)
            persons.push_back(&world.AddPerson<THomeProbe>(0.15 * i));
        world.Add<TLoadSink>(1.75);
    }

    TTestWorld world;
    std::vector<THomeProbe*> persons;
    THomeProbe& first() { return *persons[0]; }
    THomeProbe& candidate() { return *persons[1]; }
    THomeProbe& third() { return *persons[2]; }
};

void ExpectArea(const THomeareaPerson& p, double start, double end)
{
    EXPECT_TRUE(p.IsInHomeArea());
    EXPECT_DOUBLE_EQ(p.GetHomeStart(), start);
    EXPECT_DOUBLE_EQ(p.GetHomeEnd(), end);
}

} // namespace

TEST_F(HomeNegotiation, TheMinimumLengthIsTheTrailOverTheHandlerCount)
{
    EXPECT_DOUBLE_EQ(candidate().GetMinimumHomeLength(), 1.75 / 13);
}

TEST_F(HomeNegotiation, AnAreaOfExactlyTheMinimumLengthIsLongEnough)
{
    const double w = candidate().GetMinimumHomeLength();
    EXPECT_TRUE(candidate().SetHomeArea(0.0, w, true));
    EXPECT_FALSE(candidate().SetHomeArea(0.0, std::nextafter(w, 0.0), true));
    EXPECT_FALSE(candidate().SetHomeArea(0.0, std::nextafter(w, 0.0), false));

    first().SetHome(0.2, 0.5);
    EXPECT_TRUE(first().SetHomeArea(0.3, 0.3 + 2 * w, true));
    ExpectArea(first(), 0.2, 0.5);
    EXPECT_TRUE(first().SetHomeArea(0.3, 0.3 + 2 * w, false));
    ExpectArea(first(), 0.3, 0.3 + 2 * w);
}

TEST_F(HomeNegotiation, AnOverlapAtTheLowerEndIsSplitInTheMiddle)
{
    first().SetHome(0.2, 0.5);
    double lo = 0.4;
    double hi = 0.7;
    ASSERT_TRUE(candidate().NegotiateHomeArea(lo, hi));
    EXPECT_DOUBLE_EQ(lo, 0.45);
    EXPECT_EQ(hi, 0.7);
    ExpectArea(first(), 0.2, 0.45);
    EXPECT_EQ(first().GetHomeEnd(), lo) << "the two areas meet exactly";
}

TEST_F(HomeNegotiation, OverlapsAtBothEndsAreSplit)
{
    first().SetHome(0.2, 0.5);
    third().SetHome(0.6, 0.9);
    double lo = 0.4;
    double hi = 0.7;
    ASSERT_TRUE(candidate().NegotiateHomeArea(lo, hi));
    EXPECT_DOUBLE_EQ(lo, 0.45);
    EXPECT_DOUBLE_EQ(hi, 0.65);
    ExpectArea(first(), 0.2, 0.45);
    ExpectArea(third(), 0.65, 0.9);
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
        first().SetHome(row.neighbourStart, row.neighbourEnd);
        double lo = row.lo;
        double hi = row.hi;
        EXPECT_FALSE(candidate().NegotiateHomeArea(lo, hi)) << row.what;
        EXPECT_EQ(lo, row.lo) << row.what;
        EXPECT_EQ(hi, row.hi) << row.what;
        ExpectArea(first(), row.neighbourStart, row.neighbourEnd);
    }
}

TEST(HomeArea, IsFoundedAroundThePersonWhenOnlyTheSourceAndTheSinkAreNear)
{
    TTestWorld world({{1.0, false}});
    world.Add<TLoadSource>(1.0, 0);
    auto& nearSource = world.AddPerson<THomeProbe>(0.1);
    auto& nearSink = world.AddPerson<THomeProbe>(0.9);
    world.Add<TLoadSink>(1.0);
    const double w = nearSource.GetMinimumHomeLength();
    ASSERT_DOUBLE_EQ(w, 0.25);

    nearSource.TryFoundHomeArea();
    nearSink.TryFoundHomeArea();
    ExpectArea(nearSource, 0.1 - w, 0.1 + w);
    ExpectArea(nearSink, 0.9 - w, 0.9 + w);
}

TEST(HomeArea, IsNotFoundedWhileAnotherPersonStandsWithinTheMinimumLength)
{
    TTestWorld world({{1.0, false}});
    world.Add<TLoadSource>(1.0, 0);
    auto& one = world.AddPerson<THomeProbe>(0.4);
    auto& other = world.AddPerson<THomeProbe>(0.6);
    world.Add<TLoadSink>(1.0);

    one.TryFoundHomeArea();
    other.TryFoundHomeArea();
    EXPECT_FALSE(one.IsInHomeArea());
    EXPECT_FALSE(other.IsInHomeArea());
}

TEST(HomeArea, ABreakGivesTheAreaUpAndItIsFoundedAgainWhereThePersonStandsAfterwards)
{
    TTestWorld world({{1.0, false}});
    world.Add<TLoadSource>(1.0, 0);
    auto& person = world.AddPerson<THomeProbe>(0.5);
    world.Add<TLoadSink>(1.0);
    person.SetHome(0.1, 0.6);
    person.SetHomeCounts(10, 3);

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

TEST(HomeArea, TargetsArePulledBackToTheBordersAndCounted)
{
    TTestWorld world({{1.0, false}});
    auto& person = world.AddPerson<THomeProbe>(0.3);
    person.SetHome(-0.1, 0.5);
    struct TRow
    {
        double target, expected;
        int corrections;
    };
    const TRow rows[] = {{0.3, 0.3, 0}, {0.6, 0.5, 1}, {-0.2, 0.0, 2}, {-0.05, 0.0, 2}};
    int steps = 0;
    for (const TRow& row : rows) {
        double t = row.target;
        person.ClampPosition(t);
        EXPECT_EQ(t, row.expected) << row.target << ": the trail's start limits after the area";
        EXPECT_EQ(person.GetHomeSteps(), ++steps);
        EXPECT_EQ(person.GetHomeCorrections(), row.corrections) << row.target;
    }
}

TEST(HomeArea, IsGivenUpAfterAThousandChecksWithMoreThan750Corrections)
{
    struct TRow
    {
        int steps, corrections;
        bool keeps;
        int stepsAfter, correctionsAfter;
    };
    const TRow rows[] = {
        {1000, 751, false, 0, 0},
        {1000, 750, true, 1, 0},
        {999, 999, true, 1000, 999}, // the period is not over yet
    };
    for (const TRow& row : rows) {
        THomeProbe person(ids);
        person.SetHome(0.2, 0.5);
        person.SetHomeCounts(row.steps, row.corrections);
        double target = 0.3;
        person.ClampPosition(target);
        EXPECT_EQ(person.IsInHomeArea(), row.keeps) << row.steps << "/" << row.corrections;
        EXPECT_EQ(person.GetHomeSteps(), row.stepsAfter) << row.steps << "/" << row.corrections;
        EXPECT_EQ(person.GetHomeCorrections(), row.correctionsAfter) << row.steps << "/" << row.corrections;
    }
}

TEST(HomeArea, SatisfactionIsTheShareOfUncorrectedChecksTruncated)
{
    struct TRow
    {
        int steps, corrections, satisfaction;
    };
    for (const TRow& row : {TRow{10, 3, 70}, TRow{3, 1, 67}, TRow{0, 0, 0}, TRow{3, 2, 34}, TRow{1000, 750, 25}, TRow{7, 0, 100}}) {
        THomeProbe person(ids);
        person.SetHome(0.2, 0.5);
        person.SetHomeCounts(row.steps, row.corrections);
        EXPECT_EQ(person.GetSatisfaction(), row.satisfaction) << row.steps << "/" << row.corrections;
    }
}
