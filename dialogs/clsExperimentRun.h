#pragma once

#include "analysis/SweepJob.h"

#include <QElapsedTimer>
#include <QObject>

#include <cstddef>
#include <string>

class QTimer;

// An experiment's sweep under way, watched from the window's thread without
// ever waiting on it: four times a second it tells the runs done, now and
// then the rows written so far, and once that the sweep is over.
class TExperimentRun : public QObject
{
    Q_OBJECT

public:
    // Starts the plan's runs at once on jobs threads (0: one per core).
    TExperimentRun(const TSweepPlan& plan, unsigned jobs, QObject* owner);
    ~TExperimentRun() override;

    // No run starts any more; the finished ones are kept, whole.
    void Cancel();
    bool IsOver() const { return over; }

signals:
    void Progressed(std::size_t done, std::size_t total, double seconds);
    // The header and every whole row so far: at most once a second while
    // the runs go on, since drawing them takes the runs' cores, and the
    // last rows before Over.
    void RowsWritten(const std::string& csv);
    void Over(std::size_t done, std::size_t total, double seconds);

private:
    void Look();

    TSweepJob job;
    QTimer* timer = nullptr;
    QElapsedTimer clock;
    QElapsedTimer told;
    std::string rows;
    bool over = false;
};
