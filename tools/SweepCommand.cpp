#include "tools/SweepCommand.h"

#include "analysis/MoveReport.h"
#include "analysis/OutputFile.h"
#include "analysis/SweepReport.h"
#include "analysis/SweepSequence.h"
#include "analysis/SweepSetup.h"
#include "analysis/SweepSummary.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsScenarioFile.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <thread>

namespace {

// "8 s" under a minute, rounded up so that work left never shows as none; else h:mm:ss.
std::string TimeLeft(double seconds)
{
    if (seconds < 60.0)
        return std::to_string(static_cast<int>(std::ceil(seconds))) + " s";
    return FormatSimulatedTime(static_cast<std::int64_t>(seconds * StepsPerSecond));
}

// Runs done of total, runs per second, time left: on a terminal one line
// rewritten in place, in a log a line of its own every so many seconds.
class TProgressLine
{
public:
    TProgressLine(std::ostream& stream, TSweepProgressStyle how) : err(stream), style(how) {}

    void Show(std::size_t done, std::size_t total)
    {
        const auto now = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(now - start).count();
        if (!style.terminal) {
            if (style.everySeconds <= 0.0 || std::chrono::duration<double>(now - last).count() < style.everySeconds)
                return;
            last = now;
        }
        const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
        const std::string left = rate > 0.0 ? TimeLeft(static_cast<double>(total - done) / rate) : std::string("?");
        char perSecond[32];
        const auto end = std::to_chars(perSecond, perSecond + sizeof perSecond, rate, std::chars_format::fixed, 2).ptr;
        err << (style.terminal ? "\r" : "zemba-run: ") << done << (style.open ? " of at most " : " of ") << total << " runs, "
            << std::string_view(perSecond, end - perSecond) << " runs/s, " << left << " left"
            << (style.terminal ? "   " : "\n") << std::flush;
        shown = style.terminal;
    }

    ~TProgressLine()
    {
        if (shown)
            err << '\n';
    }

private:
    std::ostream& err;
    TSweepProgressStyle style;
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last = start;
    bool shown = false;
};

// A resumed CSV holds every row of its runs now, but rows that a stop wrote
// beyond a run missing then stand before the rows run since: it is written
// anew in plan order, whole, to have the bytes of a sweep that ran through.
// The old file keeps every row until the new one replaces it.
int PutInPlanOrder(const TSweepPlan& plan, const std::vector<std::size_t>& runs, const std::string& path,
                   const TSweepCsvRows& present, const std::vector<std::size_t>& added, std::ostream& err)
{
    std::vector<std::size_t> order;
    for (const TSweepRow& row : present.rows)
        order.push_back(row.run);
    order.insert(order.end(), added.begin(), added.end());
    if (std::is_sorted(order.begin(), order.end()))
        return 0;
    std::string text = SweepCsvHeader(plan);
    try {
        std::ifstream in(path, std::ios::binary);
        TSweepCsvRows all = ReadFinishedRows(plan, runs, in, path);
        std::ranges::sort(all.rows, {}, &TSweepRow::run);
        for (const TSweepRow& row : all.rows)
            text += row.text;
    } catch (const TSweepCsvError& error) {
        err << "zemba-run: cannot put the rows in plan order: " << error.what() << '\n';
        return 1;
    }
    if (std::string error; !WriteWholeFile(path, text, error)) {
        err << "zemba-run: " << error << '\n';
        return 1;
    }
    return 0;
}

// A sequential sweep decides after each batch whether to go on, from every
// run before: no shard could know where its share ends.
bool RefuseShardsOfSequence(const TSweepPlan& plan, const TRunOptions& options, std::ostream& err)
{
    if (!plan.IsSequential() || options.shardCount == 1)
        return false;
    err << "zemba-run: --shard cannot split " << options.sweepPath
        << ": its seeds run in batches until the medians are precise, and whether another batch is due depends on"
           " every run before it; run it whole on one machine\n";
    return true;
}

// A time that a statistic gives: h:mm:ss, "> h:mm:ss" beyond the step limit, "never", or "?" for none.
std::string FinishText(const std::optional<TFinishTime>& time)
{
    return time ? FormatFinishTime(*time) : "?";
}

// Where a sequential sweep ended, in a line; and a line for each combination
// whose median it left imprecise at the most seeds.
void SayWhereSequenceEnded(const TSweepPlan& plan, const TSequenceRun& sequence, std::ostream& err)
{
    const std::size_t seeds = sequence.runs / plan.combinations.size();
    const std::string within = FormatSimulatedTime(plan.medianWithin);
    if (sequence.imprecise.empty()) {
        err << "zemba-run: seeds enough after " << seeds << " of at most " << plan.seeds.size()
            << ": every median's 95 % interval lies within +/- " << within << '\n';
        return;
    }
    for (const TImpreciseMedian& median : sequence.imprecise) {
        std::string values;
        for (std::size_t k = 0; k < plan.pointers.size(); ++k)
            values += (k ? ", " : "") + plan.pointers[k] + " = " + median.values[k];
        err << "zemba-run: short of +/- " << within << " at the most seeds, " << seeds << ": "
            << (values.empty() ? std::string("the scenario") : values) << ": median " << FinishText(median.median);
        if (median.lower)
            err << ", 95 % interval " << FinishText(median.lower) << " to " << FinishText(median.upper) << '\n';
        else
            err << ", too few runs for a 95 % interval\n";
    }
}

} // namespace

std::optional<TSweepPlan> ReadSweepPlan(const std::string& sweepPath, std::ostream& err)
{
    try {
        return ReadSweepFile(sweepPath);
    } catch (const TScenarioFileError& error) {
        err << error.what() << '\n';
        return std::nullopt;
    }
}

TSweepInput ScenarioOf(const TSweepPlan& plan)
{
    return {"the scenario of the sweep file", plan.scenarioPath};
}

bool NameOneFile(const std::string& a, const std::string& b)
{
    TFileIdentity first;
    TFileIdentity second;
    return IdentifyFile(a, first) && IdentifyFile(b, second) && first == second;
}

std::string RefuseInputAsOutput(const char* option, const std::string& output, const std::vector<TSweepInput>& inputs)
{
    for (const TSweepInput& input : inputs)
        if (NameOneFile(output, input.path))
            return std::string(option) + " would overwrite " + input.what + ": '" + output + "'";
    return {};
}

int RunSweepPlan(const TRunOptions& options, std::ostream& out, std::ostream& err)
{
    const std::optional<TSweepPlan> read = ReadSweepPlan(options.sweepPath, err);
    if (!read)
        return 2;
    const TSweepPlan& plan = *read;
    if (RefuseShardsOfSequence(plan, options, err))
        return 2;
    const std::size_t combinations = plan.combinations.size();
    const char* const upTo = plan.IsSequential() ? "up to " : "";
    out << "sweep " << options.sweepPath << " (sha256 " << plan.sweepHash << "...) varies " << plan.scenarioName << '\n'
        << "runs " << (plan.IsSequential() ? "open, at most " : "") << plan.RunCount() << ": " << combinations
        << (combinations == 1 ? " combination" : " combinations") << " x " << upTo << plan.seeds.size()
        << (plan.seeds.size() == 1 ? " seed" : " seeds") << ", max_steps " << plan.maxSteps << '\n';
    if (plan.IsSequential())
        out << "until every median's 95 % interval lies within +/- " << FormatSimulatedTime(plan.medianWithin)
            << ", decided after each batch of " << plan.seedBatch << " seeds with every combination ("
            << plan.SeedRule().batchRuns << " runs)\n";
    if (options.shardCount > 1)
        out << "shard " << options.shard << "/" << options.shardCount << ": "
            << ShardRuns(plan.RunCount(), static_cast<std::size_t>(options.shard),
                         static_cast<std::size_t>(options.shardCount)).size()
            << " runs\n";
    const bool consecutive = plan.seeds.back() - plan.seeds.front() + 1 == plan.seeds.size()
        && std::is_sorted(plan.seeds.begin(), plan.seeds.end());
    out << "seeds";
    if (consecutive && plan.seeds.size() > 2)
        out << ' ' << plan.seeds.front() << " to " << plan.seeds.back();
    else
        for (std::size_t i = 0; i < plan.seeds.size(); ++i)
            out << (i ? ", " : " ") << plan.seeds[i];
    out << '\n';
    for (std::size_t k = 0; k < plan.pointers.size(); ++k) {
        out << "vary " << plan.pointers[k] << ':';
        for (std::size_t i = 0; i < plan.values[k].size(); ++i)
            out << (i ? ", " : " ") << plan.values[k][i];
        out << '\n';
    }
    // Every combination with its runs (of the first batch), while the list stays readable.
    constexpr std::size_t MostListed = 100;
    const std::size_t perBatch = std::min(plan.seeds.size(), plan.IsSequential() ? plan.seedBatch : plan.seeds.size());
    for (std::size_t c = 0; c < std::min(combinations, MostListed) && !plan.pointers.empty(); ++c) {
        const std::vector<std::string> values = plan.ValuesOf(c);
        out << "  runs " << c * perBatch << " to " << (c + 1) * perBatch - 1 << ':';
        for (std::size_t k = 0; k < values.size(); ++k)
            out << (k ? ", " : " ") << plan.pointers[k] << " = " << values[k];
        out << '\n';
    }
    if (combinations > MostListed)
        out << "  and " << combinations - MostListed << " combinations more\n";
    return 0;
}

int RunSweepCommand(const TRunOptions& options, std::ostream& out, std::ostream& err, const TSweepRunFunction& run,
                    const std::atomic<bool>& stop, TSweepProgressStyle progress)
{
    const std::optional<TSweepPlan> read = ReadSweepPlan(options.sweepPath, err);
    if (!read)
        return 2;
    const TSweepPlan& plan = *read;
    if (RefuseShardsOfSequence(plan, options, err))
        return 2;
    if (const std::string refusal = RefuseInputAsOutput("--csv", options.csvPath, {ScenarioOf(plan)}); !refusal.empty()) {
        err << "zemba-run: " << refusal << '\n';
        return 2;
    }
    const std::vector<std::size_t> runs = ShardRuns(plan.RunCount(), static_cast<std::size_t>(options.shard),
                                                    static_cast<std::size_t>(options.shardCount));
    TSweepCsvRows present;
    if (options.resume) {
        try {
            if (std::ifstream in(options.csvPath, std::ios::binary); in)
                present = ReadFinishedRows(plan, runs, in, options.csvPath);
        } catch (const TSweepCsvError& error) {
            err << "zemba-run: cannot resume: " << error.what() << '\n';
            return 2;
        }
    }
    std::vector<bool> done(plan.RunCount());
    for (const TSweepRow& row : present.rows)
        done[row.run] = true;
    std::vector<std::size_t> todo;
    std::copy_if(runs.begin(), runs.end(), std::back_inserter(todo), [&](std::size_t r) { return !done[r]; });

    // Rows go to the CSV itself as they finish, so that a cut at any moment
    // (SIGKILL, a node lost) loses only the runs under way; a row it cut short
    // goes first, to run again.
    if (present.hasHeader && !present.lastLineCut.empty()) {
        std::error_code ec;
        std::filesystem::resize_file(options.csvPath, present.wholeBytes, ec);
        if (ec) {
            err << "zemba-run: cannot cut the row cut short from '" << options.csvPath << "': " << ec.message() << '\n';
            return 1;
        }
    }
    const unsigned jobs = options.jobs > 0 ? static_cast<unsigned>(options.jobs)
                                           : std::max(1u, std::thread::hardware_concurrency());
    std::size_t written = 0;
    bool over = false;
    TSequenceRun sequence;
    {
        TOutputFile csv(options.csvPath, present.hasHeader ? TOutputFile::TWrite::Append : TOutputFile::TWrite::InPlace,
                        out);
        if (!present.hasHeader)
            csv.Write(SweepCsvHeader(plan));
        // A CSV that cannot be written is said before any run starts.
        if (!csv.Flush()) {
            err << "zemba-run: " << csv.Error() << '\n';
            return 1;
        }
        progress.open = plan.IsSequential();
        TProgressLine line(err, progress);
        const TSweepProgress show = [&](std::size_t rows, std::size_t total) { line.Show(rows, total); };
        if (plan.IsSequential()) {
            sequence = RunSeedSequence(plan, present.rows, jobs, run, csv.Stream(), stop, show);
            todo = sequence.added;
            written = sequence.written;
            over = sequence.over;
        } else {
            written = RunSweep(plan, todo, jobs, run, csv.Stream(), stop, show);
            over = written == todo.size();
        }
        if (!csv.Commit()) {
            err << "zemba-run: " << csv.Error() << '\n';
            return 1;
        }
    }
    if (!over) {
        err << "zemba-run: interrupted: " << present.rows.size() + written
            << (plan.IsSequential() ? " of at most " : " of ") << runs.size()
            << " runs in the CSV, each row whole; --resume runs the rest\n";
        return 130;
    }
    if (plan.IsSequential())
        SayWhereSequenceEnded(plan, sequence, err);
    return present.rows.empty() ? 0 : PutInPlanOrder(plan, runs, options.csvPath, present, todo, err);
}

int RunSweepReport(const TRunOptions& options, std::ostream& out, std::ostream& err,
                   const TSweepPlotWriter& plotWriter)
{
    if (!options.plotPath.empty() && !plotWriter) {
        err << "zemba-run: --plot is not available: this zemba-run was built without Qt\n";
        return 2;
    }
    std::ifstream in(options.sweepReportPath, std::ios::binary);
    if (!in) {
        err << "zemba-run: cannot read '" << options.sweepReportPath << "'\n";
        return 2;
    }
    std::optional<TSweepPlan> plan;
    if (!options.sweepPath.empty() && !(plan = ReadSweepPlan(options.sweepPath, err)))
        return 2;
    TSweepTable table;
    try {
        table = ReadSweepCsv(in, options.sweepReportPath, plan ? &*plan : nullptr);
    } catch (const TSweepCsvError& error) {
        err << "zemba-run: " << error.what() << '\n';
        return 2;
    }
    const std::vector<TSweepGroup> groups = SummariseSweep(table);
    // With a file on standard output, the report goes to standard error.
    WriteSweepReport(table, groups, options.StdoutTaken() ? err : out, options.deadline);
    if (!table.missing.empty())
        err << "zemba-run: " << options.sweepReportPath << " is incomplete: " << DescribeMissing(table.missing, table.dueRuns) << '\n';
    const TSweepSummaryInput summary{&table, &groups, plan ? &*plan : nullptr, options.deadline};
    for (const auto& [path, text] : {std::pair{&options.summaryCsvPath, &SweepSummaryCsv},
                                     std::pair{&options.summaryJsonPath, &SweepSummaryJson}}) {
        if (path->empty())
            continue;
        TOutputFile file(*path, TOutputFile::TWrite::Whole, out);
        if (!file.Write(text(summary)) || !file.Commit()) {
            err << "zemba-run: " << file.Error() << '\n';
            return 1;
        }
    }
    if (!options.plotPath.empty()) {
        TSweepPlotStyle style{options.plotFromZero, options.deadline, {}};
        for (const std::string& pointer : table.parameters)
            style.fieldNames.push_back(SweepFieldEnglishName(pointer));
        if (std::string error; !plotWriter(table, groups, style, options.plotPath, error)) {
            err << "zemba-run: " << error << '\n';
            return 1;
        }
    }
    return 0;
}
