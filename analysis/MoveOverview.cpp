#include "analysis/MoveOverview.h"

#include "analysis/MovePlot.h"
#include "analysis/MoveReport.h"
#include "analysis/PlotAxes.h"
#include "model/clsSimulationTime.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace {

constexpr int LeftMargin = 120;
constexpr int RightMargin = 24;
constexpr int TopMargin = 40;
constexpr int DeliveriesHeight = 190;
constexpr int PanelGap = 64;
constexpr int BottomMargin = 44;

const QColor Ink(0, 0, 0);
const QColor Grid(225, 225, 225);
const QColor Delivered(31, 119, 180);
const QColor Bound(214, 39, 40);
const QColor LaneGround(236, 236, 236);
const QColor LaneSteps(212, 212, 212);
const QColor Band(31, 119, 180, 120);
const QColor MeanLine(8, 48, 107);

// Time along the bottom of a panel in h:mm:ss, at round simulated minutes.
void DrawTimeAxis(QPainter& painter, const QRect& area, std::int64_t steps, bool labelled)
{
    const QFontMetrics metrics(painter.font());
    const double minutes = static_cast<double>(steps) / StepsPerMinute;
    const double tick = TimeTickMinutes(minutes, 8) * StepsPerMinute;
    for (double step = 0.0; step <= static_cast<double>(steps); step += tick) {
        const int x = area.left() + static_cast<int>(step / static_cast<double>(steps) * (area.width() - 1));
        painter.setPen(Ink);
        painter.drawLine(x, area.bottom(), x, area.bottom() + 4);
        if (!labelled)
            continue;
        const QString text = QString::fromStdString(FormatSimulatedTime(static_cast<std::int64_t>(step)));
        painter.drawText(x - metrics.horizontalAdvance(text) / 2, area.bottom() + 6 + metrics.ascent(), text);
    }
}

void DrawDeliveries(QPainter& painter, const QRect& area, const TMoveRecord& record, const TMoveReport& report)
{
    const QFontMetrics metrics(painter.font());
    const std::int64_t steps = std::max<std::int64_t>(1, record.GetStepCount());
    const double top = std::max(1, report.stock);
    const auto x = [&](double step) { return area.left() + step / static_cast<double>(steps) * (area.width() - 1); };
    const auto y = [&](double loads) { return area.bottom() - loads / top * (area.height() - 1); };

    const double loadTick = TickSpacing(top, 4);
    for (double loads = 0.0; loads <= top; loads += loadTick) {
        const int at = static_cast<int>(y(loads));
        painter.setPen(Grid);
        painter.drawLine(area.left(), at, area.right(), at);
        painter.setPen(Ink);
        const QString text = QString::number(static_cast<int>(loads));
        painter.drawText(area.left() - 6 - metrics.horizontalAdvance(text), at + metrics.ascent() / 2, text);
    }
    painter.setPen(Ink);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    DrawTimeAxis(painter, area, steps, true);

    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The bound: no chain of these persons delivers faster.
    const double boundSteps = report.boundPerMinute > 0.0 ? top / report.boundPerMinute * StepsPerMinute : 0.0;
    if (boundSteps > 0.0) {
        painter.setPen(QPen(Bound, 1.5, Qt::DashLine));
        painter.drawLine(QPointF(x(0.0), y(0.0)), QPointF(x(boundSteps), y(top)));
    }
    QPolygonF line;
    for (int column = 0; column < area.width(); ++column) {
        const std::int64_t step = column * steps / std::max(1, area.width() - 1);
        line << QPointF(x(static_cast<double>(step)), y(record.GetDeliveredAfter(step)));
    }
    painter.setPen(QPen(Delivered, 2.0));
    painter.drawPolyline(line);
    painter.restore();

    const QString title =
        report.finishStep >= 0
            ? QStringLiteral("Loads delivered: all %1 after %2, %3 per simulated minute, %4 % of the bound")
                  .arg(report.stock)
                  .arg(QString::fromStdString(FormatSimulatedTime(report.finishStep)))
                  .arg(report.perMinute, 0, 'f', 2)
                  .arg(std::lround(report.percentOfBound))
            : QStringLiteral("Loads delivered: %1 of %2 after %3, unfinished")
                  .arg(report.delivered)
                  .arg(report.stock)
                  .arg(QString::fromStdString(FormatSimulatedTime(report.steps)));
    painter.drawText(area.left(), area.top() - 8, title);
    const QString legend = QStringLiteral("dashed: the throughput bound, %1 loads per minute").arg(report.boundPerMinute, 0, 'f', 1);
    painter.setPen(Bound);
    painter.drawText(area.right() - metrics.horizontalAdvance(legend) - 6, area.bottom() - 6, legend);
}

void DrawLanes(QPainter& painter, const QRect& area, const TMoveRecord& record)
{
    const QFontMetrics metrics(painter.font());
    const TMoveLayout& layout = record.GetLayout();
    const std::size_t persons = std::max<std::size_t>(1, layout.persons.size());
    const std::int64_t steps = std::max<std::int64_t>(1, record.GetStepCount());
    const std::int64_t perColumn = std::max<std::int64_t>(1, (steps + area.width() - 1) / area.width());
    const double laneHeight = static_cast<double>(area.height()) / static_cast<double>(persons);
    const double trail = layout.trailLength > 0.0 ? layout.trailLength : 1.0;
    const auto x = [&](double step) { return area.left() + step / static_cast<double>(steps) * (area.width() - 1); };

    painter.drawText(area.left(), area.top() - 8,
                     QStringLiteral("Where each person was: the stretch of trail it covered (band) and its mean "
                                    "position (line); source at the bottom of a lane, sink at its top"));
    for (std::size_t i = 0; i < layout.persons.size(); ++i) {
        // The lane's top and bottom, with a pixel of air between lanes.
        const double laneTop = area.top() + static_cast<double>(i) * laneHeight + 1.0;
        const double laneBottom = laneTop + laneHeight - 2.0;
        const auto y = [&](double position) { return laneBottom - position / trail * (laneBottom - laneTop); };
        painter.fillRect(QRectF(area.left(), laneTop, area.width(), laneBottom - laneTop), LaneGround);
        for (const TMoveLayout::TStretch& s : layout.stretches)
            if (s.steps)
                painter.fillRect(QRectF(area.left(), y(s.start + s.length), area.width(), y(s.start) - y(s.start + s.length)),
                                 LaneSteps);

        const std::vector<TTrackBin> track = record.GetTrack(i, perColumn);
        QPolygonF mean;
        double left = x(0.0);
        for (const TTrackBin& bin : track) {
            const double right = x(static_cast<double>(bin.lastStep));
            painter.fillRect(QRectF(left, y(bin.high), std::max(1.0, right - left), y(bin.low) - y(bin.high) + 1.0), Band);
            mean << QPointF(right, y(bin.Mean()));
            left = right;
        }
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(MeanLine, 1.0));
        painter.drawPolyline(mean);
        painter.setRenderHint(QPainter::Antialiasing, false);

        // The name, with the person's colour in the other pictures.
        const TMoveLayout::TPersonInfo& info = layout.persons[i];
        const int middle = static_cast<int>((laneTop + laneBottom) / 2.0);
        painter.fillRect(QRect(8, middle - 5, 10, 10), PersonColour(i));
        painter.setPen(Ink);
        painter.drawRect(QRect(8, middle - 5, 10, 10));
        painter.drawText(24, middle + metrics.ascent() / 2 - 1, QString::fromStdString(info.name));
    }
    painter.setPen(Ink);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    DrawTimeAxis(painter, area, steps, true);
}

} // namespace

void PaintMoveOverview(QPainter& painter, const TMoveRecord& record, QSize size)
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);

    const int width = std::max(1, size.width() - LeftMargin - RightMargin);
    const QRect deliveries(LeftMargin, TopMargin, width, DeliveriesHeight);
    const int lanesTop = deliveries.bottom() + PanelGap;
    const QRect lanes(LeftMargin, lanesTop, width, std::max(1, size.height() - lanesTop - BottomMargin));
    const TMoveReport report = SummariseMove(record);

    DrawDeliveries(painter, deliveries, record, report);
    DrawLanes(painter, lanes, record);
    const QString xTitle = QStringLiteral("simulated time h:mm:ss at %1 steps/s").arg(StepsPerSecond);
    painter.setPen(Ink);
    painter.drawText(lanes.center().x() - QFontMetrics(font).horizontalAdvance(xTitle) / 2,
                     size.height() - 8, xTitle);
}
