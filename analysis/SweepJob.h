#pragma once

#include "analysis/SweepRunner.h"

#include <atomic>
#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>
#include <thread>

// A whole sweep run in the background, for a caller that must never wait on
// a run (the window): it looks now and then at the CSV written so far and at
// the runs done. The sweep runs as zemba-run --sweep runs it, every seed
// through RunSweep or seeds until precise through RunSeedSequence, so the CSV
// has the bytes zemba-run writes for the same plan; a cancelled job keeps
// every finished row, whole.
class TSweepJob
{
public:
    // Starts at once on jobs threads (0: one per core).
    TSweepJob(TSweepPlan plan, unsigned jobs, TSweepRunFunction run);
    // Cancels and waits for the runs under way to give up.
    ~TSweepJob();
    TSweepJob(const TSweepJob&) = delete;
    TSweepJob& operator=(const TSweepJob&) = delete;

    // No run starts after this; those under way stop at their next look.
    void Cancel() { stop = true; }
    bool IsDone() const { return done; }
    std::size_t GetRunsDone() const { return runsDone; }
    // The runs the sweep asks for: every run of the plan, but of seeds until
    // precise only those up to where the rule ended it, once done and not
    // cancelled before; until then the most there may be.
    std::size_t GetRunsDue() const { return runsDue; }
    const TSweepPlan& GetPlan() const { return plan; }
    // The header and every whole row written so far, in plan order.
    std::string GetCsv() const;
    // Waits until the job is over; for tests and the command line, never the window.
    void Wait();

private:
    // Runs the plan into out, publishing the rows as they come; the rows written.
    std::size_t RunAll(std::ostringstream& out, unsigned threads, const TSweepRunFunction& run);
    void Publish(const std::string& text, std::size_t rows);

    const TSweepPlan plan;
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    std::atomic<std::size_t> runsDone{0};
    std::atomic<std::size_t> runsDue;
    mutable std::mutex mutex;
    std::string csv;
    // Last, so that it starts after every member it reads and joins before they go.
    std::jthread worker;
};
