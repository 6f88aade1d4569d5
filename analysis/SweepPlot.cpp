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
#include <limits>
#include <optional>
#include <map>

namespace {

constexpr int LeftMargin = 70;
// The legend's least width; a wider one takes up to half the picture.
constexpr int LeastRightMargin = 210;
constexpr int TopMargin = 36;
constexpr int BottomMargin = 48;

const QColor Ink(0, 0, 0);

// Each series' median dashed its own way, so that one drawn over another still shows.
Qt::PenStyle SeriesDash(std::size_t series)
{
    constexpr Qt::PenStyle Dashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
    return Dashes[series % std::size(Dashes)];
}
const QColor Grid(225, 225, 225);

// A series: the groups that share the values of every parameter but the first.
struct TSeries
{
    std::string name;
    std::vector<const TSweepGroup*> groups;
};

// A field's name in the picture: the style's words, else the pointer.
std::string FieldName(const TSweepTable& table, const TSweepPlotStyle& style, std::size_t k)
{
    return k < style.fieldNames.size() ? style.fieldNames[k] : table.parameters[k];
}

std::vector<TSeries> SeriesOf(const TSweepTable& table, const std::vector<TSweepGroup>& groups,
                              const TSweepPlotStyle& style)
{
    std::vector<TSeries> series;
    std::map<std::vector<std::string>, std::size_t> index;
    for (const TSweepGroup& g : groups) {
        const std::vector<std::string> rest(g.values.size() > 1 ? g.values.begin() + 1 : g.values.end(), g.values.end());
        const auto [at, added] = index.try_emplace(rest, series.size());
        if (added) {
            std::string name;
            for (std::size_t k = 0; k < rest.size(); ++k)
                name += (k ? ", " : "") + FieldName(table, style, k + 1) + " = " + rest[k];
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

// A downward triangle: runs still under way at the step limit.
void DrawLimitMark(QPainter& painter, QPointF centre, const QColor& colour)
{
    const QPolygonF triangle{centre + QPointF(-5, -4), centre + QPointF(5, -4), centre + QPointF(0, 5)};
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPolygon(triangle);
    painter.setBrush(Qt::NoBrush);
}

// A cross: runs that stood still for good.
void DrawStalledMark(QPainter& painter, QPointF centre, const QColor& colour)
{
    painter.setPen(QPen(colour, 2.0));
    painter.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
    painter.drawLine(centre + QPointF(-4, 4), centre + QPointF(4, -4));
}

// The group's runs at the limit and stalled runs at the top of the area, each
// with its mark and its share of the group's runs.
void DrawCensored(QPainter& painter, const QFontMetrics& metrics, const QRect& area, double px, const QColor& colour,
                  const TSweepGroup& g)
{
    double row = area.top() + 8;
    const auto mark = [&](std::size_t count, void (*draw)(QPainter&, QPointF, const QColor&)) {
        if (count == 0)
            return;
        const double share = static_cast<double>(count) / static_cast<double>(g.runs) * 100.0;
        const QString text = QStringLiteral("%1 %").arg(std::lround(share));
        draw(painter, QPointF(px, row), colour);
        const double left = std::clamp(px - metrics.horizontalAdvance(text) / 2.0, double(area.left() + 2),
                                       area.right() - metrics.horizontalAdvance(text) - 2.0);
        painter.setPen(Ink);
        painter.drawText(QPointF(left, row + 8 + metrics.ascent()), text);
        row += 12 + metrics.height();
    };
    mark(g.limited, DrawLimitMark);
    mark(g.stalled, DrawStalledMark);
}

} // namespace

void PaintSweepPlot(QPainter& painter, const TSweepTable& table, const std::vector<TSweepGroup>& groups, QSize size,
                    const TSweepPlotStyle& style)
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const std::vector<TSeries> series = SeriesOf(table, groups, style);
    int legendWidth = metrics.horizontalAdvance(QStringLiteral("n %: runs at the step limit"));
    if (series.size() > 1)
        for (const TSeries& one : series)
            legendWidth = std::max(legendWidth, 30 + metrics.horizontalAdvance(QString::fromStdString(one.name)));
    const int rightMargin = std::clamp(legendWidth + 24, LeastRightMargin, std::max(LeastRightMargin, size.width() / 2));
    const QRect area(LeftMargin, TopMargin, std::max(1, size.width() - LeftMargin - rightMargin),
                     std::max(1, size.height() - TopMargin - BottomMargin));

    // The scale spans the finished runs and the deadline; a stalled or
    // limited run has no finish time and is marked apart, at the top.
    const TXAxis xAxis(groups);
    double slowest = 1.0;
    double fastest = std::numeric_limits<double>::max();
    for (const TSweepGroup& g : groups) {
        for (const auto& [seed, time] : g.bySeed)
            if (time.kind == TFinishTime::TKind::Finished) {
                slowest = std::max(slowest, static_cast<double>(time.steps));
                fastest = std::min(fastest, static_cast<double>(time.steps));
            }
    }
    if (style.deadline) {
        slowest = std::max(slowest, static_cast<double>(*style.deadline));
        fastest = std::min(fastest, static_cast<double>(*style.deadline));
    }
    fastest = std::min(fastest, slowest);
    const double roughTick = TimeTickMinutes((slowest - fastest) * 1.2 / StepsPerMinute + 1.0, 8) * StepsPerMinute;
    // Near the data, on a whole tick below the fastest run, so that the spread shows.
    const double bottom = style.fromZero ? 0.0 : std::max(0.0, std::floor((fastest - roughTick / 2) / roughTick) * roughTick);
    const double top = slowest + (slowest - bottom) * 0.15;
    const auto x = [&](double at) { return area.left() + (at - xAxis.low) / (xAxis.high - xAxis.low) * area.width(); };
    const auto y = [&](double steps) { return area.bottom() - (steps - bottom) / (top - bottom) * area.height(); };

    // Time up the left in h:mm, with grid lines; the first parameter along the bottom.
    const double tick = TimeTickMinutes((top - bottom) / StepsPerMinute, 8) * StepsPerMinute;
    for (double steps = std::ceil(bottom / tick) * tick; steps <= top; steps += tick) {
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
    const QString xTitle = QString::fromStdString(table.parameters.empty() ? "all runs" : FieldName(table, style, 0));
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
    const double slot = area.width() / static_cast<double>(std::max<std::size_t>(1, xAxis.order.size()));
    const double capWidth = std::min(10.0, slot / 4.0);
    // Series side by side within a value's slot, so that equal medians both show.
    const double spread = series.size() > 1 ? std::min(8.0, slot / 3.0 / static_cast<double>(series.size())) : 0.0;
    for (std::size_t s = 0; s < series.size(); ++s) {
        const QColor colour = QColor::fromRgb(CategoryRgb(s));
        const double offset = (static_cast<double>(s) - static_cast<double>(series.size() - 1) / 2.0) * spread;
        const auto px = [&](const TSweepGroup& g) { return x(xAxis.At(g)) + offset; };
        std::vector<const TSweepGroup*> ordered = series[s].groups;
        std::sort(ordered.begin(), ordered.end(), [&](auto* a, auto* b) { return xAxis.At(*a) < xAxis.At(*b); });
        for (const TSweepGroup* g : ordered)
            if (g->finished < g->runs)
                DrawCensored(painter, metrics, area, px(*g), colour, *g);
        // Figures that rest on runs that did not finish are above the picture.
        const auto yOf = [&](const std::optional<TFinishTime>& t) { return y(FinishedSteps(t).value_or(top * 2)); };
        std::erase_if(ordered, [](const TSweepGroup* g) { return !FinishedSteps(g->median); });

        QPolygonF band, median;
        for (const TSweepGroup* g : ordered)
            band << QPointF(px(*g), yOf(g->p90));
        for (auto g = ordered.rbegin(); g != ordered.rend(); ++g)
            band << QPointF(px(**g), yOf((*g)->p10));
        QColor fill = colour;
        fill.setAlpha(60);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        if (xAxis.numeric)
            painter.drawPolygon(band);
        else
            for (const TSweepGroup* g : ordered)
                painter.drawRect(QRectF(QPointF(px(*g) - 2 * capWidth, yOf(g->p90)), QPointF(px(*g) + 2 * capWidth, yOf(g->p10))));
        painter.setBrush(Qt::NoBrush);

        for (const TSweepGroup* g : ordered) {
            const double at = px(*g);
            painter.setPen(QPen(colour, 1.2));
            painter.drawLine(QPointF(at, yOf(g->min)), QPointF(at, yOf(g->max)));
            for (const std::optional<TFinishTime>& end : {g->min, g->max})
                painter.drawLine(QPointF(at - capWidth, yOf(end)), QPointF(at + capWidth, yOf(end)));
            median << QPointF(at, yOf(g->median));
        }
        QPen medianPen(colour, 2.5);
        medianPen.setStyle(SeriesDash(s));
        painter.setPen(medianPen);
        if (xAxis.numeric)
            painter.drawPolyline(median);
        painter.setBrush(colour);
        for (const QPointF& point : median)
            painter.drawEllipse(point, 3.0, 3.0);
        painter.setBrush(Qt::NoBrush);
    }
    if (style.deadline) {
        painter.setPen(QPen(Ink, 1.5, Qt::DashDotLine));
        painter.drawLine(QPointF(area.left(), y(static_cast<double>(*style.deadline))),
                         QPointF(area.right(), y(static_cast<double>(*style.deadline))));
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
    DrawLimitMark(painter, QPointF(left + 12, at + line / 2 - 2), first);
    painter.setPen(Ink);
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("n %: runs at the step limit"));
    at += line;
    DrawStalledMark(painter, QPointF(left + 12, at + line / 2 - 2), first);
    painter.setPen(Ink);
    painter.drawText(left + 30, at + metrics.ascent(), QStringLiteral("n %: runs that stalled"));
    at += line;
    if (style.deadline) {
        painter.setPen(QPen(Ink, 1.5, Qt::DashDotLine));
        painter.drawLine(left, at + line / 2 - 2, left + 24, at + line / 2 - 2);
        painter.setPen(Ink);
        painter.drawText(left + 30, at + metrics.ascent(),
                         QStringLiteral("deadline %1").arg(QString::fromStdString(FormatSimulatedTime(*style.deadline))));
        at += line;
    }
    if (series.size() > 1)
        for (std::size_t s = 0; s < series.size(); ++s) {
            at += s == 0 ? line / 2 : 0;
            QPen pen(QColor::fromRgb(CategoryRgb(s)), 2.5);
            pen.setStyle(SeriesDash(s));
            painter.setPen(pen);
            painter.drawLine(left, at + line / 2 - 2, left + 24, at + line / 2 - 2);
            painter.setPen(Ink);
            painter.drawText(left + 30, at + metrics.ascent(),
                             metrics.elidedText(QString::fromStdString(series[s].name), Qt::ElideRight,
                                                size.width() - left - 34));
            at += line;
        }
}

bool WriteSweepPlot(const TSweepTable& table, const std::vector<TSweepGroup>& groups, const TSweepPlotStyle& style,
                    const std::string& path, std::string& error)
{
    const QSize size(1000, 600);
    return WritePicture(size, [&](QPainter& painter) { PaintSweepPlot(painter, table, groups, size, style); }, path,
                        error);
}
