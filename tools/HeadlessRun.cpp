#include "tools/HeadlessRun.h"

#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "analysis/TraceWriter.h"
#include "analysis/OutputFile.h"
#include "analysis/SweepMove.h"
#include "analysis/SweepPlan.h"
#include "model/clsBucketChain.h"
#include "model/clsChainChecker.h"
#include "model/clsChainState.h"
#include "model/clsLoadHandler.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsClockTime.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"

#include <memory>
#include <optional>
#include <ostream>

namespace {

// Writes the scenario as a file, after reading the text back by the reader's
// rules: a file that --scenario would refuse is never written.
int WriteScenarioFile(const TScenarioDescription& description, const std::string& path, std::ostream& out,
                      std::ostream& err)
{
    const std::string text = WriteScenario(description);
    try {
        ParseScenario(text, path == "-" ? "standard output" : path);
    } catch (const TScenarioFileError& e) {
        err << "zemba-run: " << e.what() << '\n';
        return 2;
    }
    TOutputFile file(path, TOutputFile::TWrite::Whole, out);
    if (!file.Write(text) || !file.Commit()) {
        err << "zemba-run: " << file.Error() << '\n';
        return 1;
    }
    return 0;
}

// With a start, the clock time the run ended at as well.
void WriteSummary(std::int64_t step, const TBucketChain& chain, std::int32_t startSecond, std::ostream& out)
{
    std::int64_t onBreak = 0;
    std::int64_t inHome = 0;
    TChainState state;
    state.ReadFigures(chain, [&](const THandlerState& h) {
        onBreak += h.onBreak ? 1 : 0;
        inHome += h.inHomeArea ? 1 : 0;
    });
    out << "steps=" << step << " stock=" << state.stock << " in_hands=" << state.inHands
        << " delivered=" << state.delivered << " on_break=" << onBreak << " in_home=" << inHome;
    if (startSecond >= 0)
        out << " clock=" << ClockTimeAfter(startSecond, step / StepsPerSecond);
    out << '\n';
}

// 52117 as "52,117": step numbers a person reads.
std::string GroupedDigits(std::int64_t n)
{
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && digits[i - 1] != '-' && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace

TScenarioDescription ChosenScenario(const TRunOptions& options, const TSweepPlan* plan)
{
    if (plan)
        return plan->ScenarioOf(*options.sweepRun);

    TScenarioDescription description = options.scenarioPath.empty()
                                           ? BuiltInMove(options.persons.value_or(11))
                                           : ReadScenarioFile(options.scenarioPath);
    if (options.stock)
        description.stock = *options.stock;
    if (options.seed)
        description.seed = *options.seed;
    return description;
}

int RunHeadless(const TRunOptions& options, std::ostream& out, std::ostream& err, const TPlotWriter& plotWriter)
{
    if (!options.plotPath.empty() && !plotWriter) {
        err << "zemba-run: --plot is not available: this zemba-run was built without Qt\n";
        return 2;
    }
    std::optional<TSweepPlan> plan;
    TScenarioDescription description;
    try {
        if (options.sweepRun) {
            plan = ReadSweepFile(options.sweepPath);
            if (*options.sweepRun >= plan->RunCount()) {
                err << "zemba-run: --run " << *options.sweepRun << " is not one of the " << plan->RunCount()
                    << " runs of " << options.sweepPath << " (0 to " << plan->RunCount() - 1 << ")\n";
                return 2;
            }
        }
        description = ChosenScenario(options, plan ? &*plan : nullptr);
    } catch (const TScenarioFileError& e) {
        err << "zemba-run: " << e.what() << '\n';
        return 2;
    }
    if (!options.writeScenarioPath.empty())
        return WriteScenarioFile(description, options.writeScenarioPath, out, err);

    TZOManager objects;
    TScenario scenario(objects, description);
    TBucketChain& chain = *scenario.GetChain();
    const TChainChecker checker(chain, *scenario.GetSource(), *scenario.GetSink(), scenario.GetInitialStock());

    std::unique_ptr<TOutputFile> traceFile;
    if (!options.tracePath.empty()) {
        traceFile = std::make_unique<TOutputFile>(options.tracePath, TOutputFile::TWrite::Whole, out);
        if (!traceFile->Good()) {
            err << "zemba-run: " << traceFile->Error() << '\n';
            return 1;
        }
    }
    std::unique_ptr<TTraceWriter> trace;
    if (traceFile) {
        trace = std::make_unique<TTraceWriter>(traceFile->Stream());
        trace->WriteHeader();
        trace->WriteStep(0, chain);
    }

    // Only runs that report or draw pay for watching every step; a window of
    // the run is watched from its first step to its last, for its picture.
    const auto watch = [&](std::int64_t from) {
        return std::make_unique<TMoveRecorder>(scenario, from);
    };
    const std::optional<std::pair<std::int64_t, std::int64_t>>& window = options.plotSteps;
    std::unique_ptr<TMoveRecorder> recorder;
    if (options.report || (!options.plotPath.empty() && !window))
        recorder = watch(0);
    std::unique_ptr<TMoveRecorder> windowRecorder;
    if (window && window->first == 0)
        windowRecorder = watch(0);

    // A run of a sweep says what its row says, so that it can be laid beside it.
    std::unique_ptr<TSweepRowWatcher> row;
    if (plan)
        row = std::make_unique<TSweepRowWatcher>(scenario);

    TMoveLoop& loop = scenario.GetLoop();
    const std::int64_t limit = options.steps.value_or(plan ? plan->maxSteps : options.maxSteps);
    int status = 0;
    const auto afterStep = [&] {
        const std::int64_t step = loop.GetStep();
        if (recorder)
            recorder->Observe();
        if (row)
            row->Observe();
        if (windowRecorder && step <= window->second)
            windowRecorder->Observe();
        else if (window && step == window->first)
            windowRecorder = watch(step);
        const bool last = step == limit || (!options.steps && loop.IsOver());
        if (trace && (step % options.every == 0 || last))
            trace->WriteStep(step, chain);
        if (options.check) {
            if (const std::string fault = checker.Check(); !fault.empty()) {
                err << "zemba-run: after step " << step << ": " << fault << '\n';
                status = 1;
                return false;
            }
        }
        return true;
    };
    // A run asked for a number of steps takes them all, over or not: a trace
    // is what was asked for. Without one, the run ends with the move.
    const TMoveOutcome outcome = options.steps ? loop.RunSteps(limit, afterStep) : loop.RunUntilOver(limit, afterStep);
    const std::int64_t step = loop.GetStep();
    const bool stalled = outcome == TMoveOutcome::Stalled;
    if (status == 0 && stalled) {
        err << "zemba-run: stalled at step " << GroupedDigits(step) << " (" << FormatSimulatedTime(step)
            << "): no load has changed hands since step " << GroupedDigits(loop.GetLastHandoverStep()) << " ("
            << FormatSimulatedTime(loop.GetLastHandoverStep()) << ")\n";
        if (!options.steps)
            status = StatusStalled;
    } else if (status == 0 && !options.steps && outcome != TMoveOutcome::Finished) {
        err << "zemba-run: the move did not finish: " << scenario.GetSink()->GetDeliveredCount() << " of "
            << scenario.GetInitialStock() << " loads delivered after " << step << " steps (--max-steps)\n";
        status = 1;
    }
    // Standard output carries one thing: with a trace or a picture on it, the
    // words go to standard error.
    std::ostream& words = options.StdoutTaken() ? err : out;
    if (options.summary && row && !options.steps)
        words << SweepCsvRow(*plan, *options.sweepRun, row->Outcome(outcome, limit));
    else if (options.summary)
        WriteSummary(step, chain, description.startSecond, words);
    if (options.report) {
        TMoveReport report = SummariseMove(recorder->GetRecord(), stalled ? loop.GetLastHandoverStep() : -1);
        report.startSecond = description.startSecond;
        report.metresPerUnit = description.metresPerUnit;
        WriteMoveReport(report, words);
    }
    if (window && !windowRecorder) {
        err << "zemba-run: the run ended after step " << step << ", before the window to draw begins\n";
        status = 1;
    } else if (!options.plotPath.empty()) {
        const TMoveRecorder& drawn = window ? *windowRecorder : *recorder;
        if (std::string error; !plotWriter(drawn.GetRecord(), options.plotPath, error)) {
            err << "zemba-run: " << error << '\n';
            status = 1;
        }
    }
    if (traceFile && !traceFile->Commit()) {
        err << "zemba-run: " << traceFile->Error() << '\n';
        return 1;
    }
    return status;
}
