#pragma once

#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"

#include <QWidget>

#include <cstdint>
#include <map>
#include <vector>

class QChart;
class QChartView;
class QXYSeries;

// An experiment's answer as a chart: finish time against the first varied
// value, the median as a line, the band from the 10th to the 90th percentile,
// the fastest and the slowest seed as marks, and runs that stood still (a
// star) or met the limit (a diamond) at their last hand-over; one line per value
// of the second varied value. In person-hours, each time counts once per person.
// The time axis starts near the fastest run, or at 0 when fromZero; where the
// scenario has a start (startSecond from 0), finish times go by the clock.
class TExperimentChart : public QWidget
{
    Q_OBJECT

public:
    explicit TExperimentChart(QWidget* parent = nullptr);

    void Show(const TSweepPlan& plan, const TSweepTable& table, const std::vector<TSweepGroup>& groups,
              const QString& firstName, bool personHours, bool fromZero = false, std::int32_t startSecond = -1);
    QChart* GetChart() const { return chart; }
    // For tests: the run a double click on the point of series at index opens.
    std::size_t RunAt(const QXYSeries* series, qsizetype index) const;

signals:
    // A point stands for this run: the seed of a mark, the median's nearest seed.
    void RunOpened(std::size_t run);

private:
    void Clear();
    QXYSeries* Track(QXYSeries* series, std::vector<std::size_t> runs);

    QChart* chart = nullptr;
    QChartView* view = nullptr;
    std::map<const QXYSeries*, std::vector<std::size_t>> pointRuns;
};
