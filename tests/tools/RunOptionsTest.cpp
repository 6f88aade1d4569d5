#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

TRunOptionsParse Parse(const std::string& args)
{
    std::istringstream words(args);
    return ParseRunOptions({std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()});
}

} // namespace

// Each row is refused with one line that starts by naming the problem; the
// program adds the usage (zemba-run-checks.sh).
TEST(RunOptions, RefusesWhatItCannotUseWithOneLine)
{
    const std::pair<std::string, std::string> rows[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"--summary steps 10", "unknown option 'steps'"},
        {"--steps", "--steps needs a value"},
        {"--sweep s.json", "--sweep needs --csv PATH|-"},
        {"--sweep s.json --csv - --jobs 0", "--jobs needs a whole number from 1 to 4096, not '0'"},
        {"--plot w.png --plot-steps 9:3", "--plot-steps needs A:B with A up to B"},
        {"--plot-steps 0:5", "--plot-steps needs --plot PATH.png"},
        {"--steps 9223372036854775808", "--steps needs a whole number"},
        {"--persons 1000001", "--persons needs a whole number"},
        {"--stock 2147483648", "--stock needs a whole number"},
    };
    for (const auto& [args, message] : rows) {
        const std::string error = Parse(args).error;
        EXPECT_EQ(error.rfind(message, 0), 0u) << args << " gave: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << args;
    }
    for (const std::vector<std::string>& empty : {std::vector<std::string>{"--trace", ""}, {"--plot", ""}, {"--stock", ""}})
        EXPECT_NE(ParseRunOptions(empty).error, "") << empty[0] << " with an empty value";
}
