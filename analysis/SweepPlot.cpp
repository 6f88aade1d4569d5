#include "analysis/SweepPlot.h"

#include "analysis/MoveReport.h"
#include "analysis/PictureFile.h"
#include "analysis/PlotAxes.h"
#include "analysis/PlotColours.h"
#include "model/clsSimulationTime.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace {

constexpr int LeftMargin = 70;
// The legend's least width; a wider one takes up to half the picture.
constexpr int LeastRightMargin = 210;
constexpr int TopMargin = 36;
constexpr int BottomMargin = 48;

const QColor Ink(0, 0, 0);
const QColor Grid(225, 225, 225);

// A series: the groups that share the values of every parameter but the first.
struct TSeries
{
    std::string name;
    std::vector<const TSweepGroup*> groups;
};

std::vector<TSeries> SeriesOf(const TSweepTable& table, const std::vector<TSweepGroup>& groups)
{
    std::vector<TSeries> series;
    std::map<std::vector<std::string>, std::size_t> index;
    for (const TSweepGroup& g : groups) {
        const std::vector<std::string> rest(g.values.size() > 1 ? g.values.begin() + 1 : g.values.end(), g.values.end());
        const auto [at, added] = index.try_emplace(rest, series.size());
        if (added) {
            std::string name;
            for (std::size_t k = 0; k < rest.size(); ++k)
                name += (k ? ", " : "") + table.parameters[k + 1] + " = " + rest[k];
            series.push_back({name.empty() ? "all runs" : name, {}});
        }
        series[at->second].groups.push_back(&g);
    }
    return series;
}

// The first parameter's values along x: as numbers when they all are, else
// evenly spaced in order of appearance.
class TXAxis
{
public:
    explicit TXAxis(const std::vector<TSweepGroup>& groups)
    {
        for (const TSweepGroup& g : groups) {
            const std::string text = g.values.empty() ? std::string("all") : g.values.front();
            if (positions.count(text))
                continue;
            double value = 0.0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            numeric = numeric && ec == std::errc() && end == text.data() + text.size();
            positions.emplace(text, numeric ? value : static_cast<double>(order.size()));
            order.push_back(text);
        }
        if (!numeric)
            for (std::size_t i = 0; i < order.size(); ++i)
                positions[order[i]] = static_cast<double>(i);
        for (const auto& [text, at] : positions) {
            low = std::min(low, at);
            high = std::max(high, at);
        }
        // Half a step of room on either side, so that the end whiskers show.
        const double pad = order.size() > 1 ? (high - low) / static_cast<double>(order.size() - 1) / 2.0 : 0.5;
        low -= pad;
        high += pad;
    }

    double At(const TSweepGroup& g) const { return positions.at(g.values.empty() ? std::string("all") : g.values.front()); }

    std::vector<std::string> order;
    std::map<std::string, double> positions;
    double low = 1e300;
    double high = -1e300;
    // Values that are not all numbers are categories: no line joins them.
    bool numeric = true;
};

// A downward triangle: runs that have no finish time.
void DrawCensoredMark(QPainter& painter, QPointF centre, const QColor& colour)
{
    const QPolygonF triangle{centre + QPointF(-5, -4), centre + QPointF(5, -4), centre + QPointF(0, 5)};
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPolygon(triangle);
    painter.setBrush(Qt::NoBrush);
}

// The group's stalled and limited runs at the top of the area: the mark and
// their share of its runs.
void DrawCensored(QPainter& painter, const QFontMetrics& metrics, const QRect& area, double px, const QColor& colour,
                  const TSweepGroup& g)
{
    const double share = static_cast<double>(g.runs - g.finished) / static_cast<double>(g.runs) * 100.0;
    const QString text = QStringLiteral("%1 %").arg(std::lround(share));
    DrawCensoredMark(painter, QPointF(px, area.top() + 8), colour);
    const double left = std::clamp(px - metrics.horizontalAdvance(text) / 2.0, double(area.left() + 2),
                                   area.right() - metrics.horizontalAdvance(text) - 2.0);
    painter.setPen(Ink);
    painter.drawText(QPointF(left, area.top() + 16 + metrics.ascent()), text);
}

} // namespace

void PaintSweepPlot(QPainter& painter, const TSweepTable& table, const std::vector<TSweepGroup>& groups, QSize size)
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const std::vector<TSeries> series = SeriesOf(table, groups);
    int legendWidth = metrics.horizontalAdvance(QStringLiteral("n % at the top: runs finished,"));
    if (series.size() > 1)
        for (const TSeries& one : series)
            legendWidth = std::max(legendWidth, 30 + metrics.horizontalAdvance(QString::fromStdString(one.name)));
    const int rightMargin = std::clamp(legendWidth + 24, LeastRightMargin, std::max(LeastRightMargin, size.width() / 2));
    const QRect area(LeftMargin, TopMargin, std::max(1, size.width() - LeftMargin - rightMargin),
                     std::max(1, size.height() - TopMargin - BottomMargin));

    // The scale spans the finished runs; a stalled or limited run has no
    // finish time and is marked apart, at the top, with its share.
    const TXAxis xAxis(groups);
    double slowest = 1.0;
    for (const TSweepGroup& g : groups)
        slowest = std::max(slowest, static_cast<double>(g.max));
    const double top = slowest * 1.1;
    const auto x = [&](double at) { return area.left() + (at - xAxis.low) / (xAxis.high - xAxis.low) * area.width(); };
    const auto y = [&](double steps) { return area.bottom() - steps / top * area.height(); };

    // Time up the left in h:mm, with grid lines; the first parameter along the bottom.
    const double tick = TimeTickMinutes(top / StepsPerMinute, 8) * StepsPerMinute;
    for (double steps = 0.0; steps <= top; steps += tick) {
        const int at = static_cast<int>(std::lround(y(steps)));
        painter.setPen(Grid);
        painter.drawLine(area.left(), at, area.right(), at);
        painter.setPen(Ink);
        const std::string hms = FormatSimulatedTime(static_cast<std::int64_t>(steps));
        const QString text = QString::fromStdString(hms.substr(0, hms.size() - 3));
        painter.drawText(area.left() - 6 - metrics.horizontalAdvance(text), at + metrics.ascent() / 2, text);
    }
    for (const auto& [text, at] : xAxis.positions) {
        const int px = static_cast<int>(std::lround(x(at)));
        painter.drawLine(px, area.bottom(), px, area.bottom() + 4);
        const QString label = QString::fromStdString(text);
        painter.drawText(px - metrics.horizontalAdvance(label) / 2, area.bottom() + 6 + metrics.ascent(), label);
    }
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    const QString xTitle = QString::fromStdString(table.parameters.empty() ? "all runs" : table.parameters.front());
    painter.drawText(area.center().x() - metrics.horizontalAdvance(xTitle) / 2,
                     area.bottom() + 8 + metrics.height() + metrics.ascent(), xTitle);
    painter.save();
    painter.translate(14, area.center().y());
    painter.rotate(-90);
    const QString yTitle = QStringLiteral("finish time, simulated h:mm (%1 steps/s)").arg(StepsPerSecond);
    painter.drawText(-metrics.horizontalAdvance(yTitle) / 2, metrics.ascent() / 2, yTitle);
    painter.restore();

    std::size_t seeds = 0;
    for (const TSweepGroup& g : groups)
        seeds = std::max(seeds, g.runs);
    painter.drawText(area.left(), TopMargin - 12,
                     QStringLiteral("Finish time of the move across %1 seeds per value").arg(seeds));

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setClipRect(area);
    const double capWidth = std::min(10.0, area.width() / std::max<std::size_t>(1, xAxis.order.size()) / 4.0);
    for (std::size_t s = 0; s < series.size(); ++s) {
        const QColor colour = QColor::fromRgb(CategoryRgb(s));
        std::vector<const TSweepGroup*> ordered = series[s].groups;
        std::sort(ordered.begin(), ordered.end(), [&](auto* a, auto* b) { return xAxis.At(*a) < xAxis.At(*b); });
        for (const TSweepGroup* g : ordered)
            if (g->finished < g->runs)
                DrawCensored(painter, metrics, area, x(xAxis.At(*g)), colour, *g);
        std::erase_if(ordered, [](const TSweepGroup* g) { return g->finished == 0; });

        QPolygonF band, median;
        for (const TSweepGroup* g : ordered)
            band << QPointF(x(xAxis.At(*g)), y(g->p90));
        for (auto g = ordered.rbegin(); g != ordered.rend(); ++g)
            band << QPointF(x(xAxis.At(**g)), y((*g)->p10));
        QColor fill = colour;
        fill.setAlpha(60);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        if (xAxis.numeric)
            painter.drawPolygon(band);
        else
            for (const TSweepGroup* g : ordered) {
                const double px = x(xAxis.At(*g));
                painter.drawRect(QRectF(QPointF(px - 2 * capWidth, y(g->p90)), QPointF(px + 2 * capWidth, y(g->p10))));
            }
        painter.setBrush(Qt::NoBrush);

        for (const TSweepGroup* g : ordered) {
            const double px = x(xAxis.At(*g));
            painter.setPen(QPen(colour, 1.2));
            painter.drawLine(QPointF(px, y(static_cast<double>(g->min))), QPointF(px, y(static_cast<double>(g->max))));
            for (const std::int64_t end : {g->min, g->max})
                painter.drawLine(QPointF(px - capWidth, y(static_cast<double>(end))),
                                 QPointF(px + capWidth, y(static_cast<double>(end))));
            median << QPointF(px, y(g->median));
        }
        painter.setPen(QPen(colour, 2.5));
        if (xAxis.numeric)
            painter.drawPolyline(median);
        painter.setBrush(colour);
        for (const QPointF& point : median)
            painter.drawEllipse(point, 3.0, 3.0);
        painter.setBrush(Qt::NoBrush);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipping(false);

    // The legend: what the marks mean, then the series.
    const int left = area.right() + 14;
    const int line = metrics.height() + 6;
    int at = area.top();
    const QColor first = QColor::fromRgb(CategoryRgb(0));
    QColor firstFill = first;
    firstFill.setAlpha(60);
    painter.fillRect(QRect(left, at, 24, line - 4), firstFill);
    painter.setPen(Ink);
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("10th to 90th percentile"));
    at += line;
    painter.setPen(QPen(first, 2.5));
    painter.drawLine(left, at + line / 2 - 2, left + 24, at + line / 2 - 2);
    painter.setPen(Ink);
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("median"));
    at += line;
    painter.setPen(QPen(first, 1.2));
    painter.drawLine(left + 12, at, left + 12, at + line - 4);
    painter.drawLine(left + 6, at, left + 18, at);
    painter.drawLine(left + 6, at + line - 4, left + 18, at + line - 4);
    painter.setPen(Ink);
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("fastest to slowest seed"));
    at += line;
    DrawCensoredMark(painter, QPointF(left + 12, at + line / 2 - 2), first);
    painter.setPen(Ink);
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("n %: runs that stalled"));
    at += line - 4;
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("or met the step limit,"));
    at += line - 4;
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("without a finish time"));
    at += line;
    if (series.size() > 1)
        for (std::size_t s = 0; s < series.size(); ++s) {
            at += s == 0 ? line / 2 : 0;
            painter.fillRect(QRect(left, at + 2, 24, line - 8), QColor::fromRgb(CategoryRgb(s)));
            painter.drawText(left + 30, at + metrics.ascent(),
                             metrics.elidedText(QString::fromStdString(series[s].name), Qt::ElideRight,
                                                size.width() - left - 34));
            at += line;
        }
}

bool WriteSweepPlot(const TSweepTable& table, const std::vector<TSweepGroup>& groups, const std::string& path,
                    std::string& error)
{
    const QSize size(1000, 600);
    return WritePicture(size, [&](QPainter& painter) { PaintSweepPlot(painter, table, groups, size); }, path, error);
}
