// Long runs with the invariants checked after every step: no load is lost or
// duplicated, nobody carries more than it can, the position index stays right,
// figures stay finite and in range. Labelled "soak"; run alone with
// `ctest --preset default -L soak`.
#include "RandomScenario.h"

#include "scenario/clsScenario.h"
#include "model/clsBucketChain.h"
#include "model/clsChainChecker.h"
#include "model/clsLoadHandler.h"
#include "model/clsZOManager.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

// Steps the chain, checking after each step; returns the first violation.
std::string StepChecked(TBucketChain& chain, const TChainChecker& checker, std::int64_t steps)
{
    for (std::int64_t step = 1; step <= steps; ++step) {
        chain.Step();
        if (std::string fault = checker.Check(); !fault.empty())
            return "after step " + std::to_string(step) + ": " + fault;
    }
    return {};
}

TEST(Soak, TheMovingScenarioKeepsItsInvariantsForTwoMillionSteps)
{
    TZOManager objects;
    TScenario scenario(objects);
    const TChainChecker checker(*scenario.GetChain(), *scenario.GetSource(), *scenario.GetSink(),
                                scenario.GetInitialStock());

    EXPECT_EQ(StepChecked(*scenario.GetChain(), checker, 2'000'000), "");
    // The move is long over: every load arrived.
    EXPECT_EQ(scenario.GetSink()->GetDeliveredCount(), scenario.GetInitialStock());
}

class RandomScenarioSoak : public testing::TestWithParam<std::uint64_t>
{
};

TEST_P(RandomScenarioSoak, KeepsItsInvariantsForTwentyThousandSteps)
{
    // In a thread of its own, the scenario draws the overtaking sequence from its start.
    std::string fault;
    std::thread([&] {
        TRandomScenario scenario(GetParam());
        const TChainChecker checker(scenario.GetChain(), scenario.GetSource(), scenario.GetSink(),
                                    scenario.GetInitialStock());
        fault = checker.Check();
        if (fault.empty())
            fault = StepChecked(scenario.GetChain(), checker, 20'000);
    }).join();
    EXPECT_EQ(fault, "");
}

// Two hundred fixed seeds: a failure names its seed and reproduces.
INSTANTIATE_TEST_SUITE_P(Seeds, RandomScenarioSoak, testing::Range<std::uint64_t>(1, 201));

} // namespace
