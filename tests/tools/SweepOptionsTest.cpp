#include "analysis/MoveRecord.h"
#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(SweepOptions, TakesTheSweepTheShardTheJobsAndAWindowToDraw)
{
    const TRunOptionsParse sweep = ParseRunOptions({"--sweep", "s.json", "--csv", "-", "--jobs", "2", "--shard", "2/3"});
    ASSERT_EQ(sweep.error, "");
    EXPECT_EQ(sweep.options.sweepPath, "s.json");
    EXPECT_EQ(sweep.options.csvPath, "-");
    EXPECT_EQ(sweep.options.jobs, 2);
    EXPECT_EQ(sweep.options.shard, 2);
    EXPECT_EQ(sweep.options.shardCount, 3);

    const TRunOptionsParse window = ParseRunOptions({"--plot", "w.png", "--plot-steps", "0:1500"});
    ASSERT_EQ(window.error, "");
    EXPECT_EQ(window.options.plotSteps, std::make_pair(std::int64_t{0}, std::int64_t{1500}));
}

TEST(SweepOptions, RefusesWhatItCannotUseWithOneLine)
{
    const struct
    {
        std::vector<std::string> args;
        const char* error;
    } rows[] = {
        {{"--sweep", "s.json"}, "--sweep needs --csv PATH|-"},
        {{"--sweep", "s.json", "--csv", "-", "--shard", "0/3"}, "--shard needs K/N with K from 1 to N"},
        {{"--sweep", "s.json", "--csv", "-", "--shard", "4/3"}, "--shard needs K/N with K from 1 to N"},
        {{"--sweep", "s.json", "--csv", "-", "--shard", "3"}, "--shard needs K/N with K from 1 to N"},
        {{"--sweep", "s.json", "--csv", "-", "--jobs", "0"}, "--jobs needs a whole number from 1 to 4096, not '0'"},
        {{"--plot", "w.png", "--plot-steps", "9:3"}, "--plot-steps needs A:B with A up to B"},
        {{"--plot-steps", "0:5"}, "--plot-steps needs --plot PATH.png"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseRunOptions(row.args).error, row.error) << row.args.back();
}

TEST(SweepOptions, AWindowIsRecordedFromItsFirstStepToItsLast)
{
    TRunOptions options;
    options.plotPath = "window.png";
    options.plotSteps = std::make_pair(std::int64_t{200}, std::int64_t{500});
    std::int64_t first = -1;
    std::int64_t steps = -1;
    const TPlotWriter measuring = [&](const TMoveRecord& record, const std::string&, std::string&) {
        first = record.GetLayout().firstStep;
        steps = record.GetStepCount();
        return true;
    };
    std::ostringstream out, err;
    EXPECT_EQ(RunHeadless(options, out, err, measuring), 0) << err.str();
    EXPECT_EQ(first, 200);
    EXPECT_EQ(steps, 300);

    options.steps = 100;
    EXPECT_EQ(RunHeadless(options, out, err, measuring), 1);
    EXPECT_EQ(err.str(), "zemba-run: the run ended after step 100, before the window to draw begins\n");
}

} // namespace
