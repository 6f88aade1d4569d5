#include "dialogs/clsChartAxes.h"

#include "analysis/PlotAxes.h"

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
    const double tick = TimeTickMinutes(span, count);
    std::vector<std::pair<double, QString>> ticks;
    // Counted, not summed, so that no tick drifts off its round minute.
    for (int i = 1; i * tick <= span; ++i)
        ticks.emplace_back(i * tick, HoursAndMinutes(i * tick));
    return ticks;
}

void ShowTimeTicks(QCategoryAxis& axis, double span, int count)
{
    for (const QString& label : axis.categoriesLabels())
        axis.remove(label);
    axis.setStartValue(0.0);
    axis.setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (const auto& [at, label] : TimeTicks(span, count))
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
