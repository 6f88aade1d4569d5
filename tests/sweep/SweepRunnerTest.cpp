#include "tools/SweepCommand.h"
#include "analysis/SweepJob.h"
#include "analysis/SweepMove.h"
#include "analysis/Version.h"
#include "analysis/SweepRunner.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <thread>

namespace {

TSweepPlan SmallPlan()
{
    return ParseSweep(R"({"vary": {"/persons/0/count": [6, 9, 12], "/source/stock": [50, 70]},
                          "seeds": {"from": 1, "count": 4}, "max_steps": 900})",
                      "sweep.json", ".");
}

// Figures that depend on the run's scenario alone, returned after a pause that
// varies from run to run, so that runs on several threads finish out of order.
std::optional<TSweepOutcome> FakeRun(const TScenarioDescription& s, std::int64_t maxSteps, const std::atomic<bool>&)
{
    std::this_thread::sleep_for(std::chrono::microseconds(200 * ((s.seed * 7 + s.persons[0].count) % 5)));
    const std::int64_t steps = 100 * s.persons[0].count + s.seed + s.stock;
    return TSweepOutcome{.end = steps < maxSteps ? TMoveOutcome::Finished : TMoveOutcome::Running, .steps = std::min(steps, maxSteps), .delivered = s.stock,
                         .perMinute = 1.0 / 3.0 * s.seed, .boundShare = 2.0 / 3.0, .breaks = s.seed};
}

// Figures as FakeRun's, but spread across the seeds as a random draw would,
// so that the interval of a median narrows only with many seeds.
std::optional<TSweepOutcome> SpreadRun(const TScenarioDescription& s, std::int64_t maxSteps, const std::atomic<bool>& stop)
{
    std::optional<TSweepOutcome> outcome = FakeRun(s, maxSteps, stop);
    outcome->steps += s.seed * 7919 % 97 * 3;
    return outcome;
}

// The CSV's lines of the given runs (all of the plan without shardCount).
std::vector<std::string> Sweep(const TSweepPlan& plan, unsigned jobs, std::size_t shard = 1, std::size_t shardCount = 1)
{
    std::ostringstream csv;
    csv << SweepCsvHeader(plan);
    const std::atomic<bool> stop{false};
    RunSweep(plan, ShardRuns(plan.RunCount(), shard, shardCount), jobs, FakeRun, csv, stop);
    std::vector<std::string> lines;
    std::istringstream in(csv.str());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(SweepRunner, WritesOneFixedFormatRowPerRunInPlanOrderWhateverTheJobsAndShards)
{
    const TSweepPlan plan = SmallPlan();
    const std::vector<std::string> whole = Sweep(plan, 1);
    ASSERT_EQ(whole.size(), 1 + plan.RunCount());
    EXPECT_EQ(whole[0], "run,/persons/0/count,/source/stock,seed,finished,outcome,steps,time,delivered,per_minute,bound_share,"
                        "breaks,max_steps,plan_runs,sweep_sha256,version,commit");
    const std::string planColumns = ",900,24," + plan.sweepHash + "," + ZembaVersion + "," + ZembaCommit;
    EXPECT_EQ(whole[1], "0,6,50,1,1,finished,651,0:00:26,50,0.3333,0.6667,1" + planColumns);
    EXPECT_EQ(whole[24], "23,12,70,4,0,limit,900,0:00:36,70,1.3333,0.6667,4" + planColumns);
    for (const unsigned jobs : {2u, 3u, 8u})
        EXPECT_EQ(Sweep(plan, jobs), whole) << jobs << " jobs";

    // Shards merged as the cluster merges them: one header, rows sorted by run.
    for (const std::size_t count : {2u, 5u}) {
        std::vector<std::string> merged;
        for (std::size_t k = 1; k <= count; ++k) {
            const std::vector<std::string> lines = Sweep(plan, 2, k, count);
            merged.insert(merged.end(), lines.begin() + (k == 1 ? 0 : 1), lines.end());
        }
        std::sort(merged.begin() + 1, merged.end(),
                  [](const std::string& a, const std::string& b) { return std::stoul(a) < std::stoul(b); });
        EXPECT_EQ(merged, whole) << count << " shards";
    }
}

// The sweep file of SmallPlan in a folder of its own, and the CSV beside it.
class SweepCommandTest : public testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("zemba-sweep-command-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        Use(SweepText);
        options.mode = ERunMode::Sweep;
        options.sweepPath = (folder / "sweep.json").string();
        options.csvPath = (folder / "sweep.csv").string();
        options.jobs = 2;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void Use(const std::string& text)
    {
        std::ofstream(folder / "sweep.json") << text;
        plan = ParseSweep(text, "sweep.json", ".");
    }

    std::string Csv() const
    {
        std::ifstream in(options.csvPath, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static constexpr const char* SweepText = R"({"vary": {"/persons/0/count": [6, 9, 12], "/source/stock": [50, 70]},
                          "seeds": {"from": 1, "count": 4}, "max_steps": 900})";
    // With SpreadRun, every median is within two seconds after 40 seeds.
    static std::string SequentialText(const char* within, int most)
    {
        return std::string(R"({"vary": {"/persons/0/count": [6, 8]}, "seeds": {"from": 1, "until": {"median_within": ")")
            + within + R"(", "max": )" + std::to_string(most) + "}}}";
    }
    std::filesystem::path folder;
    TSweepPlan plan;
    TRunOptions options;
};

// Stopped after a few runs, as Ctrl+C or SIGTERM would, then resumed, also
// with the last row cut short and stopped again: the same bytes as a sweep
// that ran through, however the rows stood after each stop; so also a sweep
// of seeds until precise, whose rows decide where it ends.
TEST_F(SweepCommandTest, AStoppedSweepKeepsEveryFinishedRowAndResumesToTheSameBytes)
{
    for (const bool sequential : {false, true}) {
        SCOPED_TRACE(sequential ? "seeds until precise" : "seeds given");
        if (sequential)
            Use(SequentialText("0:00:02", 80));
        const TSweepRunFunction& runOne = sequential ? SpreadRun : FakeRun;
        std::ostringstream err;
        const std::atomic<bool> never{false};
        options.resume = false;
        ASSERT_EQ(RunSweepCommand(options, err, err, runOne, never, {}), 0) << err.str();
        const std::string whole = Csv();

        std::atomic<bool> stop{false};
        std::atomic<int> started{0};
        int stopAt = 0;
        // The stopAt-th run to start stops the sweep.
        const TSweepRunFunction stopping = [&](const TScenarioDescription& s, std::int64_t maxSteps,
                                               const std::atomic<bool>& flag) -> std::optional<TSweepOutcome> {
            if (++started != stopAt)
                return runOne(s, maxSteps, flag);
            stop = true;
            return std::nullopt;
        };
        // Per try: where the run stops, and bytes cut from the CSV's end
        // after it; the sequential sweep's 80 runs are also cut in a later batch.
        std::vector<std::vector<std::pair<int, int>>> rows = {
            {{5, 0}, {0, 0}}, {{5, 3}, {4, 0}, {0, 0}}, {{2, 1}, {3, 7}, {6, 2}, {0, 0}}};
        if (sequential)
            rows.push_back({{35, 4}, {30, 0}, {0, 0}});
        for (const auto& tries : rows) {
            std::filesystem::remove(options.csvPath);
            for (std::size_t t = 0; t < tries.size(); ++t) {
                const auto [at, cut] = tries[t];
                options.resume = t > 0;
                stop = false;
                started = 0;
                stopAt = at;
                std::ostringstream said;
                const int status = RunSweepCommand(options, said, said, stopping, stop, {});
                EXPECT_EQ(status, at ? 130 : 0) << said.str();
                EXPECT_EQ(said.str().find("interrupted: ") != std::string::npos, at != 0) << said.str();
                if (cut)
                    std::filesystem::resize_file(options.csvPath, std::filesystem::file_size(options.csvPath) - cut);
            }
            EXPECT_EQ(Csv(), whole);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2) << "a file left behind";
        }
    }
}

// Whatever the jobs, the same rows and the same end: after 40 seeds, or at
// the most seeds with a line for each combination that fell short.
TEST_F(SweepCommandTest, ASequentialSweepEndsWhereItsRowsSayWhateverTheJobs)
{
    const std::atomic<bool> never{false};
    const struct { const char* within; int most; std::size_t rows; std::vector<const char*> said; } rows[] = {
        {"0:00:02", 80, 80, {"zemba-run: seeds enough after 40 of at most 80: every median's 95 % interval lies within +/- 0:00:02\n"}},
        {"0:00:01", 30, 60,
         {"zemba-run: short of +/- 0:00:01 at the most seeds, 30: /persons/0/count = 6: median 0:00:57, 95 % interval 0:00:54 to 0:00:58\n",
          "zemba-run: short of +/- 0:00:01 at the most seeds, 30: /persons/0/count = 8: median 0:01:05, 95 % interval 0:01:02 to 0:01:06\n"}},
    };
    for (const auto& row : rows) {
        Use(SequentialText(row.within, row.most));
        std::string first;
        for (const int jobs : {1, 3}) {
            options.jobs = jobs;
            std::ostringstream err;
            ASSERT_EQ(RunSweepCommand(options, err, err, SpreadRun, never, {}), 0) << err.str();
            std::string said;
            for (const char* line : row.said)
                said += line;
            EXPECT_EQ(err.str(), said);
            if (first.empty())
                first = Csv();
            EXPECT_EQ(Csv(), first) << jobs << " jobs";
        }
        EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), static_cast<std::ptrdiff_t>(row.rows + 1));
    }
}

// The window's job runs seeds until precise as zemba-run does: the same rows,
// ending at the same batch, and it knows the runs its rule asked for.
TEST_F(SweepCommandTest, TheWindowsJobRunsASequentialSweepToZembaRunsBytes)
{
    const std::atomic<bool> never{false};
    const struct { const char* within; int most; std::size_t due; } rows[] = {{"0:00:02", 80, 80}, {"0:00:01", 30, 60}};
    for (const auto& row : rows) {
        Use(SequentialText(row.within, row.most));
        std::ostringstream err;
        ASSERT_EQ(RunSweepCommand(options, err, err, SpreadRun, never, {}), 0) << err.str();
        TSweepJob job(plan, 3, SpreadRun);
        job.Wait();
        EXPECT_EQ(job.GetCsv(), Csv()) << row.within;
        EXPECT_EQ(job.GetRunsDone(), row.due);
        EXPECT_EQ(job.GetRunsDue(), row.due);
    }
}

// After a resume, the rows already there are no work to do: progress counts
// the runs left, and says the time left in seconds when it is short.
TEST_F(SweepCommandTest, ProgressCountsOnlyTheRunsStillToDo)
{
    const std::atomic<bool> never{false};
    std::ofstream(options.csvPath, std::ios::binary) << SweepCsvHeader(plan)
                                                     << SweepCsvRow(plan, 0, *FakeRun(plan.ScenarioOf(0), 900, never))
                                                     << SweepCsvRow(plan, 1, *FakeRun(plan.ScenarioOf(1), 900, never));
    options.resume = true;
    std::ostringstream err;
    ASSERT_EQ(RunSweepCommand(options, err, err, FakeRun, never, {.terminal = true}), 0) << err.str();
    const std::string said = err.str();
    EXPECT_NE(said.find("\r22 of 22 runs, "), std::string::npos) << said;
    EXPECT_EQ(said.find(" of 24 runs"), std::string::npos) << said;
    EXPECT_NE(said.find(" runs/s, 0 s left"), std::string::npos) << said;
}

TEST(SweepMove, TheBuiltInMoveEndsInStep221150AsTheReportSaysOrAtItsLimitOrNotAtAllWhenStopped)
{
    std::atomic<bool> stop{false};
    const std::optional<TSweepOutcome> outcome = RunSweepMove(BuiltInMove(), 5'000'000, stop);
    ASSERT_TRUE(outcome && outcome->end == TMoveOutcome::Finished);
    EXPECT_EQ(std::make_tuple(outcome->steps, outcome->delivered, outcome->breaks), std::make_tuple(221150, 666, 213));
    EXPECT_NEAR(outcome->perMinute, 4.5173, 1e-4);
    EXPECT_NEAR(outcome->boundShare * 21.0, 4.5173, 0.01);

    const std::optional<TSweepOutcome> cut = RunSweepMove(BuiltInMove(), 1000, stop);
    EXPECT_TRUE(cut && cut->end == TMoveOutcome::Running && cut->steps == 1000);
    stop = true;
    EXPECT_FALSE(RunSweepMove(BuiltInMove(), 1000, stop));
}

} // namespace
