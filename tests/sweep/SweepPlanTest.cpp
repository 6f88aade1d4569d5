#include "scenario/clsScenarioFile.h"
#include "analysis/SweepPlan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TEST(SweepPlan, RunsTheCrossProductInTheOrderWrittenWithTheSeedsFastest)
{
    // Per run: the varied values as the CSV shows them, then the seed.
    const struct { const char* vary; std::vector<std::string> pointers; std::vector<std::vector<std::string>> runs; } rows[] = {
        {R"({"/persons/0/count": [6, 8], "/source/stock": [10, 20]})", {"/persons/0/count", "/source/stock"},
         {{"6", "10", "7"}, {"6", "10", "8"}, {"6", "20", "7"}, {"6", "20", "8"},
          {"8", "10", "7"}, {"8", "10", "8"}, {"8", "20", "7"}, {"8", "20", "8"}}},
        {R"({"/source/stock": [10, 20], "/persons/0/count": [8]})", {"/source/stock", "/persons/0/count"},
         {{"10", "8", "7"}, {"10", "8", "8"}, {"20", "8", "7"}, {"20", "8", "8"}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.vary);
        const TSweepPlan plan = ParseSweep(std::string(R"({"vary": )") + row.vary + R"(, "seeds": {"from": 7, "count": 2}})", "sweep.json", ".");
        EXPECT_EQ(plan.pointers, row.pointers);
        ASSERT_EQ(plan.RunCount(), row.runs.size());
        for (std::size_t run = 0; run < plan.RunCount(); ++run) {
            std::vector<std::string> seen = plan.ValuesOf(plan.CombinationOf(run));
            seen.push_back(std::to_string(plan.SeedOf(run)));
            EXPECT_EQ(seen, row.runs[run]) << "run " << run;
        }
    }
}

// Batch by batch: the first ten seeds with every combination, then the next.
TEST(SweepPlan, ASequentialSweepNumbersItsRunsBatchByBatch)
{
    const TSweepPlan plan = ParseSweep(R"({"vary": {"/persons/0/count": [6, 8]},
                                           "seeds": {"from": 1, "until": {"median_within": "0:01:00", "max": 12}}})",
                                       "sweep.json", ".");
    ASSERT_EQ(plan.RunCount(), 24u);
    const struct { std::size_t run; const char* count; std::uint32_t seed; } rows[] = {
        {0, "6", 1}, {9, "6", 10}, {10, "8", 1}, {19, "8", 10}, {20, "6", 11}, {21, "6", 12}, {22, "8", 11}, {23, "8", 12}};
    for (const auto& row : rows) {
        EXPECT_EQ(plan.ValuesOf(plan.CombinationOf(row.run)), std::vector<std::string>{row.count}) << "run " << row.run;
        EXPECT_EQ(plan.SeedOf(row.run), row.seed) << "run " << row.run;
    }
    const TSeedRule rule = plan.SeedRule();
    EXPECT_EQ(std::tie(rule.planRuns, rule.batchRuns, rule.medianWithin), std::make_tuple(24u, 20u, 1500));
}

TEST(SweepPlan, ARefusalNamesThePlaceAndTheProblem)
{
    const std::pair<const char*, const char*> rows[] = {
        {R"({"vary": {"/persons/3/count": [6]}, "seeds": [1]})",
         "sweep.json: /vary \"/persons/3/count\": no such place in the built-in move"},
        {R"({"vary": {"/persons/0/count": [6, 0]}, "seeds": [1]})",
         "sweep.json: /vary: /persons/0/count = 0 makes the scenario invalid: "
         "the built-in move: /persons/0/count: 0 must be a whole number from 1 to 1000000"},
        {R"({"vary": {"/seed": [6]}, "seeds": [1]})", "sweep.json: /vary \"/seed\": the seeds key sets the seeds"},
        {R"({"scenario": "nowhere.json", "seeds": [1]})", "sweep.json: /scenario: ./nowhere.json: "},
        {R"({"vary": {}})", "sweep.json: /seeds: missing: a list of seeds, or {\"from\": first, \"count\": how many}"},
        {R"({"seeds": {"from": 1, "until": {"median_within": "0:5:00", "max": 50}}})",
         "sweep.json: /seeds/until/median_within: \"0:5:00\" must be a time above 0 written h:mm:ss"},
        {R"({"seeds": {"from": 1, "until": {"median_within": "0:05:00"}}})", "sweep.json: /seeds/until: expected {"},
        {R"({"scenario": {"trail": [{"kind": "plain", "length": 0.3}], "persons": [{"count": 0, "speed": 0.002}]},
             "seeds": [1]})", "sweep.json: /scenario/persons/0/count: 0 must be a whole number from 1 to"},
        {R"({"scenario": {"trail": []}, "seeds": [1]})", "sweep.json: /scenario/persons: missing"},
        {R"({"scenario": 3, "seeds": [1]})",
         "sweep.json: /scenario: expected the path of a scenario file, or the scenario itself as an object"},
        {R"({"vary": {"/persons/0/kind": ["plain,x"]}, "seeds": [1]})",
         "sweep.json: /vary \"/persons/0/kind\": value 1: a comma, a quote or a control character cannot stand in a CSV column"},
    };
    for (const auto& [text, message] : rows) {
        EXPECT_THROW(try { ParseSweep(text, "sweep.json", "."); } catch (const TScenarioFileError& error) {
            EXPECT_EQ(std::string(error.what()).substr(0, std::string(message).size()), message);
            throw;
        }, TScenarioFileError) << text;
    }
}

// The sweep varies the scenario as it would be written, every default filled in.
TEST(SweepPlan, VariesAValueTheScenarioFileLeavesToItsDefault)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    std::ofstream(folder / "zemba-minimal.json")
        << R"({"trail": [{"kind": "plain", "length": 0.3}], "persons": [{"count": 3, "speed": 0.002}]})";
    const TSweepPlan plan = ParseSweep(R"({"scenario": "zemba-minimal.json", "vary": {"/source/stock": [5, 7]},
                                           "seeds": [1]})", "sweep.json", folder.string());
    ASSERT_EQ(plan.combinations.size(), 2u);
    EXPECT_EQ(plan.combinations[1].stock, 7);
    std::filesystem::remove(folder / "zemba-minimal.json");
}

// "Is it worth two friends coming at 0:30 instead of 1:00, or three?" as
// one sweep; the file names two, so fewer would be refused.
TEST(SweepPlan, VariesTheTimeAndTheCountOfAScheduledJoin)
{
    const TSweepPlan plan = ParseSweep(R"({"scenario": "friends-join.json",
        "vary": {"/schedule/0/at": ["0:30:00", "1:00:00", 900], "/schedule/0/join/count": [2, 3]}, "seeds": [1]})",
                                       "sweep.json", ZEMBA_SCENARIOS_DIR);
    ASSERT_EQ(plan.combinations.size(), 6u);
    const std::vector<std::pair<std::int64_t, std::int32_t>> expected{{45'000, 2}, {45'000, 3}, {90'000, 2},
                                                                      {90'000, 3}, {900, 2},    {900, 3}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TScheduleEntry& join = plan.combinations[i].schedule.at(0);
        EXPECT_EQ(std::make_pair(join.step, join.join.count), expected[i]) << i;
    }
}

} // namespace
