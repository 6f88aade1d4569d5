#include "analysis/SweepReport.h"
#include "analysis/SweepSequence.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr std::int64_t Stalled = -1;
constexpr std::int64_t AtLimit = -2;
constexpr std::int64_t Limit = 5000;

// Ten runs 1000, 1100, ..., 1900: the interval of their median 1450 is ranks
// 1 and 8 of 10, 1100 to 1800, within 350 steps either way.
std::vector<std::int64_t> Spread()
{
    std::vector<std::int64_t> times;
    for (std::int64_t i = 0; i < 10; ++i)
        times.push_back(1000 + 100 * i);
    return times;
}

std::vector<std::int64_t> Join(std::vector<std::int64_t> a, const std::vector<std::int64_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One combination's rows, run i finishing at times[i] (or stalled, or at the limit).
std::vector<TSweepRow> Rows(const std::vector<std::int64_t>& times)
{
    std::vector<TSweepRow> rows;
    for (std::size_t run = 0; run < times.size(); ++run) {
        const std::int64_t t = times[run];
        TSweepRow& row = rows.emplace_back();
        row.run = run;
        row.end = t == Stalled ? TMoveOutcome::Stalled : t == AtLimit ? TMoveOutcome::Running : TMoveOutcome::Finished;
        row.steps = t == AtLimit ? Limit : t == Stalled ? 500 : t;
    }
    return rows;
}

TEST(SeedSequence, EndsAfterTheFirstWholeBatchWhereEveryMedianIsPreciseElseAtTheLastRun)
{
    const std::vector<std::int64_t> tenEqual(10, 1000);
    const struct { const char* what; std::vector<std::int64_t> times; std::size_t planRuns; std::int64_t within; std::size_t due; } rows[] = {
        {"equal times are precise at once", tenEqual, 30, 1, 10},
        {"an interval within the bound either way", Spread(), 30, 350, 10},
        {"an interval a step too wide: the next batch is due", Spread(), 30, 349, 20},
        {"a stalled run ranked last, outside the interval", Join(std::vector<std::int64_t>(9, 1000), {Stalled}), 30, 1, 10},
        {"two stalled runs: the interval reaches never", Join(std::vector<std::int64_t>(8, 1000), {Stalled, Stalled}), 30, 1000, 20},
        {"two runs at the limit: the interval reaches beyond it", Join(std::vector<std::int64_t>(8, 1000), {AtLimit, AtLimit}), 30, 1000, 20},
        {"a second batch narrows the interval", Join(Spread(), std::vector<std::int64_t>(10, 1450)), 30, 349, 20},
        {"a batch not whole is due whole", Join(Spread(), {1450, 1450}), 30, 349, 20},
        {"never precise: the plan's last run", Join(Spread(), Spread()), 20, 0, 20},
        {"the last batch may be smaller", Join(Spread(), Spread()), 25, 0, 25},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SequenceRunsDue({row.planRuns, 10, row.within}, Rows(row.times)), row.due) << row.what;
}

TEST(SeedSequence, NamesTheCombinationsStillImpreciseWithTheirIntervals)
{
    TSeedSequence sequence({40, 20, 325});
    for (const std::int64_t t : std::vector<std::int64_t>(10, 1000))
        sequence.Add({"6"}, TMoveOutcome::Finished, t);
    for (const std::int64_t t : Spread())
        sequence.Add({"8"}, TMoveOutcome::Finished, t);
    sequence.CloseBatch();
    EXPECT_FALSE(sequence.IsOver());
    EXPECT_EQ(sequence.Due(), std::make_pair(std::size_t{20}, std::size_t{40}));
    ASSERT_EQ(sequence.GetImprecise().size(), 1u);
    const TImpreciseMedian& short8 = sequence.GetImprecise()[0];
    EXPECT_EQ(short8.values, std::vector<std::string>{"8"});
    EXPECT_EQ(std::tie(short8.runs, short8.median->steps, short8.lower->steps, short8.upper->steps),
              std::make_tuple(10u, 1450, 1100, 1800));
}

// From the rows alone, the report misses no run beyond where the sweep ended,
// and every run of the batch due where it has not.
TEST(SeedSequence, TheReportCallsMissingOnlyTheRunsTheSweepStillNeeds)
{
    const auto csv = [](const char* within, const std::vector<std::int64_t>& times, std::size_t skipped) {
        std::string text = "run,seed,finished,outcome,steps,max_steps,plan_runs,median_within,batch_runs\n";
        for (std::size_t run = 0; run < times.size(); ++run)
            if (run != skipped)
                text += std::to_string(run) + "," + std::to_string(run + 1) + ",1,finished," + std::to_string(times[run])
                    + ",5000,30," + within + ",10\n";
        return text;
    };
    // Said against the runs the rule asked for, not against the most seeds' 30.
    const struct { const char* what; std::string text; std::vector<std::size_t> missing; const char* said; } rows[] = {
        {"ended by its rule after one batch", csv("0:00:14", Spread(), 99), {}, "0 of 10 runs missing:"},
        {"cut within its second batch", csv("0:00:13", Join(Spread(), {1450, 1450}), 11), {11, 12, 13, 14, 15, 16, 17, 18, 19},
         "9 of 20 runs missing: 11, 12, 13, 14, 15, 16, 17, 18, 19"},
        {"cut where the second batch was due", csv("0:00:13", Spread(), 99), {10, 11, 12, 13, 14, 15, 16, 17, 18, 19},
         "10 of 20 runs missing: 10, 11, 12, 13, 14, 15, 16, 17, 18, 19"},
    };
    for (const auto& row : rows) {
        std::istringstream in(row.text);
        const TSweepTable table = ReadSweepCsv(in, "s.csv");
        EXPECT_EQ(table.missing, row.missing) << row.what;
        EXPECT_EQ(DescribeMissing(table.missing, table.dueRuns), row.said) << row.what;
    }
}

} // namespace
