#include "ModelTestSupport.h"
#include "scenario/clsScenario.h"
#include "model/clsChainChecker.h"
#include "model/clsZOManager.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

TEST(ChainChecker, FindsNothingWrongWithTheMoveFreshOrStepped)
{
    TZOManager objects;
    TScenario scenario(objects);
    const TChainChecker checker(*scenario.GetChain(), *scenario.GetSource(), *scenario.GetSink(),
                                scenario.GetInitialStock());
    EXPECT_EQ(checker.Check(), "");
    // Long enough for home areas, hand-overs along the chain and deliveries.
    for (int step = 1; step <= 6000; ++step) {
        scenario.GetChain()->Step();
        if (step % 500 == 0) {
            ASSERT_EQ(checker.Check(), "") << "after step " << step;
        }
    }
    EXPECT_GT(scenario.GetSink()->GetDeliveredCount(), 0);
    EXPECT_EQ(scenario.GetSource()->GetLoadCount() + checker.CountLoadsInHands()
                  + scenario.GetSink()->GetDeliveredCount(),
              666);
}

namespace {

// A source, one person carrying a load and a sink: sound until a test breaks it.
class BrokenChain : public testing::Test
{
protected:
    BrokenChain()
    {
        person.Carry(world.ids);
    }

    std::string Fault() const { return checker.Check(); }

    TTestWorld world;
    TLoadSource& source = world.Add<TLoadSource>(1.0, 4);
    THomeProbe& person = world.AddPerson<THomeProbe>(0.5);
    TLoadSink& sink = world.Add<TLoadSink>(1.0);
    const TChainChecker checker{world.chain, source, sink, 5};
};

} // namespace

TEST_F(BrokenChain, IsSoundAsBuilt)
{
    EXPECT_EQ(Fault(), "");
}

TEST_F(BrokenChain, ALostLoadIsReported)
{
    delete person.TakeLoad(0);
    EXPECT_NE(Fault().find("not conserved"), std::string::npos) << Fault();
}

TEST_F(BrokenChain, AHandlerFiledUnderAnotherPositionIsReported)
{
    person.SetPositionQuietly(0.6);
    EXPECT_NE(Fault().find("filed 0 times"), std::string::npos) << Fault();
}

TEST_F(BrokenChain, APositionThatIsNotANumberIsReported)
{
    person.SetPositionQuietly(std::numeric_limits<double>::quiet_NaN());
    EXPECT_NE(Fault().find("position is not finite"), std::string::npos) << Fault();
}

TEST_F(BrokenChain, FitnessOutOfRangeIsReported)
{
    for (const double fitness : {1.5, 0.0, -0.1, std::numeric_limits<double>::quiet_NaN()}) {
        person.SetFitness(fitness);
        EXPECT_NE(Fault().find("fitness"), std::string::npos) << fitness << ": " << Fault();
    }
}

TEST_F(BrokenChain, AHomeAreaShorterThanTheMinimumIsReported)
{
    person.SetHome(0.4, 0.41);
    EXPECT_NE(Fault().find("home area"), std::string::npos) << Fault();
}
