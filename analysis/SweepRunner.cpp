#include "analysis/SweepRunner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>
#include <utility>

namespace {

// How often the writer looks at the stop flag and reports progress while no row comes.
constexpr std::chrono::milliseconds WriterWake(200);

} // namespace

std::size_t RunSweep(const TSweepPlan& plan, const std::vector<std::size_t>& runs, unsigned jobs,
                     const TSweepRunFunction& run, std::ostream& csv, const std::atomic<bool>& stop,
                     const TSweepProgress& progress, const TSweepRunDone& done)
{
    // Workers take runs in plan order and leave their rows in slots; the
    // calling thread writes the slots out in order as they fill.
    std::vector<std::optional<std::string>> rows(runs.size());
    std::mutex mutex;
    std::condition_variable filled;
    std::atomic<std::size_t> next{0};
    // A CSV that cannot take rows any more (a full disk) ends the sweep as a stop would.
    std::atomic<bool> failed{false};
    unsigned running = std::max(1u, jobs);

    const auto work = [&] {
        for (std::size_t i = next++; i < runs.size() && !stop && !failed; i = next++) {
            const std::optional<TSweepOutcome> outcome = run(plan.ScenarioOf(runs[i]), plan.maxSteps, stop);
            if (!outcome)
                break;
            std::string row = SweepCsvRow(plan, runs[i], *outcome);
            const std::lock_guard lock(mutex);
            rows[i] = std::move(row);
            if (done)
                done(runs[i], *outcome);
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
        if (!batch.empty() && !(csv << batch << std::flush))
            failed = true;
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
