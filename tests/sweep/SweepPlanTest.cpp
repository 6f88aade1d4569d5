#include "scenario/clsScenarioFile.h"
#include "tools/SweepPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TSweepPlan Parse(const std::string& text)
{
    return ParseSweep(text, "sweep.json", ".");
}

TEST(SweepPlan, RunsTheCrossProductInTheOrderWrittenWithTheSeedsFastest)
{
    const struct
    {
        const char* vary;
        std::vector<std::string> pointers;
        // Per run: the varied values as the CSV shows them, then the seed.
        std::vector<std::vector<std::string>> runs;
    } rows[] = {
        {R"({"/persons/0/count": [6, 8], "/source/stock": [10, 20]})", {"/persons/0/count", "/source/stock"},
         {{"6", "10", "7"}, {"6", "10", "8"}, {"6", "20", "7"}, {"6", "20", "8"},
          {"8", "10", "7"}, {"8", "10", "8"}, {"8", "20", "7"}, {"8", "20", "8"}}},
        {R"({"/source/stock": [10, 20], "/persons/0/count": [8]})", {"/source/stock", "/persons/0/count"},
         {{"10", "8", "7"}, {"10", "8", "8"}, {"20", "8", "7"}, {"20", "8", "8"}}},
        {"{}", {}, {{"7"}, {"8"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.vary);
        const TSweepPlan plan = Parse(std::string(R"({"vary": )") + row.vary + R"(, "seeds": {"from": 7, "count": 2}})");
        EXPECT_EQ(plan.pointers, row.pointers);
        ASSERT_EQ(plan.RunCount(), row.runs.size());
        for (std::size_t run = 0; run < plan.RunCount(); ++run) {
            std::vector<std::string> seen = plan.ValuesOf(plan.CombinationOf(run));
            seen.push_back(std::to_string(plan.SeedOf(run)));
            EXPECT_EQ(seen, row.runs[run]) << "run " << run;
        }
    }
}

TEST(SweepPlan, ARunsScenarioCarriesItsValuesAndSeed)
{
    const TSweepPlan plan = Parse(R"({"vary": {"/persons/0/count": [6, 20], "/persons/0/kind": ["plain"]},
                                     "seeds": [5, 3], "max_steps": 1000})");
    const TScenarioDescription last = plan.ScenarioOf(3);
    EXPECT_EQ(last.persons[0].count, 20);
    EXPECT_EQ(last.persons[0].kind, TPersonGroup::TKind::Plain);
    EXPECT_EQ(last.seed, 3u);
    EXPECT_EQ(last.stock, BuiltInMove().stock);
    EXPECT_EQ(plan.maxSteps, 1000);
}

TEST(SweepPlan, ARefusalNamesThePlaceAndTheProblem)
{
    const std::pair<const char*, const char*> rows[] = {
        {R"({"vary": {"/persons/3/count": [6]}, "seeds": [1]})",
         "sweep.json: /vary/~1persons~13~1count: no such place in the built-in move"},
        {R"({"vary": {"/persons/0/count": [6, 0]}, "seeds": [1]})",
         "sweep.json: /vary: /persons/0/count = 0 makes the scenario invalid: "
         "the built-in move: /persons/0/count: 0 must be a whole number from 1 to 1000000"},
        {R"({"vary": {"persons": [6]}, "seeds": [1]})",
         "sweep.json: /vary/persons: not a JSON pointer such as /persons/0/count"},
        {R"({"vary": {"/seed": [6]}, "seeds": [1]})", "sweep.json: /vary/~1seed: the seeds key sets the seeds"},
        {R"({"vary": {}})", "sweep.json: /seeds: missing: a list of seeds, or {\"from\": first, \"count\": how many}"},
        {R"({"seeds": [4294967296]})", "sweep.json: /seeds/0: 4294967296 must be a whole number from 0 to 4294967295"},
        {R"({"seed": [1]})", "sweep.json: /seed: unknown key; the keys here are scenario, vary, seeds, max_steps"},
        {R"({"vary": {"/persons/0/kind": ["plain,x"]}, "seeds": [1]})",
         "sweep.json: /vary/~1persons~10~1kind/0: a comma, a quote or a control character cannot stand in a CSV column"},
        {R"({"seeds": [1], "seeds": [2]})", "sweep.json: /seeds: duplicate key"},
    };
    for (const auto& [text, message] : rows) {
        try {
            Parse(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const TScenarioFileError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

TEST(SweepShards, SplitThePlanIntoDisjointSlicesThatCoverIt)
{
    for (const std::size_t count : {1u, 3u, 7u}) {
        std::vector<int> seen(10, 0);
        for (std::size_t k = 1; k <= count; ++k)
            for (const std::size_t run : ShardRuns(10, k, count))
                ++seen[run];
        EXPECT_EQ(seen, std::vector<int>(10, 1)) << count << " shards";
    }
}

} // namespace
