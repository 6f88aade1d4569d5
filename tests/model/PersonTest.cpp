// The person's rules, with their numbers written out: a changed tiring or
// recovery factor, break threshold, reach share or giving or receiving step
// count must fail here.
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TObjectIds ids;

// Plain ground to 0.3, a flight of steps to 0.5, plain ground to 1.0: reach 0.01.
class PersonWalk : public testing::Test
{
protected:
    TTestWorld world{{{0.3, false}, {0.2, true}, {0.5, false}}};
};

} // namespace

// Rows: position, carrying, on a break, fitness, the step length expected.
TEST_F(PersonWalk, StepLengthFollowsTheGroundTheLoadTheFitnessAndTheBreak)
{
    for (const auto& [at, carrying, onBreak, fitness, expected] :
         {std::tuple{0.1, false, false, 1.0, 0.002}, {0.1, true, false, 1.0, 0.002}, {0.4, false, false, 1.0, 0.0026},
          {0.4, true, false, 1.0, 0.001}, {0.3, true, false, 1.0, 0.001}, {0.1, false, false, 0.5, 0.001},
          {0.4, false, true, 1.0, 0.0}}) {
        auto& person = world.AddPerson<TPersonProbe>(at);
        person.SetOnBreak(onBreak);
        person.SetFitness(fitness);
        if (carrying)
            person.Carry(ids);
        EXPECT_DOUBLE_EQ(person.GetStepLength(), expected) << at << (carrying ? " carrying" : "") << (onBreak ? " on break" : "");
    }
}

// Rows: on a break before, fitness, on a break after.
TEST(Person, ABreakStartsBelowHalfFitnessAndEndsAboveNineTenths)
{
    for (const auto& [before, fitness, after] :
         {std::tuple{false, 0.4999, true}, {false, 0.5, false}, {true, 0.9, true}, {true, 0.9001, false}}) {
        TPersonProbe person(ids);
        person.SetOnBreak(before);
        person.SetFitness(fitness);
        person.UpdateBreak();
        EXPECT_EQ(person.IsOnBreak(), after) << (before ? "on break" : "working") << " at " << fitness;
    }
}

TEST_F(PersonWalk, TakesOneLoadThatFitsNoneOnABreakAndStandsOnItTiringThenRecoveringWithinTheTrail)
{
    auto& person = world.AddPerson<TPersonProbe>(0.1);
    TZStdLoad tooHeavy(ids, 1.5);
    EXPECT_FALSE(person.PutLoad(nullptr));
    EXPECT_FALSE(person.PutLoad(&tooHeavy));
    EXPECT_TRUE(person.PutLoad(new TZStdLoad(ids, 1.0)));
    EXPECT_EQ(person.GetFreeCapacity(), 0.0) << "one load at a time";
    person.SetOnBreak(true);
    person.SetFitness(0.6);
    person.Step();
    EXPECT_EQ(person.GetFitness(), 0.6 * 0.9999 * 1.0015);
    EXPECT_EQ(person.GetPosition(), 0.1);
    delete person.TakeLoad(0);
    EXPECT_EQ(person.GetFreeCapacity(), 0.0) << "persons on a break refuse loads";
    for (const auto& [target, expected] : {std::pair{-0.1, 0.0}, {2.0, 1.0}, {0.5, 0.5}}) {
        double t = target;
        person.ClampPosition(t);
        EXPECT_EQ(t, expected) << target;
    }
}

TEST_F(PersonWalk, AnEmptyPersonBesideTheSourceTakesALoadInTheSameStep)
{
    auto& source = world.Add<TLoadSource>(1.0, 5);
    auto& person = world.AddPerson<TPersonProbe>(0.0);
    world.Add<TLoadSink>(1.0);
    world.chain.Step();
    EXPECT_EQ(source.GetLoadCount(), 4);
    EXPECT_EQ(person.GetLoadCount(), 1);
    EXPECT_EQ(person.GetState(), TPersonState::Walking) << "the source hands over at once";
    // Held back behind the source, it creeps a tenth of the reach past the trail's start.
    EXPECT_EQ(person.GetPosition(), 0.0 - world.Reach() * 0.1);
}

// The giver stands three steps, the load changing hands in the third; the
// taker stands five of its own steps before it walks on.
TEST_F(PersonWalk, AHandOverTakesThreeGivingAndFiveReceivingSteps)
{
    world.Add<TLoadSource>(1.0, 0);
    auto& giver = world.AddPerson<TPersonProbe>(0.5);
    auto& taker = world.AddPerson<TPersonProbe>(0.505);
    world.Add<TLoadSink>(1.0);
    giver.Carry(ids);
    using enum TPersonState;
    // After each step: the giver's loads and state, the taker's loads and state.
    const std::tuple<int, TPersonState, int, TPersonState> expected[] = {
        {1, Giving, 0, Receiving}, {1, Giving, 0, Receiving}, {1, Giving, 0, Receiving},
        {0, Walking, 1, Receiving}, {0, Walking, 1, Walking},
    };
    for (std::size_t step = 0; step < std::size(expected); ++step) {
        world.chain.Step();
        EXPECT_EQ(std::tuple(giver.GetLoadCount(), giver.GetState(), taker.GetLoadCount(), taker.GetState()),
                  expected[step]) << "after step " << step + 1;
        EXPECT_EQ(taker.GetPosition(), 0.505) << "the taker stands still while it receives";
    }
    EXPECT_LT(giver.GetPosition(), 0.5) << "the giver, empty again, walks back";
    world.chain.Step();
    EXPECT_GT(taker.GetPosition(), 0.505) << "the taker walks on towards the sink";
}

TEST_F(PersonWalk, ACarrierChoosesTheNearestHandlerThatCanTakeItsLoadAndTheFirstOfEquallyNearOnes)
{
    auto& carrier = world.AddPerson<TPersonProbe>(0.5);
    auto& resting = world.AddPerson<TPersonProbe>(0.502);
    auto& busy = world.AddPerson<TPersonProbe>(0.503);
    auto& nearest = world.AddPerson<TPersonProbe>(0.507);
    auto& asNear = world.AddPerson<TPersonProbe>(0.507);
    carrier.Carry(ids);
    resting.SetOnBreak(true);
    busy.Carry(ids);
    carrier.Step();
    EXPECT_EQ(carrier.GetPartner(), &nearest);
    EXPECT_EQ(nearest.GetState(), TPersonState::Receiving);
    EXPECT_EQ(asNear.GetState(), TPersonState::Walking);
}

// A blocker that can neither take nor give a load stands ahead; a partner
// within two reaches draws the carrier up to a reach behind it. Rows:
// carrying, where the other stands, whether it takes, overtaking, where the walker ends.
TEST_F(PersonWalk, AWalkerStopsAReachBehindOthersButCreepsOnOrOvertakes)
{
    const double reach = world.Reach();
    for (const auto& [carrying, other, takes, overtake, expected] :
         {std::tuple{true, 0.505, false, false, 0.5 + reach * 0.1}, // held back behind itself: creeps on
          {true, 0.5115, false, false, 0.5115 - reach}, {true, 0.5115, true, false, 0.5115 - reach},
          {true, 0.505, false, true, 0.502}, {false, 0.495, false, false, 0.5 - reach * 0.1},
          {false, 0.495, false, true, 0.498}}) {
        TTestWorld w(TSectionPlan{{0.3, false}, {0.2, true}, {0.5, false}});
        auto& walker = w.AddPerson<TPersonProbe>(0.5);
        w.Add<TTestHandler>(other, takes ? 1.0 : 0.0);
        walker.overtake = overtake;
        if (carrying)
            walker.Carry(ids);
        walker.Step();
        EXPECT_DOUBLE_EQ(walker.GetPosition(), expected) << (carrying ? "carrying" : "empty") << ", other at " << other
                                                         << (takes ? " taking" : "") << (overtake ? ", overtaking" : "");
    }
}

// Two empty persons in reach of one carrier: the carrier chooses the nearer as
// its taker, and the other, stepped after it, chooses the carrier as its giver.
// Restarted, the giving goes to the latecomer; finished, the latecomer is
// refused and walks on, and the taker gets the load.
TEST(Person, UnderTheFinishRuleAGivingUnderWayIsNotRestartedByALaterChooser)
{
    const struct { THandoverRule rule; int takerLoads, latecomerLoads; TPersonState latecomer; } rows[] = {
        {THandoverRule::Restart, 0, 1, TPersonState::Receiving}, {THandoverRule::Finish, 1, 0, TPersonState::Walking}};
    for (const auto& row : rows) {
        TTestWorld world;
        world.chain.SetHandoverRule(row.rule);
        world.Add<TLoadSource>(1.0, 0);
        auto& giver = world.AddPerson<TPersonProbe>(0.5);
        auto& taker = world.AddPerson<TPersonProbe>(0.505);
        auto& latecomer = world.AddPerson<TPersonProbe>(0.508);
        world.Add<TLoadSink>(1.0);
        giver.Carry(world.ids);
        for (int step = 0; step < 3; ++step)
            world.chain.Step();
        EXPECT_EQ(latecomer.GetState(), row.latecomer) << "while the giving is under way";
        world.chain.Step();
        EXPECT_EQ(std::tuple(giver.GetLoadCount(), taker.GetLoadCount(), latecomer.GetLoadCount()),
                  std::tuple(0, row.takerLoads, row.latecomerLoads))
            << (row.rule == THandoverRule::Finish ? "finish" : "restart");
    }
}
