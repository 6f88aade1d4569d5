#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TObjectIds ids;

// Plain ground to 0.3, a flight of steps to 0.5, plain ground to 1.0: reach 0.01.
const std::vector<TTestWorld::TSectionPlan> RunUpStepsPlain{{0.3, false}, {0.2, true}, {0.5, false}};

// Offers a new load; a refused load stays with the caller, who deletes it.
bool Offer(TPerson& person, double weight)
{
    auto* load = new TZStdLoad(ids, weight);
    if (person.PutLoad(load))
        return true;
    delete load;
    return false;
}

class PersonWalk : public testing::Test
{
protected:
    TTestWorld world{RunUpStepsPlain};
};

} // namespace

TEST(Person, StepLengthFollowsTheGroundTheLoadAndTheBreak)
{
    TTestWorld world(RunUpStepsPlain);
    struct TRow
    {
        double position;
        bool carrying;
        bool onBreak;
        double fitness;
        double expected;
    };
    const TRow rows[] = {
        {0.1, false, false, 1.0, 0.002},  {0.1, true, false, 1.0, 0.002},  {0.4, false, false, 1.0, 0.0026},
        {0.4, true, false, 1.0, 0.001},   {0.3, true, false, 1.0, 0.001},  {0.1, false, false, 0.5, 0.001},
        {0.4, false, true, 1.0, 0.0},
    };
    for (const TRow& row : rows) {
        TPersonProbe person(ids);
        person.SetTrail(&world.trail);
        person.SetSpeed(0.002);
        person.SetPositionQuietly(row.position);
        person.SetOnBreak(row.onBreak);
        person.SetFitness(row.fitness);
        if (row.carrying)
            person.Carry(ids);
        EXPECT_DOUBLE_EQ(person.GetStepLength(), row.expected)
            << "at " << row.position << (row.carrying ? " carrying" : " empty") << (row.onBreak ? " on break" : "");
    }
}

TEST(Person, ABreakStartsBelowHalfFitnessAndEndsAboveNineTenths)
{
    struct TRow
    {
        bool onBreak;
        double fitness;
        bool expected;
    };
    const TRow rows[] = {
        {false, 0.4999, true}, {false, 0.5, false}, {false, 0.95, false},
        {true, 0.9, true},     {true, 0.9001, false}, {true, 0.4, true},
    };
    for (const TRow& row : rows) {
        TPersonProbe person(ids);
        person.SetOnBreak(row.onBreak);
        person.SetFitness(row.fitness);
        person.UpdateBreak();
        EXPECT_EQ(person.IsOnBreak(), row.expected) << (row.onBreak ? "on break" : "working") << " at " << row.fitness;
    }
}

TEST(Person, ACarryingPersonOnABreakTiresAndRecoversInThatOrder)
{
    TTestWorld world(RunUpStepsPlain);
    auto& person = world.AddPerson<TPersonProbe>(0.1);
    person.Carry(ids);
    person.SetOnBreak(true);
    person.SetFitness(0.6);
    person.Step();
    EXPECT_EQ(person.GetFitness(), 0.6 * 0.9999 * 1.0015);
    EXPECT_EQ(person.GetPosition(), 0.1) << "a person on a break does not walk";
}

TEST(Person, TakesOneLoadAtATimeAndNoneDuringABreak)
{
    TPersonProbe person(ids);
    EXPECT_EQ(person.GetFreeCapacity(), 1.0);
    EXPECT_FALSE(person.PutLoad(nullptr));
    EXPECT_FALSE(Offer(person, 1.5));
    EXPECT_TRUE(Offer(person, 1.0));
    EXPECT_EQ(person.GetFreeCapacity(), 0.0);
    EXPECT_FALSE(Offer(person, 1.0));
    EXPECT_EQ(person.GetLoadCount(), 1);

    TPersonProbe resting(ids);
    resting.SetOnBreak(true);
    EXPECT_EQ(resting.GetFreeCapacity(), 0.0);
    EXPECT_FALSE(Offer(resting, 1.0));
    EXPECT_EQ(resting.GetLoadCount(), 0);
}

TEST(Person, TargetsAreKeptOnTheTrail)
{
    TTestWorld world(RunUpStepsPlain);
    TPersonProbe person(ids);
    person.SetTrail(&world.trail);
    for (const auto& [target, expected] : {std::pair{-0.1, 0.0}, {2.0, 1.0}, {0.5, 0.5}, {0.0, 0.0}, {1.0, 1.0}}) {
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
    EXPECT_EQ(person.GetLoadCount(), 1);
    EXPECT_EQ(source.GetLoadCount(), 4);
    EXPECT_EQ(person.GetState(), TPersonState::Walking) << "the source hands over at once";
    // Held back behind the source, it creeps a tenth of the reach past the trail's start.
    EXPECT_EQ(person.GetPosition(), 0.0 - world.Reach() * 0.1);
}

TEST_F(PersonWalk, ACarrierHandsItsLoadToAnEmptyPersonOnItsThirdGivingStep)
{
    world.Add<TLoadSource>(1.0, 0);
    auto& giver = world.AddPerson<TPersonProbe>(0.5);
    auto& taker = world.AddPerson<TPersonProbe>(0.505);
    world.Add<TLoadSink>(1.0);
    giver.Carry(ids);

    struct TAfterStep
    {
        int giverLoads;
        TPersonState giverState;
        int takerLoads;
        TPersonState takerState;
    };
    constexpr auto Walking = TPersonState::Walking;
    constexpr auto Giving = TPersonState::Giving;
    constexpr auto Receiving = TPersonState::Receiving;
    const TAfterStep expected[] = {
        {1, Giving, 0, Receiving},  // the carrier finds the taker and starts giving
        {1, Giving, 0, Receiving},  {1, Giving, 0, Receiving},
        {0, Walking, 1, Receiving}, // the third giving step hands the load over
        {0, Walking, 1, Walking},   // the taker has stood for five of its steps
    };
    for (std::size_t step = 0; step < std::size(expected); ++step) {
        world.chain.Step();
        const TAfterStep& e = expected[step];
        EXPECT_EQ(giver.GetLoadCount(), e.giverLoads) << "after step " << step + 1;
        EXPECT_EQ(giver.GetState(), e.giverState) << "after step " << step + 1;
        EXPECT_EQ(taker.GetLoadCount(), e.takerLoads) << "after step " << step + 1;
        EXPECT_EQ(taker.GetState(), e.takerState) << "after step " << step + 1;
        EXPECT_EQ(taker.GetPosition(), 0.505) << "the taker stands still while it receives";
    }
    EXPECT_LT(giver.GetPosition(), 0.5) << "the giver, empty again, walks back";

    world.chain.Step();
    EXPECT_GT(taker.GetPosition(), 0.505) << "the taker walks on towards the sink";
}

TEST_F(PersonWalk, ACarrierAtTheSinkDeliversAfterThreeStepsAndWalksBack)
{
    world.Add<TLoadSource>(1.0, 0);
    auto& carrier = world.AddPerson<TPersonProbe>(0.995);
    auto& sink = world.Add<TLoadSink>(1.0);
    carrier.Carry(ids);

    world.chain.Step();
    EXPECT_EQ(carrier.GetState(), TPersonState::Giving);
    EXPECT_EQ(carrier.GetPartner(), &sink);
    world.chain.Step();
    world.chain.Step();
    EXPECT_EQ(sink.GetDeliveredCount(), 0);
    world.chain.Step();
    EXPECT_EQ(sink.GetDeliveredCount(), 1);
    EXPECT_EQ(carrier.GetLoadCount(), 0);
    EXPECT_EQ(carrier.GetState(), TPersonState::Walking);

    const double before = carrier.GetPosition();
    world.chain.Step();
    EXPECT_LT(carrier.GetPosition(), before);
}

TEST_F(PersonWalk, ACarrierChoosesTheNearestHandlerThatCanTakeItsLoadAndTheFirstOfEquallyNearOnes)
{
    auto& carrier = world.AddPerson<TPersonProbe>(0.5);
    auto& resting = world.AddPerson<TPersonProbe>(0.502);
    auto& busy = world.AddPerson<TPersonProbe>(0.503);
    auto& nearest = world.AddPerson<TPersonProbe>(0.507);
    auto& asNear = world.AddPerson<TPersonProbe>(0.507);
    auto& farther = world.AddPerson<TPersonProbe>(0.509);
    carrier.Carry(ids);
    resting.SetOnBreak(true);
    busy.Carry(ids);

    carrier.Step();
    EXPECT_EQ(carrier.GetPartner(), &nearest);
    EXPECT_EQ(nearest.GetState(), TPersonState::Receiving);
    for (const TPerson* other : {&resting, &busy, &asNear, &farther})
        EXPECT_EQ(other->GetState(), TPersonState::Walking) << other->GetName();
}

TEST_F(PersonWalk, ACarrierStepsUpToAReachBehindAPartnerFartherAway)
{
    auto& carrier = world.AddPerson<TPersonProbe>(0.5);
    auto& taker = world.AddPerson<TPersonProbe>(0.5115);
    carrier.Carry(ids);
    carrier.Step();
    EXPECT_EQ(carrier.GetPartner(), &taker);
    EXPECT_DOUBLE_EQ(carrier.GetPosition(), 0.5115 - world.Reach());
}

// A blocker that can neither take nor give a load stands within reach ahead.
TEST_F(PersonWalk, AWalkerStopsBehindOthersButCreepsOnOrOvertakes)
{
    struct TRow
    {
        bool carrying;
        double blocker;
        bool overtake;
        double expected;
    };
    const double reach = world.Reach();
    const TRow rows[] = {
        {true, 0.505, false, 0.5 + reach * 0.1},  // held back behind itself: creeps a tenth of the reach
        {true, 0.5115, false, 0.5115 - reach},    // held back to a reach behind the blocker
        {true, 0.505, true, 0.502},               // overtaking ignores the blocker
        {false, 0.495, false, 0.5 - reach * 0.1}, // and likewise on the way back
        {false, 0.495, true, 0.498},
    };
    for (const TRow& row : rows) {
        TTestWorld w(RunUpStepsPlain);
        auto& walker = w.AddPerson<TPersonProbe>(0.5);
        w.Add<TTestHandler>(row.blocker, 0.0);
        walker.overtake = row.overtake;
        if (row.carrying)
            walker.Carry(ids);
        walker.Step();
        EXPECT_DOUBLE_EQ(walker.GetPosition(), row.expected)
            << (row.carrying ? "carrying" : "empty") << ", blocker at " << row.blocker
            << (row.overtake ? ", overtaking" : "");
    }
}
