#include "dialogs/clsExperimentRun.h"

#include "analysis/SweepMove.h"

#include <QTimer>

namespace {

constexpr int LookInterval = 250;
constexpr int RowsInterval = 1000;

} // namespace

TExperimentRun::TExperimentRun(const TSweepPlan& plan, unsigned jobs, QObject* owner)
    : QObject(owner), job(plan, jobs, RunSweepMove), timer(new QTimer(this))
{
    clock.start();
    timer->setInterval(LookInterval);
    connect(timer, &QTimer::timeout, this, &TExperimentRun::Look);
    timer->start();
}

TExperimentRun::~TExperimentRun() = default;

void TExperimentRun::Cancel()
{
    job.Cancel();
}

void TExperimentRun::Look()
{
    // Done is read first: every row of a job that is done is in its CSV, and its runs due are known.
    const bool done = job.IsDone();
    const std::size_t runs = job.GetRunsDone();
    const std::size_t total = job.GetRunsDue();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    emit Progressed(runs, total, seconds);
    if (done || !told.isValid() || told.elapsed() >= RowsInterval) {
        if (std::string now = job.GetCsv(); now != rows) {
            rows = std::move(now);
            told.start();
            emit RowsWritten(rows);
        }
    }
    if (done) {
        timer->stop();
        over = true;
        emit Over(runs, total, seconds);
    }
}
