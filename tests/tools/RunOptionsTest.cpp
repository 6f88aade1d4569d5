#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

TEST(RunOptions, TakesEveryOptionWithItsValue)
{
    const TRunOptionsParse parse = ParseRunOptions({"--steps", "2000", "--trace", "-", "--every", "10", "--summary",
                                                    "--check", "--persons", "22", "--stock", "40", "--plot", "m.png",
                                                    "--report", "--plot-steps", "0:1500"});
    ASSERT_EQ(parse.error, "");
    const TRunOptions& o = parse.options;
    EXPECT_EQ(o.steps, 2000);
    EXPECT_EQ(o.tracePath, "-");
    EXPECT_EQ(o.every, 10);
    EXPECT_TRUE(o.summary && o.check && o.report);
    EXPECT_EQ(o.persons, 22);
    EXPECT_EQ(o.stock, 40);
    EXPECT_EQ(o.plotPath, "m.png");
    EXPECT_EQ(o.plotSteps, std::make_pair(std::int64_t{0}, std::int64_t{1500}));
    EXPECT_TRUE(ParseRunOptions({"-h"}).options.help);
    EXPECT_EQ(ParseRunOptions({"--steps", "9223372036854775807"}).options.steps, std::numeric_limits<std::int64_t>::max());

    const TRunOptions sweep = ParseRunOptions({"--sweep", "s.json", "--csv", "-", "--jobs", "2", "--shard", "2/3"}).options;
    EXPECT_EQ(sweep.sweepPath, "s.json");
    EXPECT_EQ(sweep.csvPath, "-");
    EXPECT_EQ(sweep.jobs, 2);
    EXPECT_EQ(sweep.shard, 2);
    EXPECT_EQ(sweep.shardCount, 3);
}

// Each row is refused with one line that starts by naming the problem; the
// program adds the usage (zemba-run-checks.sh).
TEST(RunOptions, RefusesWhatItCannotUseWithOneLine)
{
    const std::string sweep = "--sweep s.json --csv - ";
    const std::pair<std::string, std::string> rows[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"steps 10", "unknown option 'steps'"},
        {"--summary --steps 5 --nope", "unknown option '--nope'"},
        {"--steps", "--steps needs a value"},
        {"--every", "--every needs a value"},
        {"--trace", "--trace needs a path"},
        {"--sweep s.json", "--sweep needs --csv PATH|-"},
        {sweep + "--shard 0/3", "--shard needs K/N with K from 1 to N"},
        {sweep + "--shard 4/3", "--shard needs K/N with K from 1 to N"},
        {sweep + "--shard 3", "--shard needs K/N with K from 1 to N"},
        {sweep + "--jobs 0", "--jobs needs a whole number from 1 to 4096, not '0'"},
        {"--plot w.png --plot-steps 9:3", "--plot-steps needs A:B with A up to B"},
        {"--plot-steps 0:5", "--plot-steps needs --plot PATH.png"},
        // Whole numbers only, in range.
        {"--steps 0", "--steps needs a whole number"},
        {"--every -5", "--every needs a whole number"},
        {"--steps 12x", "--steps needs a whole number"},
        {"--persons 1.5", "--persons needs a whole number"},
        {"--stock abc", "--stock needs a whole number"},
        {"--steps 9223372036854775808", "--steps needs a whole number"},
        {"--persons 1000001", "--persons needs a whole number"},
        {"--stock 2147483648", "--stock needs a whole number"},
    };
    for (const auto& [args, message] : rows) {
        std::vector<std::string> split;
        for (std::size_t at = 0; at < args.size();) {
            const std::size_t end = std::min(args.find(' ', at), args.size());
            split.push_back(args.substr(at, end - at));
            at = end + 1;
        }
        const std::string error = ParseRunOptions(split).error;
        EXPECT_EQ(error.rfind(message, 0), 0u) << args << " gave: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << args;
    }
    for (const std::vector<std::string>& empty : {std::vector<std::string>{"--trace", ""}, {"--plot", ""}, {"--stock", ""}})
        EXPECT_NE(ParseRunOptions(empty).error, "") << empty[0] << " with an empty value";
}
