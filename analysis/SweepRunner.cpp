#include "analysis/SweepRunner.h"

#include "analysis/MoveReport.h"
#include "analysis/Version.h"

#include <charconv>
#include <chrono>
#include <condition_variable>
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
