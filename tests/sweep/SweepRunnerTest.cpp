#include "tools/SweepRunner.h"
#include "tools/SweepCommand.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
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
    return TSweepOutcome{.finished = steps < maxSteps,
                         .steps = std::min(steps, maxSteps),
                         .delivered = s.stock,
                         .perMinute = 1.0 / 3.0 * s.seed,
                         .boundShare = 2.0 / 3.0,
                         .breaks = s.seed};
}

std::string Sweep(const TSweepPlan& plan, const std::vector<std::size_t>& runs, unsigned jobs,
                  const TSweepRunFunction& run = FakeRun)
{
    std::ostringstream csv;
    const std::atomic<bool> stop{false};
    RunSweep(plan, runs, jobs, run, csv, stop);
    return csv.str();
}

std::vector<std::size_t> AllRuns(const TSweepPlan& plan)
{
    return ShardRuns(plan.RunCount(), 1, 1);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(SweepRunner, WritesTheHeaderAndOneFixedFormatRowPerRunInPlanOrder)
{
    const TSweepPlan plan = SmallPlan();
    const std::vector<std::string> lines = Lines(Sweep(plan, AllRuns(plan), 1));
    ASSERT_EQ(lines.size(), 1 + plan.RunCount());
    EXPECT_EQ(lines[0], "run,/persons/0/count,/source/stock,seed,finished,steps,time,delivered,per_minute,bound_share,breaks");
    EXPECT_EQ(lines[1], "0,6,50,1,1,651,0:00:26,50,0.3333,0.6667,1");
    EXPECT_EQ(lines[24], "23,12,70,4,0,900,0:00:36,70,1.3333,0.6667,4");
}

TEST(SweepRunner, GivesTheSameBytesWhateverTheJobsAndHowTheShardsAreCut)
{
    const TSweepPlan plan = SmallPlan();
    const std::string whole = Sweep(plan, AllRuns(plan), 1);
    for (const unsigned jobs : {2u, 3u, 8u})
        EXPECT_EQ(Sweep(plan, AllRuns(plan), jobs), whole) << jobs << " jobs";

    // Shards merged as the cluster merges them: one header, rows sorted by run.
    for (const std::size_t count : {2u, 5u}) {
        std::vector<std::string> rows;
        for (std::size_t k = 1; k <= count; ++k) {
            std::vector<std::string> lines = Lines(Sweep(plan, ShardRuns(plan.RunCount(), k, count), 2));
            rows.insert(rows.end(), lines.begin() + 1, lines.end());
        }
        std::sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
            return std::stoul(a) < std::stoul(b);
        });
        std::string merged = SweepCsvHeader(plan);
        for (const std::string& row : rows)
            merged += row + "\n";
        EXPECT_EQ(merged, whole) << count << " shards";
    }
}

TEST(SweepRunner, AnInterruptedSweepKeepsEveryFinishedRowWholeAndStartsNoMoreRuns)
{
    const TSweepPlan plan = SmallPlan();
    const std::vector<std::string> whole = Lines(Sweep(plan, AllRuns(plan), 1));
    std::atomic<bool> stop{false};
    std::atomic<int> started{0};
    // The fifth run to start interrupts the sweep, as Ctrl+C would.
    const TSweepRunFunction interrupting = [&](const TScenarioDescription& s, std::int64_t maxSteps,
                                               const std::atomic<bool>& flag) -> std::optional<TSweepOutcome> {
        if (++started == 5) {
            stop = true;
            return std::nullopt;
        }
        return FakeRun(s, maxSteps, flag);
    };
    for (const unsigned jobs : {1u, 2u}) {
        stop = false;
        started = 0;
        std::ostringstream csv;
        const std::size_t written = RunSweep(plan, AllRuns(plan), jobs, interrupting, csv, stop);
        const std::vector<std::string> lines = Lines(csv.str());
        EXPECT_EQ(csv.str().back(), '\n');
        ASSERT_EQ(lines.size(), written + 1);
        EXPECT_GE(written, 4u - (jobs - 1));
        EXPECT_LT(written, plan.RunCount());
        for (std::size_t i = 1; i < lines.size(); ++i)
            EXPECT_EQ(lines[i], whole[std::stoul(lines[i]) + 1]) << "row " << i;
    }
}

TEST(SweepCommand, ABadSweepFileRunsNothingAndWritesNothing)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zemba-sweep-command";
    std::filesystem::create_directories(folder);
    const std::filesystem::path sweep = folder / "bad.json";
    const std::filesystem::path csv = folder / "bad.csv";
    std::filesystem::remove(csv);
    std::ofstream(sweep) << R"({"vary": {"/persons/0/cont": [6]}, "seeds": [1]})";

    TRunOptions options;
    options.sweepPath = sweep.string();
    options.csvPath = csv.string();
    std::ostringstream out, err;
    const std::atomic<bool> stop{false};
    int runs = 0;
    const TSweepRunFunction counting = [&](const TScenarioDescription& s, std::int64_t m, const std::atomic<bool>& f) {
        ++runs;
        return FakeRun(s, m, f);
    };
    EXPECT_EQ(RunSweepCommand(options, out, err, counting, stop, false), 2);
    EXPECT_EQ(err.str(), sweep.string() + ": /vary/~1persons~10~1cont: no such place in the built-in move\n");
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(std::filesystem::exists(csv));
}

} // namespace
