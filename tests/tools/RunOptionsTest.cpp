#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

TEST(RunOptions, WithoutArgumentsRunsTheWholeMoveQuietly)
{
    const TRunOptionsParse parse = ParseRunOptions({});
    EXPECT_EQ(parse.error, "");
    EXPECT_FALSE(parse.options.steps.has_value());
    EXPECT_EQ(parse.options.tracePath, "");
    EXPECT_EQ(parse.options.every, 1);
    EXPECT_EQ(parse.options.persons, 11);
    EXPECT_FALSE(parse.options.summary || parse.options.check || parse.options.help);
}

TEST(RunOptions, TakesEveryOptionWithItsValue)
{
    const TRunOptionsParse parse = ParseRunOptions(
        {"--steps", "2000", "--trace", "out.csv", "--every", "10", "--summary", "--check", "--persons", "22"});
    ASSERT_EQ(parse.error, "");
    EXPECT_EQ(parse.options.steps, 2000);
    EXPECT_EQ(parse.options.tracePath, "out.csv");
    EXPECT_EQ(parse.options.every, 10);
    EXPECT_TRUE(parse.options.summary);
    EXPECT_TRUE(parse.options.check);
    EXPECT_EQ(parse.options.persons, 22);

    EXPECT_EQ(ParseRunOptions({"--trace", "-"}).options.tracePath, "-");
    EXPECT_TRUE(ParseRunOptions({"--help"}).options.help);
    EXPECT_TRUE(ParseRunOptions({"-h"}).options.help);
    EXPECT_EQ(ParseRunOptions({"--steps", "9223372036854775807"}).options.steps, std::numeric_limits<std::int64_t>::max());
}

// Each row is refused with one line that names the problem.
TEST(RunOptions, RefusesWhatItCannotUse)
{
    struct TRow
    {
        TArgs args;
        const char* error;
    };
    const TRow rows[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"steps", "10"}, "unknown option 'steps'"},
        {{"--steps"}, "--steps needs a value"},
        {{"--steps", "abc"}, "--steps needs a whole number"},
        {{"--steps", "12x"}, "--steps needs a whole number"},
        {{"--steps", ""}, "--steps needs a whole number"},
        {{"--steps", "-5"}, "--steps needs a whole number"},
        {{"--steps", "+5"}, "--steps needs a whole number"},
        {{"--steps", "0"}, "--steps needs a whole number"},
        {{"--steps", "1.5"}, "--steps needs a whole number"},
        {{"--steps", "9223372036854775808"}, "--steps needs a whole number"},
        {{"--every", "0"}, "--every needs a whole number"},
        {{"--every"}, "--every needs a value"},
        {{"--persons", "0"}, "--persons needs a whole number from 1 to 1000000"},
        {{"--persons", "1000001"}, "--persons needs a whole number"},
        {{"--trace"}, "--trace needs a path"},
        {{"--trace", ""}, "--trace needs a path"},
        {{"--summary", "--steps", "5", "--nope"}, "unknown option '--nope'"},
    };
    for (const TRow& row : rows) {
        const std::string error = ParseRunOptions(row.args).error;
        std::string shown;
        for (const std::string& a : row.args)
            shown += "[" + a + "] ";
        EXPECT_EQ(error.rfind(row.error, 0), 0u) << shown << "gave: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << shown;
    }
}

TEST(RunOptions, UsageNamesEveryOption)
{
    const std::string usage = RunUsage();
    EXPECT_EQ(usage.rfind("usage: zemba-run", 0), 0u);
    for (const char* option : {"--steps", "--trace", "--every", "--summary", "--check", "--persons", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}
