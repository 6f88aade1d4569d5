#include "analysis/SweepJob.h"
#include "analysis/SweepMove.h"
#include "analysis/SweepSetup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>
#include <tuple>

namespace {

void ExpectSamePlan(const TSweepPlan& a, const TSweepPlan& b)
{
    EXPECT_EQ(a.pointers, b.pointers);
    EXPECT_EQ(a.values, b.values);
    EXPECT_EQ(a.seeds, b.seeds);
    EXPECT_EQ(a.maxSteps, b.maxSteps);
    EXPECT_EQ(a.combinations, b.combinations);
}

// A setup made in the window is the plan the equivalent hand-written sweep file gives.
TEST(SweepSetup, GivesThePlanOfTheEquivalentSweepFile)
{
    const struct { TSweepSetup setup; const char* file; } rows[] = {
        {{"", "", {{"/persons/0/count", *RangeValues(6, 9, 1, true)}}, 1, 3, 900},
         R"({"vary": {"/persons/0/count": [6, 7, 8, 9]}, "seeds": [1, 2, 3], "max_steps": 900})"},
        {{"", "", {{"/source/load_weight", *RangeValues(0.1, 0.3, 0.1, false)}, {"/handover", *ListValues("restart, finish")}}, 7, 2, 5'000'000},
         R"({"seeds": {"count": 2, "from": 7}, "vary": {"/source/load_weight": [0.1, 0.2, 0.3], "/handover": ["restart", "finish"]}})"},
        {{"", "", {{"/trail/2/length", *ListValues(" 0.25,0.5 ")}}, 0, 1, 10},
         R"({"vary": {"/trail/2/length": [0.25, 0.5]}, "seeds": [0], "max_steps": 10})"},
        {{"", "", {}, 3, 40, 900, 7500},
         R"({"seeds": {"from": 3, "until": {"median_within": "0:05:00", "max": 40}}, "max_steps": 900})"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const TSweepPlan window = ParseSweep(SweepFileText(row.setup), "window", ".");
        const TSweepPlan file = ParseSweep(row.file, "file", ".");
        ExpectSamePlan(window, file);
        EXPECT_EQ(std::tie(window.seedBatch, window.medianWithin), std::tie(file.seedBatch, file.medianWithin));
    }
    // Every field offered is a place the sweep accepts.
    TSweepSetup all{"", "", {}, 1, 1, 10};
    for (const TSweepField& field : SweepFieldsOf(BuiltInMove())) {
        all.axes = {{field.pointer, {field.word ? "\"finish\"" : field.whole ? "5" : "0.2"}}};
        EXPECT_NO_THROW(ParseSweep(SweepFileText(all), "window", ".")) << field.pointer;
    }
}

TEST(SweepSetup, RefusesValuesThatMakeNoList)
{
    EXPECT_FALSE(RangeValues(5, 4, 1, true));
    EXPECT_FALSE(RangeValues(1, 4, 0, true));
    EXPECT_FALSE(RangeValues(1, 2, 0.5, true));
    EXPECT_FALSE(RangeValues(0, 1e9, 1, true));
    EXPECT_FALSE(ListValues(""));
    EXPECT_FALSE(ListValues("6,,8"));
    EXPECT_FALSE(ListValues("6; 8"));
    EXPECT_FALSE(ListValues("1e999"));
    EXPECT_EQ(*ListValues("6, 1.5, finish"), (std::vector<std::string>{"6", "1.5", "\"finish\""}));
}

// A reopened experiment shows its values as the range they were made from.
TEST(SweepSetup, ReadsBackTheRangeThatGaveTheValues)
{
    const struct { double from, to, step; bool whole; } ranges[] = {{6, 20, 1, true}, {0.1, 0.3, 0.1, false}, {0.25, 2, 0.25, false}};
    for (const auto& [from, to, step, whole] : ranges) {
        const std::vector<std::string> values = *RangeValues(from, to, step, whole);
        const std::optional<TSweepRange> range = RangeOf(values, whole);
        ASSERT_TRUE(range) << from;
        EXPECT_EQ(std::make_tuple(range->from, range->to, range->step), std::make_tuple(from, to, step));
    }
    EXPECT_FALSE(RangeOf({"6"}, true)) << "one value has no step";
    EXPECT_FALSE(RangeOf({"6", "8", "12"}, true));
    EXPECT_FALSE(RangeOf({"restart", "finish", "restart"}, false));
}

// The window's job writes the bytes zemba-run writes, and a cancelled one keeps whole rows.
TEST(SweepJob, WritesZembaRunsBytesAndKeepsWholeRowsWhenCancelled)
{
    const TSweepPlan plan = ParseSweep(R"({"vary": {"/source/stock": [4, 8]}, "seeds": {"from": 1, "count": 3}, "max_steps": 60000})",
                                       "small.json", ".");
    std::ostringstream direct;
    direct << SweepCsvHeader(plan);
    const std::atomic<bool> never{false};
    std::vector<std::size_t> runs{0, 1, 2, 3, 4, 5};
    RunSweep(plan, runs, 1, RunSweepMove, direct, never);
    TSweepJob job(plan, 2, RunSweepMove);
    job.Wait();
    EXPECT_EQ(job.GetCsv(), direct.str());
    EXPECT_EQ(job.GetRunsDone(), plan.RunCount());

    // A run that waits to be cancelled after the first two have been done.
    std::atomic<int> started{0};
    TSweepJob cancelled(plan, 2, [&](const TScenarioDescription& s, std::int64_t limit, const std::atomic<bool>& stop) {
        if (started++ >= 2)
            while (!stop)
                std::this_thread::yield();
        return RunSweepMove(s, limit, stop);
    });
    while (cancelled.GetRunsDone() < 2)
        std::this_thread::yield();
    cancelled.Cancel();
    cancelled.Wait();
    const std::string kept = cancelled.GetCsv();
    EXPECT_EQ(direct.str().substr(0, kept.size()), kept);
    EXPECT_EQ(kept.back(), '\n');
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 3);
}

} // namespace
