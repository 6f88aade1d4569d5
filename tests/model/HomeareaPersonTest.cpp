#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
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
};

} // namespace

TEST_F(HomeNegotiation, OverlapsAtBothEndsAreSplitInTheMiddle)
{
    THomeProbe& third = *persons[2];
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

// An area of exactly the trail over the handler count is long enough. Rows: the
// neighbour's area and the one sought; one of them would keep less than that, so
// nobody changes.
TEST_F(HomeNegotiation, ANegotiationThatWouldLeaveAnAreaShorterThanTheMinimumChangesNothing)
{
    const double w = candidate.GetMinimumHomeLength();
    EXPECT_DOUBLE_EQ(w, 1.75 / 13);
    EXPECT_TRUE(candidate.SetHomeArea(0.0, w, true));
    EXPECT_FALSE(candidate.SetHomeArea(0.0, std::nextafter(w, 0.0), false));
    first.SetHome(0.2, 0.5);
    EXPECT_TRUE(first.SetHomeArea(0.3, 0.3 + 2 * w, true)) << "a trial changes nothing";
    ExpectArea(first, 0.2, 0.5);
    for (const auto& [start, end, soughtLo, soughtHi] : {std::tuple{0.2, 0.35, 0.3, 0.6}, {0.2, 0.5, 0.4, 0.55}}) {
        first.SetHome(start, end);
        double lo = soughtLo;
        double hi = soughtHi;
        EXPECT_FALSE(candidate.NegotiateHomeArea(lo, hi)) << soughtLo;
        EXPECT_EQ(std::pair(lo, hi), std::pair(soughtLo, soughtHi));
        ExpectArea(first, start, end);
    }
}

// Only the source and the sink are near the first two; the last two stand
// within the minimum length of each other. A break gives the area up, and it
// is founded again where the person stands afterwards.
TEST(HomeArea, IsFoundedAroundThePersonUnlessAnotherPersonStandsNearAndGivenUpOnABreak)
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

    nearSink.SetHome(0.5, 0.95, 10, 3);
    nearSink.SetOnBreak(true);
    nearSink.SetFitness(0.6);
    nearSink.Step();
    EXPECT_FALSE(nearSink.IsInHomeArea());
    EXPECT_EQ(nearSink.GetHomeSteps(), 10) << "giving the area up leaves the counts";
    nearSink.SetOnBreak(false);
    const double standing = nearSink.GetPosition();
    nearSink.Step();
    ExpectArea(nearSink, standing - w, standing + w);
}

// Rows: a target and the counts before one check of it; the target after,
// whether the area is kept, and the counts after.
TEST(HomeArea, TargetsArePulledBackToTheBordersAndAreaIsGivenUpAfterAThousandChecksWithMoreThan750Corrections)
{
    for (const auto& [target, steps, corrections, expected, keeps, stepsAfter, correctionsAfter] :
         {std::tuple{0.3, 0, 0, 0.3, true, 1, 0}, {0.6, 0, 0, 0.5, true, 1, 1}, {-0.2, 0, 0, 0.0, true, 1, 1},
          {-0.05, 0, 0, 0.0, true, 1, 0}, // the trail's start limits after the area
          {0.3, 1000, 751, 0.3, false, 0, 0}, {0.3, 1000, 750, 0.3, true, 1, 0},
          {0.3, 999, 999, 0.3, true, 1000, 999}}) { // the period is not over yet
        TTestWorld world;
        auto& person = world.AddPerson<THomeProbe>(0.3);
        person.SetHome(-0.1, 0.5, steps, corrections);
        double t = target;
        person.ClampPosition(t);
        EXPECT_EQ(std::tuple(t, person.IsInHomeArea(), person.GetHomeSteps(), person.GetHomeCorrections()),
                  std::tuple(expected, keeps, stepsAfter, correctionsAfter))
            << target << " after " << steps << "/" << corrections;
    }
}

