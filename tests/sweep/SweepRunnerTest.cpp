#include "tools/SweepCommand.h"
#include "analysis/SweepMove.h"
#include "analysis/Version.h"
#include "analysis/SweepRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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
    return TSweepOutcome{.end = steps < maxSteps ? TSweepOutcome::TEnd::Finished : TSweepOutcome::TEnd::Limit, .steps = std::min(steps, maxSteps), .delivered = s.stock,
                         .perMinute = 1.0 / 3.0 * s.seed, .boundShare = 2.0 / 3.0, .breaks = s.seed};
}

// The CSV's lines of the given runs (all of the plan without shardCount).
std::vector<std::string> Sweep(const TSweepPlan& plan, unsigned jobs, std::size_t shard = 1, std::size_t shardCount = 1)
{
    std::ostringstream csv;
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

// Interrupted, then resumed from what it left, also with its last row cut
// short: the same bytes as a sweep that ran through.
TEST(SweepRunner, AnInterruptedSweepKeepsEveryFinishedRowWholeAndResumesToTheSameBytes)
{
    const TSweepPlan plan = SmallPlan();
    const std::vector<std::string> whole = Sweep(plan, 1);
    std::atomic<bool> stop{false};
    std::atomic<int> started{0};
    // The fifth run to start interrupts the sweep, as Ctrl+C would.
    const TSweepRunFunction interrupting = [&](const TScenarioDescription& s, std::int64_t maxSteps,
                                               const std::atomic<bool>& flag) -> std::optional<TSweepOutcome> {
        if (++started != 5)
            return FakeRun(s, maxSteps, flag);
        stop = true;
        return std::nullopt;
    };
    for (const unsigned jobs : {1u, 2u}) {
        stop = started = 0;
        std::ostringstream csv;
        const std::size_t written = RunSweep(plan, ShardRuns(plan.RunCount(), 1, 1), jobs, interrupting, csv, stop);
        EXPECT_EQ(csv.str().back(), '\n');
        std::istringstream in(csv.str());
        std::string line;
        std::size_t rows = 0;
        for (std::getline(in, line); std::getline(in, line); ++rows)
            EXPECT_EQ(line, whole[std::stoul(line) + 1]);
        EXPECT_EQ(rows, written);
        EXPECT_GE(written, 4u - (jobs - 1));
        EXPECT_LT(written, plan.RunCount());

        const std::vector<std::size_t> runs = ShardRuns(plan.RunCount(), 1, 1);
        for (const std::size_t cut : {0, 3}) {
            std::istringstream left(csv.str().substr(0, csv.str().size() - cut));
            const std::map<std::size_t, std::string> done = ReadFinishedRows(plan, runs, left, "left.csv");
            EXPECT_EQ(done.size(), written - (cut ? 1 : 0));
            std::ostringstream resumed;
            stop = false;
            RunSweep(plan, runs, jobs, FakeRun, resumed, stop, {}, done);
            std::string expected;
            for (const std::string& row : whole)
                expected += row + "\n";
            EXPECT_EQ(resumed.str(), expected) << jobs << " jobs, cut " << cut;
        }
    }
}

TEST(SweepRunner, ResumeRefusesTheCsvOfAnotherPlanOrShard)
{
    const TSweepPlan plan = SmallPlan();
    const std::vector<std::string> whole = Sweep(plan, 1);
    const TSweepPlan longer = ParseSweep(R"({"vary": {"/persons/0/count": [6, 9, 12], "/source/stock": [50, 70]},
                                            "seeds": {"from": 1, "count": 4}, "max_steps": 901})", "sweep.json", ".");
    using K = TSweepCsvError::TKind;
    const struct { std::string text; std::string message; K kind; } rows[] = {
        {"run,seed\n", "left.csv: line 1: another sweep's CSV", K::OtherPlan},
        {whole[0] + "\n" + whole[2] + "\n" + whole[2] + "\n", "left.csv: line 3: run 1 is there twice", K::RunTwice},
        {whole[0] + "\n" + "1,6,50,9" + whole[2].substr(8) + "\n", "left.csv: line 2: run 1 is another plan's", K::OtherPlan},
        {whole[0] + "\n" + whole[3] + "\n", "left.csv: line 2: run 2 belongs to another shard", K::OtherPlan},
    };
    for (const auto& [text, message, kind] : rows) {
        std::istringstream in(text);
        EXPECT_THROW(try { ReadFinishedRows(plan, {0, 1, 3}, in, "left.csv"); } catch (const TSweepCsvError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
            EXPECT_EQ(e.GetKind(), kind) << e.what();
            throw;
        }, TSweepCsvError) << text;
    }
    std::istringstream other(whole[0] + "\n" + whole[1] + "\n");
    EXPECT_THROW(ReadFinishedRows(longer, {0}, other, "left.csv"), TSweepCsvError) << "another max_steps";

    // A row of another build is another plan's for a resume, not for a CSV read back to be shown.
    std::string older = whole[1];
    older.replace(older.rfind(',') + 1, std::string::npos, "0123456789ab");
    std::istringstream resumed(whole[0] + "\n" + older + "\n");
    std::istringstream shown(whole[0] + "\n" + older + "\n");
    EXPECT_THROW(ReadFinishedRows(plan, {0, 1, 3}, resumed, "left.csv"), TSweepCsvError);
    EXPECT_EQ(ReadFinishedRows(plan, {0, 1, 3}, shown, "left.csv", TSweepRowsOf::AnyProgram).at(0), older + "\n");
}

TEST(SweepMove, TheBuiltInMoveEndsInStep221150AsTheReportSaysOrAtItsLimitOrNotAtAllWhenStopped)
{
    std::atomic<bool> stop{false};
    const std::optional<TSweepOutcome> outcome = RunSweepMove(BuiltInMove(), 5'000'000, stop);
    ASSERT_TRUE(outcome && outcome->end == TSweepOutcome::TEnd::Finished);
    EXPECT_EQ(std::make_tuple(outcome->steps, outcome->delivered, outcome->breaks), std::make_tuple(221150, 666, 213));
    EXPECT_NEAR(outcome->perMinute, 4.5173, 1e-4);
    EXPECT_NEAR(outcome->boundShare * 21.0, 4.5173, 0.01);

    const std::optional<TSweepOutcome> cut = RunSweepMove(BuiltInMove(), 1000, stop);
    EXPECT_TRUE(cut && cut->end == TSweepOutcome::TEnd::Limit && cut->steps == 1000);
    stop = true;
    EXPECT_FALSE(RunSweepMove(BuiltInMove(), 1000, stop));
}

} // namespace
