#pragma once

#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QChart;

// The chance of finishing by a deadline against the first varied value, in
// percent: one line per value of the second varied value, each with the band
// of its 95 % interval (ChanceByDeadline), the same figures as the table's
// and zemba-run's. Words as the first value are placed side by side.
class TDeadlineChart : public QWidget
{
    Q_OBJECT

public:
    explicit TDeadlineChart(QWidget* parent = nullptr);

    // Empty without a deadline; the deadline by the clock where the scenario has a start.
    void Show(const TSweepPlan& plan, const std::vector<TSweepGroup>& groups, const QString& firstName,
              std::optional<std::int64_t> deadline, std::int32_t startSecond = -1);
    QChart* GetChart() const { return chart; }

private:
    QChart* chart = nullptr;
};
