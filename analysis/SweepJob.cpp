#include "analysis/SweepJob.h"

#include <numeric>
#include <sstream>

TSweepJob::TSweepJob(TSweepPlan sweep, unsigned jobs, TSweepRunFunction run)
    : plan(std::move(sweep))
    , worker([this, jobs, run = std::move(run)] {
        std::vector<std::size_t> runs(plan.RunCount());
        std::iota(runs.begin(), runs.end(), std::size_t{0});
        std::ostringstream out;
        out << SweepCsvHeader(plan);
        const unsigned threads = jobs > 0 ? jobs : std::max(1u, std::thread::hardware_concurrency());
        // The writer hands over a copy as rows come; the copies are small
        // beside the runs (a row is a few dozen bytes, a run a second).
        const std::size_t rows = RunSweep(plan, runs, threads, run, out, stop,
                                          [&](std::size_t written, std::size_t) { Publish(out.str(), written); });
        Publish(out.str(), rows);
        done = true;
    })
{
}

TSweepJob::~TSweepJob()
{
    Cancel();
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
