#include "analysis/SweepRunner.h"

#include "analysis/MoveReport.h"
#include "analysis/SweepReport.h"
#include "analysis/Version.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <istream>
#include <mutex>
#include <ostream>
#include <thread>
#include <utility>

namespace {

std::string Fixed(double value, int decimals)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return {text, end};
}

// How often the writer looks at the stop flag and reports progress while no row comes.
constexpr std::chrono::milliseconds WriterWake(200);

} // namespace

const char* SweepEndName(TSweepOutcome::TEnd end)
{
    switch (end) {
    case TSweepOutcome::TEnd::Finished: return "finished";
    case TSweepOutcome::TEnd::Stalled: return "stalled";
    case TSweepOutcome::TEnd::Limit: return "limit";
    }
    return "";
}

std::string SweepCsvHeader(const TSweepPlan& plan)
{
    std::string header = "run";
    for (const std::string& pointer : plan.pointers)
        header += "," + pointer;
    return header + ",seed,finished,outcome,steps,time,delivered,per_minute,bound_share,breaks," + SweepPlanColumns + "\n";
}

std::string SweepPlanValues(const TSweepPlan& plan)
{
    return std::to_string(plan.maxSteps) + "," + std::to_string(plan.RunCount()) + "," + plan.sweepHash + ","
        + ZembaVersion + "," + ZembaCommit;
}

std::string SweepCsvRow(const TSweepPlan& plan, std::size_t run, const TSweepOutcome& o)
{
    std::string row = std::to_string(run);
    for (const std::string& value : plan.ValuesOf(plan.CombinationOf(run)))
        row += "," + value;
    const bool finished = o.end == TSweepOutcome::TEnd::Finished;
    row += "," + std::to_string(plan.SeedOf(run)) + (finished ? ",1," : ",0,") + SweepEndName(o.end) + ","
        + std::to_string(o.steps) + ","
        + FormatSimulatedTime(o.steps) + "," + std::to_string(o.delivered) + "," + Fixed(o.perMinute, 4) + ","
        + Fixed(o.boundShare, 4) + "," + std::to_string(o.breaks) + "," + SweepPlanValues(plan) + "\n";
    return row;
}

std::size_t RunSweep(const TSweepPlan& plan, const std::vector<std::size_t>& runs, unsigned jobs,
                     const TSweepRunFunction& run, std::ostream& csv, const std::atomic<bool>& stop,
                     const TSweepProgress& progress, const std::map<std::size_t, std::string>& done)
{
    csv << SweepCsvHeader(plan) << std::flush;

    // Workers take runs in plan order and leave their rows in slots; the
    // calling thread writes the slots out in order as they fill. Rows there
    // already wait in their slots from the start.
    std::vector<std::optional<std::string>> rows(runs.size());
    std::vector<std::size_t> todo;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (const auto found = done.find(runs[i]); found != done.end())
            rows[i] = found->second;
        else
            todo.push_back(i);
    std::mutex mutex;
    std::condition_variable filled;
    std::atomic<std::size_t> next{0};
    unsigned running = std::max(1u, jobs);

    const auto work = [&] {
        for (std::size_t t = next++; t < todo.size() && !stop; t = next++) {
            const std::size_t i = todo[t];
            const std::optional<TSweepOutcome> outcome = run(plan.ScenarioOf(runs[i]), plan.maxSteps, stop);
            if (!outcome)
                break;
            std::string row = SweepCsvRow(plan, runs[i], *outcome);
            const std::lock_guard lock(mutex);
            rows[i] = std::move(row);
            filled.notify_one();
        }
        const std::lock_guard lock(mutex);
        --running;
        filled.notify_one();
    };
    std::vector<std::jthread> workers;
    for (unsigned j = running; j > 0; --j)
        workers.emplace_back(work);

    std::size_t written = 0;
    std::size_t rowsOut = 0;
    std::string batch;
    for (bool over = false; !over;) {
        {
            std::unique_lock lock(mutex);
            filled.wait_for(lock, WriterWake, [&] { return running == 0 || (written < rows.size() && rows[written]); });
            over = running == 0;
            for (; written < rows.size() && rows[written]; ++written, ++rowsOut)
                batch += *std::exchange(rows[written], std::nullopt);
        }
        if (!batch.empty())
            csv << batch << std::flush;
        batch.clear();
        if (progress)
            progress(rowsOut, runs.size());
    }
    // Stopped: rows finished beyond the first missing one are kept too.
    for (std::size_t i = written; i < rows.size(); ++i)
        if (rows[i]) {
            csv << *rows[i];
            ++rowsOut;
        }
    csv << std::flush;
    return rowsOut;
}

std::map<std::size_t, std::string> ReadFinishedRows(const TSweepPlan& plan, const std::vector<std::size_t>& runs,
                                                    std::istream& csv, const std::string& fileName,
                                                    TSweepRowsOf program)
{
    using K = TSweepCsvError::TKind;
    const auto fail = [&](K kind, std::size_t line, const std::string& what) {
        throw TSweepCsvError(kind, fileName, line, what);
    };
    std::map<std::size_t, std::string> rows;
    std::string line;
    if (!std::getline(csv, line) || csv.eof())
        return rows; // empty, or a header cut short: nothing to keep
    const std::string header = SweepCsvHeader(plan);
    const std::size_t columns = SplitCsvLine(header).size();
    if (line + "\n" != header)
        fail(K::OtherPlan, 1, "another sweep's CSV: its columns differ from this plan's");
    // What ends every row of the plan: up to the program's version and commit
    // where rows of any program belong.
    const auto planPart = [program](std::string_view row) {
        if (program == TSweepRowsOf::ThisProgram)
            return row;
        const std::size_t commit = row.rfind(',');
        return row.substr(0, commit == 0 || commit == std::string_view::npos ? 0 : row.rfind(',', commit - 1));
    };
    const std::string values = "," + SweepPlanValues(plan);
    const std::string_view planValues = planPart(values);
    for (std::size_t number = 2; std::getline(csv, line); ++number) {
        // A row without its newline was cut short: it runs again.
        if (csv.eof())
            break;
        std::size_t run = 0;
        const std::string index = line.substr(0, line.find(','));
        const auto [end, ec] = std::from_chars(index.data(), index.data() + index.size(), run);
        if (ec != std::errc() || end != index.data() + index.size() || run >= plan.RunCount())
            fail(K::OtherPlan, number, "no run of this plan");
        if (!std::binary_search(runs.begin(), runs.end(), run))
            fail(K::OtherPlan, number, "run " + index + " belongs to another shard");
        // The run's values and seed, and the plan's columns, as this plan writes them.
        std::string start = index;
        for (const std::string& value : plan.ValuesOf(plan.CombinationOf(run)))
            start += "," + value;
        start += "," + std::to_string(plan.SeedOf(run)) + ",";
        if (line.rfind(start, 0) != 0 || !planPart(line).ends_with(planValues)
            || SplitCsvLine(line).size() != columns)
            fail(K::OtherPlan, number, "run " + index + " is another plan's (values, seed, limit, sweep file or program differ)");
        if (!rows.emplace(run, line + "\n").second)
            fail(K::RunTwice, number, "run " + index + " is there twice");
    }
    return rows;
}
