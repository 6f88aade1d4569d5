#include "analysis/SweepJob.h"

#include "analysis/SweepSequence.h"

#include <numeric>
#include <sstream>

TSweepJob::TSweepJob(TSweepPlan sweep, unsigned jobs, TSweepRunFunction run)
    : plan(std::move(sweep))
    , runsDue(plan.RunCount())
    , worker([this, jobs, run = std::move(run)] {
        std::ostringstream out;
        out << SweepCsvHeader(plan);
        const unsigned threads = jobs > 0 ? jobs : std::max(1u, std::thread::hardware_concurrency());
        const std::size_t rows = RunAll(out, threads, run);
        Publish(out.str(), rows);
        done = true;
    })
{
}

TSweepJob::~TSweepJob()
{
    Cancel();
}

std::size_t TSweepJob::RunAll(std::ostringstream& out, unsigned threads, const TSweepRunFunction& run)
{
    // The writer hands over a copy as rows come; the copies are small beside
    // the runs (a row is a few dozen bytes, a run a second).
    const TSweepProgress publish = [&](std::size_t written, std::size_t) { Publish(out.str(), written); };
    if (plan.IsSequential()) {
        const TSequenceRun sequence = RunSeedSequence(plan, {}, threads, run, out, stop, publish);
        if (sequence.over)
            runsDue = sequence.runs;
        return sequence.written;
    }
    std::vector<std::size_t> runs(plan.RunCount());
    std::iota(runs.begin(), runs.end(), std::size_t{0});
    return RunSweep(plan, runs, threads, run, out, stop, publish);
}

void TSweepJob::Publish(const std::string& text, std::size_t rows)
{
    const std::lock_guard lock(mutex);
    csv = text;
    runsDone = rows;
}

std::string TSweepJob::GetCsv() const
{
    const std::lock_guard lock(mutex);
    return csv;
}

void TSweepJob::Wait()
{
    if (worker.joinable())
        worker.join();
}
