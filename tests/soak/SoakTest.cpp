// Long runs with the invariants checked after every step: no load is lost or
// duplicated, nobody carries more than it can, the position index stays right,
// figures stay finite and in range. Labelled "soak"; run alone with
// `ctest --preset default -L soak`.
#include "model/clsChainChecker.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioDescription.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

// A scenario drawn from a seed: 1 to 60 persons (plain and home-area) at
// random places and speeds, on 1 to 40 plain and steps sections of random
// lengths, with a random stock. The same seed always draws the same scenario.
TScenarioDescription RandomScenario(std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

    TScenarioDescription d;
    d.seed = static_cast<std::uint32_t>(seed);
    for (int i = between(1, 40); i > 0; --i)
        d.trail.push_back({between(0, 1) == 0 ? TSectionDescription::TKind::Plain : TSectionDescription::TKind::Steps,
                           uniform(0.01, 0.5)});
    d.stock = between(0, 2000);
    for (int i = between(1, 60); i > 0; --i) {
        TPersonGroup person;
        person.kind = between(0, 3) == 0 ? TPersonGroup::TKind::Plain : TPersonGroup::TKind::HomeArea;
        person.position = between(0, 2) == 0 ? 0.0 : uniform(0.0, d.GetTrailLength());
        person.speed = uniform(0.0005, 0.02);
        d.persons.push_back(person);
    }
    return d;
}

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
