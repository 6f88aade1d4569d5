#include "analysis/MoveRecord.h"
#include "model/clsBucketChain.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"
#include "tools/TraceWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TRun
{
    int status = -1;
    std::string out;
    std::string err;
};

TRun RunTool(const TRunOptions& options, const TPlotWriter& plotWriter = {})
{
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.status = RunHeadless(options, out, err, plotWriter);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TRunOptions Traced(std::int64_t steps, std::int64_t every = 1)
{
    TRunOptions options;
    options.steps = steps;
    options.every = every;
    options.tracePath = "-";
    return options;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The trace of a scenario built and stepped here, as zemba-run writes it.
std::string TraceOf(const TScenarioDescription& description, std::int64_t steps)
{
    TZOManager objects;
    const TScenario scenario(objects, description);
    std::ostringstream out;
    TTraceWriter trace(out);
    trace.WriteHeader();
    trace.WriteStep(0, *scenario.GetChain());
    for (std::int64_t step = 1; step <= steps; ++step) {
        scenario.GetChain()->Step();
        trace.WriteStep(step, *scenario.GetChain());
    }
    return out.str();
}

constexpr std::int64_t DeterminismSteps = 3000;

} // namespace

TEST(HeadlessRun, TracesEveryHandlerInChainOrderForEveryKthStepAndTheLast)
{
    const TRun run = RunTool(Traced(5, 2));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 4 * 13) << "the header, then steps 0, 2, 4 and 5";
    EXPECT_EQ(lines[0],
              "step,id,position,loads,fitness,break,state,counter,home,home_start,home_end,home_steps,home_corrections");
    const std::regex person("[0-9]+,([0-9]+),-?[0-9.e-]+,[01],[0-9.e-]+,[01],[134],[0-9]+,[01],.*");
    const std::string steps[] = {"0,", "2,", "4,", "5,"};
    for (std::size_t row = 1; row < lines.size(); ++row) {
        const std::size_t handler = (row - 1) % 13;
        EXPECT_EQ(lines[row].rfind(steps[(row - 1) / 13], 0), 0u) << lines[row];
        if (handler == 0)
            EXPECT_TRUE(std::regex_match(lines[row], std::regex("[0-9]+,2,0,[0-9]+,,,,,,,,,"))) << lines[row];
        else if (handler == 12)
            EXPECT_TRUE(std::regex_match(lines[row], std::regex("[0-9]+,27,1\\.75,0,,,,,,,,,"))) << lines[row];
        else
            EXPECT_TRUE(std::regex_match(lines[row], person)) << lines[row];
    }
}

TEST(HeadlessRun, SummaryAndReportAccountForEveryLoadOfASmallStock)
{
    TRunOptions options;
    options.stock = 5;
    options.summary = true;
    options.check = true;
    options.report = true;
    const TRun run = RunTool(options);
    ASSERT_EQ(run.status, 0) << run.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(run.out, m,
                                  std::regex("^steps=([0-9]+) stock=0 in_hands=0 delivered=5 on_break=[0-9]+ "
                                             "in_home=[0-9]+\n")))
        << run.out;
    EXPECT_NE(run.out.find("the last of 5 loads was delivered in step " + m[1].str() + ","), std::string::npos)
        << run.out;
}

// Refused before anything runs, or failed after: never a silent success.
TEST(HeadlessRun, APlotOrTraceThatCannotBeWrittenFailsTheRun)
{
    const std::filesystem::path trace = std::filesystem::temp_directory_path() / "zemba-headless-trace.csv";
    std::filesystem::remove(trace);
    TRunOptions noPainter;
    noPainter.plotPath = "never.png";
    noPainter.tracePath = trace.string();
    const TRun refused = RunTool(noPainter);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "zemba-run: --plot is not available: this zemba-run was built without Qt\n");
    EXPECT_FALSE(std::filesystem::exists(trace));

    TRunOptions badTrace = Traced(5);
    badTrace.tracePath = "/nonexistent-directory/trace.csv";
    EXPECT_EQ(RunTool(badTrace).status, 1);

    TRunOptions badPlot;
    badPlot.steps = 10;
    badPlot.plotPath = "/nonexistent-directory/move.png";
    const TPlotWriter failing = [](const TMoveRecord&, const std::string& path, std::string& error) {
        error = "cannot write the picture to '" + path + "'";
        return false;
    };
    const TRun failed = RunTool(badPlot, failing);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "zemba-run: cannot write the picture to '/nonexistent-directory/move.png'\n");
}

TEST(HeadlessRun, RecordingAndDrawingLeaveTheTraceAsItIs)
{
    TRunOptions options = Traced(DeterminismSteps, 10);
    const std::string plain = RunTool(options).out;
    options.report = true;
    options.plotPath = "unused.png";
    std::int64_t recordedSteps = -1;
    const TPlotWriter counting = [&](const TMoveRecord& record, const std::string&, std::string&) {
        recordedSteps = record.GetStepCount();
        return true;
    };
    const std::string watched = RunTool(options, counting).out;
    EXPECT_EQ(recordedSteps, DeterminismSteps);
    ASSERT_GT(plain.size(), 0u);
    EXPECT_EQ(watched.substr(0, plain.size()), plain);
    EXPECT_EQ(watched.find("The move\n"), plain.size()) << "the report follows the trace";
}

// Ids, names and draws belong to the scenario: scenarios built and stepped at
// once on two threads each give the trace of a scenario alone, which is the
// trace zemba-run writes in a process of its own.
TEST(Determinism, ScenariosSteppedSideBySideOnTwoThreadsEachGiveTheTraceOfAFreshProcess)
{
    const std::string alone = TraceOf(BuiltInMove(), DeterminismSteps);
    EXPECT_EQ(alone, RunTool(Traced(DeterminismSteps)).out);
    std::string traces[2];
    std::thread first([&] { traces[0] = TraceOf(BuiltInMove(), DeterminismSteps); });
    std::thread second([&] { traces[1] = TraceOf(BuiltInMove(), DeterminismSteps); });
    first.join();
    second.join();
    EXPECT_TRUE(traces[0] == alone) << "the first thread's trace differs";
    EXPECT_TRUE(traces[1] == alone) << "the second thread's trace differs";
}

TEST(Determinism, AnotherSeedGivesAnotherTraceThatReproduces)
{
    TScenarioDescription reseeded = BuiltInMove();
    reseeded.seed = 12345;
    const std::string trace = TraceOf(reseeded, DeterminismSteps);
    EXPECT_FALSE(trace == TraceOf(BuiltInMove(), DeterminismSteps));
    EXPECT_TRUE(trace == TraceOf(reseeded, DeterminismSteps));
}
