// Long runs with the invariants checked after every step: no load is lost or
// duplicated, nobody carries more than it can, the position index stays right,
// figures stay finite and in range. Labelled "soak"; run alone with
// `ctest --preset default -L soak`.
#include "RandomScenario.h"

#include "model/clsBucketChain.h"
#include "model/clsChainChecker.h"
#include "model/clsLoadHandler.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Steps the scenario, checking before the first step and after each; returns the first violation.
std::string StepChecked(const TScenario& scenario, std::int64_t steps)
{
    const TChainChecker checker(*scenario.GetChain(), *scenario.GetSource(), *scenario.GetSink(),
                                scenario.GetInitialStock());
    for (std::int64_t step = 0; step <= steps; ++step) {
        if (step > 0)
            scenario.GetChain()->Step();
        if (std::string fault = checker.Check(); !fault.empty())
            return "after step " + std::to_string(step) + ": " + fault;
    }
    return {};
}

TEST(Soak, TheMoveKeepsItsInvariantsForTwoMillionStepsAndDeliversEveryLoad)
{
    TZOManager objects;
    const TScenario scenario(objects);
    EXPECT_EQ(StepChecked(scenario, 2'000'000), "");
    EXPECT_EQ(scenario.GetSink()->GetDeliveredCount(), scenario.GetInitialStock());
}

class RandomScenarioSoak : public testing::TestWithParam<std::uint64_t>
{
};

TEST_P(RandomScenarioSoak, KeepsItsInvariantsForTwentyThousandSteps)
{
    TZOManager objects;
    const TScenario scenario(objects, RandomScenario(GetParam()));
    EXPECT_EQ(StepChecked(scenario, 20'000), "");
}

// Two hundred fixed seeds: a failure names its seed and reproduces.
INSTANTIATE_TEST_SUITE_P(Seeds, RandomScenarioSoak, testing::Range<std::uint64_t>(1, 201));

} // namespace
