#include "tools/SweepCommand.h"

#include "analysis/MoveReport.h"
#include "scenario/clsScenarioFile.h"

#include <charconv>
#include <chrono>
#include <fstream>
#include <memory>
#include <ostream>
#include <thread>

namespace {

// One line, rewritten in place: runs done of total, runs per second, time left.
class TProgressLine
{
public:
    explicit TProgressLine(std::ostream& stream) : err(stream) {}

    void Show(std::size_t done, std::size_t total)
    {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
        const std::string left = rate > 0.0
            ? FormatSimulatedTime(static_cast<std::int64_t>(static_cast<double>(total - done) / rate
                                                            * TMoveReport::StepsPerSecond))
            : std::string("?");
        char perSecond[32];
        const auto end = std::to_chars(perSecond, perSecond + sizeof perSecond, rate, std::chars_format::fixed, 1).ptr;
        err << "\r" << done << " of " << total << " runs, " << std::string_view(perSecond, end - perSecond)
            << " runs/s, " << left << " left   " << std::flush;
        shown = true;
    }

    ~TProgressLine()
    {
        if (shown)
            err << '\n';
    }

private:
    std::ostream& err;
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    bool shown = false;
};

} // namespace

int RunSweepCommand(const TRunOptions& options, std::ostream& out, std::ostream& err, const TSweepRunFunction& run,
                    const std::atomic<bool>& stop, bool progress)
{
    TSweepPlan plan;
    try {
        plan = ReadSweepFile(options.sweepPath);
    } catch (const TScenarioFileError& error) {
        err << error.what() << '\n';
        return 2;
    }
    const std::vector<std::size_t> runs = ShardRuns(plan.RunCount(), static_cast<std::size_t>(options.shard),
                                                    static_cast<std::size_t>(options.shardCount));

    std::unique_ptr<std::ofstream> file;
    std::ostream* csv = &out;
    if (options.csvPath != "-") {
        file = std::make_unique<std::ofstream>(options.csvPath, std::ios::binary);
        if (!*file) {
            err << "zemba-run: cannot write the CSV to '" << options.csvPath << "'\n";
            return 1;
        }
        csv = file.get();
    }
    const unsigned jobs = options.jobs > 0 ? static_cast<unsigned>(options.jobs)
                                           : std::max(1u, std::thread::hardware_concurrency());
    std::size_t written = 0;
    {
        TProgressLine line(err);
        written = RunSweep(plan, runs, jobs, run, *csv, stop,
                           progress ? TSweepProgress([&](std::size_t done, std::size_t total) { line.Show(done, total); })
                                    : TSweepProgress());
    }
    if (!*csv) {
        err << "zemba-run: writing the CSV failed\n";
        return 1;
    }
    if (written < runs.size()) {
        err << "zemba-run: interrupted: " << written << " of " << runs.size() << " runs written, each row whole\n";
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
    WriteSweepReport(table, groups, out);
    if (!options.plotPath.empty()) {
        if (std::string error; !plotWriter(table, groups, options.plotPath, error)) {
            err << "zemba-run: " << error << '\n';
            return 1;
        }
    }
    return 0;
}
