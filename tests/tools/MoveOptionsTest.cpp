#include "tools/HeadlessRun.h"
#include "analysis/MoveRecord.h"
#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// A run in a thread of its own, which starts the persons' random draws afresh.
std::string RunInFreshThread(const TRunOptions& options, const TPlotWriter& plotWriter = {})
{
    std::ostringstream out;
    std::ostringstream err;
    int status = -1;
    std::thread([&] { status = RunHeadless(options, out, err, plotWriter); }).join();
    EXPECT_EQ(status, 0) << err.str();
    return out.str();
}

// The text with the second field of every line dropped: two runs in one
// process make their objects under different ids.
std::string WithoutIds(const std::string& text)
{
    std::istringstream in(text);
    std::string result;
    for (std::string line; std::getline(in, line);) {
        const std::size_t first = line.find(',');
        const std::size_t second = first == std::string::npos ? first : line.find(',', first + 1);
        result += (second == std::string::npos ? line : line.substr(0, first) + line.substr(second)) + '\n';
    }
    return result;
}

} // namespace

TEST(MoveOptions, StockPlotAndReportAreTaken)
{
    const TRunOptionsParse parse = ParseRunOptions({"--stock", "40", "--plot", "move.png", "--report"});
    ASSERT_EQ(parse.error, "");
    EXPECT_EQ(parse.options.stock, 40);
    EXPECT_EQ(parse.options.plotPath, "move.png");
    EXPECT_TRUE(parse.options.report);

    const TRunOptionsParse plain = ParseRunOptions({});
    EXPECT_EQ(plain.options.stock, 0);
    EXPECT_EQ(plain.options.plotPath, "");
    EXPECT_FALSE(plain.options.report);
}

TEST(MoveOptions, BadStocksAndPlotPathsAreRefusedWithOneLine)
{
    const struct
    {
        std::vector<std::string> args;
        const char* error;
    } rows[] = {
        {{"--stock", "0"}, "--stock needs a whole number from 1 to 2147483647, not '0'"},
        {{"--stock", "-5"}, "--stock needs a whole number"},
        {{"--stock", "12x"}, "--stock needs a whole number"},
        {{"--stock", "2147483648"}, "--stock needs a whole number"},
        {{"--stock"}, "--stock needs a value"},
        {{"--plot"}, "--plot needs the path of a PNG file"},
        {{"--plot", ""}, "--plot needs the path of a PNG file"},
    };
    for (const auto& row : rows) {
        const std::string error = ParseRunOptions(row.args).error;
        EXPECT_EQ(error.rfind(row.error, 0), 0u) << row.args[0] << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    const std::string usage = RunUsage();
    for (const char* option : {"--stock", "--plot", "--report"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(MoveOptions, APlotWithoutAPainterIsRefusedBeforeAnythingRuns)
{
    const std::filesystem::path trace = std::filesystem::temp_directory_path() / "zemba-move-options-trace.csv";
    std::filesystem::remove(trace);
    TRunOptions options;
    options.plotPath = "never.png";
    options.tracePath = trace.string();
    options.report = true;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunHeadless(options, out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "zemba-run: --plot is not available: this zemba-run was built without Qt\n");
    EXPECT_FALSE(std::filesystem::exists(trace));
}

TEST(MoveOptions, ASmallStockIsMovedAndTheReportAgreesWithTheSummary)
{
    TRunOptions options;
    options.stock = 5;
    options.summary = true;
    options.report = true;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunHeadless(options, out, err), 0) << err.str();
    const std::string text = out.str();
    // steps=N stock=0 ... delivered=5 ...
    const std::size_t at = text.find("steps=");
    ASSERT_EQ(at, 0u) << text;
    const std::string steps = text.substr(6, text.find(' ') - 6);
    EXPECT_NE(text.find("delivered=5 "), std::string::npos) << text;
    EXPECT_NE(text.find("the last of 5 loads was delivered in step " + steps + ","), std::string::npos) << text;
}

TEST(MoveOptions, RecordingAndDrawingLeaveTheTraceAsItIs)
{
    TRunOptions options;
    options.steps = 3000;
    options.every = 10;
    options.tracePath = "-";
    const std::string plain = WithoutIds(RunInFreshThread(options));

    options.report = true;
    options.plotPath = "unused.png";
    std::int64_t recordedSteps = -1;
    const TPlotWriter counting = [&](const TMoveRecord& record, const std::string&, std::string&) {
        recordedSteps = record.GetStepCount();
        return true;
    };
    const std::string watched = WithoutIds(RunInFreshThread(options, counting));
    EXPECT_EQ(recordedSteps, 3000);
    // The report follows the trace, which is the same byte for byte.
    ASSERT_GT(plain.size(), 0u);
    EXPECT_EQ(watched.substr(0, plain.size()), plain);
    EXPECT_EQ(watched.find("The move\n"), plain.size());
}

TEST(MoveOptions, AFailedPictureFailsTheRun)
{
    TRunOptions options;
    options.steps = 10;
    options.plotPath = "/nonexistent-directory/move.png";
    const TPlotWriter failing = [](const TMoveRecord&, const std::string& path, std::string& error) {
        error = "cannot write the picture to '" + path + "'";
        return false;
    };
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunHeadless(options, out, err, failing), 1);
    EXPECT_EQ(err.str(), "zemba-run: cannot write the picture to '/nonexistent-directory/move.png'\n");
}
