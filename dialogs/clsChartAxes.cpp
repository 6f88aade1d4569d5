#include "dialogs/clsChartAxes.h"

#include "analysis/PlotAxes.h"
#include "dialogs/clsStepText.h"
#include "model/clsSimulationTime.h"

#include <QCategoryAxis>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstdint>

QString HoursAndMinutes(double minutes)
{
    const auto whole = static_cast<std::int64_t>(std::llround(minutes));
    return QString::number(whole / 60) + QLatin1Char(':') + QStringLiteral("%1").arg(whole % 60, 2, 10, QLatin1Char('0'));
}

std::vector<std::pair<double, QString>> TimeTicks(double span, int count)
{
    return TimeTicks(0.0, span, count, -1);
}

std::vector<std::pair<double, QString>> TimeTicks(double from, double to, int count, std::int32_t startSecond)
{
    const double tick = TimeTickMinutes(to - from, count);
    std::vector<std::pair<double, QString>> ticks;
    // Counted, not summed, so that no tick drifts off its round minute.
    for (auto i = static_cast<std::int64_t>(std::floor(from / tick)) + 1; static_cast<double>(i) * tick <= to; ++i) {
        const double at = static_cast<double>(i) * tick;
        ticks.emplace_back(at, startSecond < 0 ? HoursAndMinutes(at)
                                               : ClockMinuteText(std::llround(at) * StepsPerMinute, startSecond));
    }
    return ticks;
}

void ShowTimeTicks(QCategoryAxis& axis, double span, int count, std::int32_t startSecond)
{
    for (const QString& label : axis.categoriesLabels())
        axis.remove(label);
    axis.setStartValue(0.0);
    axis.setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (const auto& [at, label] : TimeTicks(0.0, span, count, startSecond))
        axis.append(label, at);
    axis.setRange(0.0, span);
}

void ShowCountTicks(QValueAxis& axis, double top, int count)
{
    const double tick = std::max(1.0, TickSpacing(top, count));
    axis.setRange(0.0, std::ceil(top / tick) * tick);
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0.0);
    axis.setTickInterval(tick);
    axis.setLabelFormat(QStringLiteral("%d"));
}
