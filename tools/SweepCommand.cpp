#include "tools/SweepCommand.h"

#include "analysis/MoveReport.h"
#include "analysis/SweepReport.h"
#include "analysis/OutputFile.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsScenarioFile.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <thread>

namespace {

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
        const std::string left = rate > 0.0
            ? FormatSimulatedTime(static_cast<std::int64_t>(static_cast<double>(total - done) / rate
                                                            * StepsPerSecond))
            : std::string("?");
        char perSecond[32];
        const auto end = std::to_chars(perSecond, perSecond + sizeof perSecond, rate, std::chars_format::fixed, 2).ptr;
        err << (style.terminal ? "\r" : "zemba-run: ") << done << " of " << total << " runs, "
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

// The sweep file's plan, or nothing after saying why it is refused.
std::optional<TSweepPlan> ReadPlan(const TRunOptions& options, std::ostream& err)
{
    try {
        return ReadSweepFile(options.sweepPath);
    } catch (const TScenarioFileError& error) {
        err << error.what() << '\n';
        return std::nullopt;
    }
}

} // namespace

int RunSweepPlan(const TRunOptions& options, std::ostream& out, std::ostream& err)
{
    const std::optional<TSweepPlan> read = ReadPlan(options, err);
    if (!read)
        return 2;
    const TSweepPlan& plan = *read;
    const std::size_t combinations = plan.combinations.size();
    out << "sweep " << options.sweepPath << " (sha256 " << plan.sweepHash << "...) varies " << plan.scenarioName << '\n'
        << "runs " << plan.RunCount() << ": " << combinations << (combinations == 1 ? " combination" : " combinations")
        << " x " << plan.seeds.size() << (plan.seeds.size() == 1 ? " seed" : " seeds") << ", max_steps "
        << plan.maxSteps << '\n';
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
    // Every combination with its first run, while the list stays readable.
    constexpr std::size_t MostListed = 100;
    for (std::size_t c = 0; c < std::min(combinations, MostListed) && !plan.pointers.empty(); ++c) {
        const std::vector<std::string> values = plan.ValuesOf(c);
        out << "  runs " << c * plan.seeds.size() << " to " << (c + 1) * plan.seeds.size() - 1 << ':';
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
    const std::optional<TSweepPlan> read = ReadPlan(options, err);
    if (!read)
        return 2;
    const TSweepPlan& plan = *read;
    const std::vector<std::size_t> runs = ShardRuns(plan.RunCount(), static_cast<std::size_t>(options.shard),
                                                    static_cast<std::size_t>(options.shardCount));

    // A resumed sweep writes its whole CSV anew beside the old one and
    // renames it at the end, so that the rows there are never lost midway.
    std::map<std::size_t, std::string> done;
    const bool resumed = options.resume && std::filesystem::exists(options.csvPath);
    if (resumed) {
        std::ifstream in(options.csvPath, std::ios::binary);
        try {
            done = ReadFinishedRows(plan, runs, in, options.csvPath);
        } catch (const TSweepCsvError& error) {
            err << "zemba-run: cannot resume: " << error.what() << '\n';
            return 2;
        }
    }
    TOutputFile csv(options.csvPath, resumed ? TOutputFile::TWrite::Whole : TOutputFile::TWrite::InPlace, out);
    if (!csv.Good()) {
        err << "zemba-run: " << csv.Error() << '\n';
        return 1;
    }
    const unsigned jobs = options.jobs > 0 ? static_cast<unsigned>(options.jobs)
                                           : std::max(1u, std::thread::hardware_concurrency());
    std::size_t written = 0;
    {
        TProgressLine line(err, progress);
        written = RunSweep(plan, runs, jobs, run, csv.Stream(), stop,
                           [&](std::size_t rows, std::size_t total) { line.Show(rows, total); }, done);
    }
    if (!csv.Commit()) {
        err << "zemba-run: " << csv.Error() << '\n';
        return 1;
    }
    if (written < runs.size()) {
        err << "zemba-run: interrupted: " << written << " of " << runs.size()
            << " runs written, each row whole; --resume runs the rest\n";
        return 130;
    }
    return 0;
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
    TSweepTable table;
    try {
        table = ReadSweepCsv(in, options.sweepReportPath);
    } catch (const TSweepCsvError& error) {
        err << "zemba-run: " << error.what() << '\n';
        return 2;
    }
    const std::vector<TSweepGroup> groups = SummariseSweep(table);
    // With the picture on standard output, the report goes to standard error.
    WriteSweepReport(table, groups, options.StdoutTaken() ? err : out);
    if (!table.missing.empty())
        err << "zemba-run: " << options.sweepReportPath << " is incomplete: " << DescribeMissing(table) << '\n';
    if (!options.plotPath.empty()) {
        if (std::string error; !plotWriter(table, groups, options.plotPath, error)) {
            err << "zemba-run: " << error << '\n';
            return 1;
        }
    }
    return 0;
}
