#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

TEST(RunOptions, TakesEveryOptionWithItsValue)
{
    const TRunOptionsParse parse = ParseRunOptions({"--steps", "2000", "--trace", "-", "--every", "10", "--summary",
                                                    "--check", "--persons", "22", "--stock", "40", "--plot", "m.png",
                                                    "--report"});
    ASSERT_EQ(parse.error, "");
    const TRunOptions& o = parse.options;
    EXPECT_EQ(o.steps, 2000);
    EXPECT_EQ(o.tracePath, "-");
    EXPECT_EQ(o.every, 10);
    EXPECT_TRUE(o.summary && o.check && o.report);
    EXPECT_EQ(o.persons, 22);
    EXPECT_EQ(o.stock, 40);
    EXPECT_EQ(o.plotPath, "m.png");
    EXPECT_TRUE(ParseRunOptions({"-h"}).options.help);
    EXPECT_EQ(ParseRunOptions({"--steps", "9223372036854775807"}).options.steps, std::numeric_limits<std::int64_t>::max());
}

// Each row is refused with one line that starts by naming the problem; the
// program adds the usage (tests/tools/zemba-run-checks.sh).
TEST(RunOptions, RefusesWhatItCannotUseWithOneLine)
{
    struct TRow
    {
        TArgs args;
        const char* error;
    };
    const TRow rows[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"steps", "10"}, "unknown option 'steps'"},
        {{"--summary", "--steps", "5", "--nope"}, "unknown option '--nope'"},
        {{"--steps"}, "--steps needs a value"},
        {{"--every"}, "--every needs a value"},
        {{"--stock"}, "--stock needs a value"},
        {{"--trace"}, "--trace needs a path"},
        {{"--trace", ""}, "--trace needs a path"},
        {{"--plot", ""}, "--plot needs the path of a PNG file"},
    };
    for (const TRow& row : rows) {
        const std::string error = ParseRunOptions(row.args).error;
        EXPECT_EQ(error.rfind(row.error, 0), 0u) << row.args[0] << " gave: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << row.args[0];
    }
}

// Whole numbers only, in range: each value is refused by every numeric option
// that cannot take it.
TEST(RunOptions, RefusesNumbersThatAreNotWholeOrOutOfRange)
{
    struct TRow
    {
        const char* value;
        std::vector<const char*> options;
    };
    const TRow rows[] = {
        {"0", {"--steps", "--every", "--persons", "--stock"}},
        {"-5", {"--steps", "--every", "--persons", "--stock"}},
        {"+5", {"--steps"}},
        {"", {"--steps", "--stock"}},
        {"12x", {"--steps", "--stock"}},
        {"1.5", {"--steps", "--persons"}},
        {"abc", {"--steps", "--stock"}},
        {"9223372036854775808", {"--steps"}},
        {"1000001", {"--persons"}},
        {"2147483648", {"--stock"}},
    };
    for (const TRow& row : rows)
        for (const std::string option : row.options) {
            const std::string error = ParseRunOptions({option, row.value}).error;
            EXPECT_EQ(error.rfind(option + " needs a whole number", 0), 0u) << option << " " << row.value << ": " << error;
        }
    const std::string usage = RunUsage();
    EXPECT_EQ(usage.rfind("usage: zemba-run", 0), 0u);
    for (const char* option : {"--steps", "--trace", "--every", "--summary", "--check", "--persons", "--stock", "--plot",
                               "--report", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}
