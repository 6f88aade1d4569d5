#include "analysis/MoveRecord.h"
#include "analysis/SweepCsv.h"
#include "analysis/TraceWriter.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

namespace {

struct TRun { int status = -1; std::string out, err; };

TRun RunTool(const TRunOptions& options, const TPlotWriter& plotWriter = {})
{
    std::ostringstream out, err;
    const int status = RunHeadless(options, out, err, plotWriter);
    return {status, out.str(), err.str()};
}

// The trace of a scenario built and stepped here, as zemba-run writes it.
std::string TraceOf(const TScenarioDescription& description, std::int64_t steps)
{
    TZOManager objects;
    const TScenario scenario(objects, description);
    std::ostringstream out;
    TTraceWriter trace(out);
    trace.WriteHeader();
    for (std::int64_t step = 0; step <= steps; ++step) {
        if (step > 0)
            scenario.GetChain()->Step();
        trace.WriteStep(step, *scenario.GetChain());
    }
    return out.str();
}

constexpr std::int64_t DeterminismSteps = 3000;

TRunOptions Traced(std::int64_t steps, std::int64_t every = 1)
{
    TRunOptions options;
    options.steps = steps;
    options.every = every;
    options.tracePath = "-";
    return options;
}


// The trace's form is checked through its checksum, the checked summary by
// zemba_run.plot-and-report (zemba-run-checks.sh).
// Refused before anything runs, or failed after: never a silent success.
TEST(HeadlessRun, APlotOrTraceThatCannotBeWrittenFailsTheRun)
{
    const std::filesystem::path trace = std::filesystem::temp_directory_path() / "zemba-headless-trace.csv";
    std::filesystem::remove(trace);
    TRunOptions options = Traced(5);
    options.tracePath = trace.string();
    options.plotPath = "never.png";
    const TRun refused = RunTool(options);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "zemba-run: --plot is not available: this zemba-run was built without Qt\n");
    EXPECT_FALSE(std::filesystem::exists(trace));

    options.plotPath.clear();
    options.tracePath = "/nonexistent-directory/trace.csv";
    EXPECT_EQ(RunTool(options).status, 1);
    options.tracePath.clear();
    options.plotPath = "/nonexistent-directory/move.png";
    const TRun failed = RunTool(options, [](const TMoveRecord&, const std::string& path, std::string& error) {
        error = "cannot write the picture to '" + path + "'";
        return false;
    });
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "zemba-run: cannot write the picture to '/nonexistent-directory/move.png'\n");
}

TEST(HeadlessRun, RecordingAndDrawingLeaveTheTraceAsItIsAndDrawTheAskedWindow)
{
    TRunOptions options = Traced(DeterminismSteps, 10);
    const std::string plain = RunTool(options).out;
    options.report = true;
    options.plotPath = "unused.png";
    std::int64_t first = -1, steps = -1;
    const TPlotWriter measuring = [&](const TMoveRecord& record, const std::string&, std::string&) {
        first = record.GetLayout().firstStep;
        steps = record.GetStepCount();
        return true;
    };
    // With the trace on standard output, the report goes to standard error.
    const TRun watched = RunTool(options, measuring);
    EXPECT_EQ(watched.out, plain);
    EXPECT_EQ(watched.err.rfind("The move\n", 0), 0u);

    options = {};
    options.plotPath = "window.png";
    options.plotSteps = std::make_pair(std::int64_t{200}, std::int64_t{500});
    EXPECT_EQ(RunTool(options, measuring).status, 0);
    EXPECT_EQ(std::make_pair(first, steps), std::make_pair(std::int64_t{200}, std::int64_t{300}));
    options.steps = 100;
    EXPECT_EQ(RunTool(options, measuring).err, "zemba-run: the run ended after step 100, before the window to draw begins\n");
}

// Ids, names and draws belong to the scenario: scenarios stepped at once on two
// threads each give the trace zemba-run writes alone; another seed another trace.
TEST(Determinism, ScenariosSteppedSideBySideOnTwoThreadsEachGiveTheTraceOfAFreshProcess)
{
    const std::string alone = TraceOf(BuiltInMove(), DeterminismSteps);
    EXPECT_EQ(alone, RunTool(Traced(DeterminismSteps)).out);
    TScenarioDescription reseeded = BuiltInMove();
    reseeded.seed = 12345;
    std::string traces[2];
    std::thread first([&] { traces[0] = TraceOf(BuiltInMove(), DeterminismSteps); });
    traces[1] = TraceOf(reseeded, DeterminismSteps);
    first.join();
    EXPECT_TRUE(traces[0] == alone) << "the first thread's trace differs";
    EXPECT_FALSE(traces[1] == alone) << "another seed gave the same trace";
    EXPECT_TRUE(traces[1] == TraceOf(reseeded, DeterminismSteps)) << "the second thread's trace differs";
}

// Runs 164 to 166 of the helpers sweep are 14 helpers with seeds 5 to 7; seed
// 6 stands still. Alone, each gives its row of the sweep's CSV: these figures,
// from a sweep run of them, and the plan's own columns.
TEST(HeadlessRun, ARunOfASweepSaysWhatItsRowSays)
{
    const std::string sweep = ZEMBA_SWEEPS_DIR "/helpers.json";
    const TSweepPlan plan = ReadSweepFile(sweep);
    const struct { std::size_t run; const char* figures; int status; } rows[] = {
        {164, "164,14,5,1,finished,169271,1:52:50,666,5.9018,0.1957,206,", 0},
        {165, "165,14,6,0,stalled,92589,1:01:43,375,6.0752,0.2014,113,", StatusStalled},
        {166, "166,14,7,1,finished,156303,1:44:12,666,6.3914,0.2119,192,", 0},
    };
    for (const auto& row : rows) {
        TRunOptions options;
        options.sweepPath = sweep;
        options.sweepRun = row.run;
        options.summary = true;
        const TRun alone = RunTool(options);
        const std::string expected = SweepCsvRow(plan, row.run, TSweepOutcome{});
        EXPECT_EQ(alone.out, row.figures + expected.substr(expected.find(",2000000,") + 1)) << row.run;
        EXPECT_EQ(alone.status, row.status) << alone.err;
    }
}

} // namespace
