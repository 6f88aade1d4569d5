#include "analysis/MovePlot.h"

#include "analysis/PlotColours.h"
#include "analysis/MoveReport.h"
#include "analysis/PictureFile.h"
#include "analysis/PlotAxes.h"
#include "analysis/MoveOverview.h"
#include "model/clsSimulationTime.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int LeftMargin = 64;
constexpr int RightMargin = 150;
constexpr int TopMargin = 30;
constexpr int BottomMargin = 52;

// The plot area is the chain view's grey, so that white and yellow persons
// show as well as black and blue ones; flights of steps are a darker band.
const QColor PlainGround(140, 140, 140);
const QColor StepsGround(108, 108, 108);
const QColor Paper(255, 255, 255);
const QColor Ink(0, 0, 0);

void DrawGround(QPainter& painter, const TPlotFrame& frame, const TMoveLayout& layout)
{
    painter.fillRect(frame.area, PlainGround);
    for (const TMoveLayout::TStretch& s : layout.stretches) {
        if (!s.steps)
            continue;
        const double top = frame.Y(s.start + s.length);
        const double bottom = frame.Y(s.start);
        painter.fillRect(QRectF(frame.area.left(), top, frame.area.width(), bottom - top), StepsGround);
    }
}

// Steps are labelled from firstStep, where a window of a run begins.
void DrawAxes(QPainter& painter, const TPlotFrame& frame, std::int64_t firstStep)
{
    const QRect& a = frame.area;
    const QFontMetrics metrics(painter.font());
    painter.setPen(QPen(Ink, 1));
    painter.drawRect(a.adjusted(0, 0, -1, -1));

    // Steps and simulated time along the bottom.
    const double stepTick = std::max(1.0, TickSpacing(static_cast<double>(frame.steps), 8));
    for (double step = 0.0; step <= static_cast<double>(frame.steps); step += stepTick) {
        const int x = static_cast<int>(std::lround(frame.X(step)));
        painter.drawLine(x, a.bottom(), x, a.bottom() + 4);
        const auto whole = firstStep + static_cast<std::int64_t>(step);
        const QString stepText = QString::number(whole);
        const QString timeText = QString::fromStdString(FormatSimulatedTime(whole));
        painter.drawText(x - metrics.horizontalAdvance(stepText) / 2, a.bottom() + 6 + metrics.ascent(), stepText);
        painter.drawText(x - metrics.horizontalAdvance(timeText) / 2, a.bottom() + 6 + metrics.height() + metrics.ascent(),
                         timeText);
    }
    const QString xTitle = QStringLiteral("step  /  simulated time h:mm:ss at %1 steps/s").arg(StepsPerSecond);
    painter.drawText(a.center().x() - metrics.horizontalAdvance(xTitle) / 2,
                     a.bottom() + 6 + 2 * metrics.height() + metrics.ascent(), xTitle);

    // Trail positions up the left, times 100 as the window shows them.
    const double positionTick = TickSpacing(frame.trailLength * 100.0, 7) / 100.0;
    for (double p = 0.0; p <= frame.trailLength * (1.0 + 1e-9); p += positionTick) {
        const int y = static_cast<int>(std::lround(frame.Y(p)));
        painter.drawLine(a.left() - 4, y, a.left(), y);
        const QString text = QString::number(std::lround(p * 100.0));
        painter.drawText(a.left() - 6 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2, text);
    }
    painter.save();
    painter.translate(12, a.center().y());
    painter.rotate(-90);
    const QString yTitle = QStringLiteral("trail position × 100 (source 0, sink at the top)");
    painter.drawText(-metrics.horizontalAdvance(yTitle) / 2, metrics.ascent() / 2, yTitle);
    painter.restore();
}

// Up to this many steps per pixel column every turn of a person still shows,
// and its track is drawn as it walked; beyond, as its range and mean per column.
constexpr std::int64_t MostStepsForExactTracks = 4;

bool OnBreakMostly(const TTrackBin& bin)
{
    return bin.activity[static_cast<std::size_t>(TActivity::OnBreak)] * 2 > bin.Steps();
}

double CarryingShare(const TTrackBin& bin)
{
    return static_cast<double>(bin.carrying) / static_cast<double>(bin.Steps());
}

void DrawBreakStart(QPainter& painter, QPointF at, const QColor& colour)
{
    painter.setPen(QPen(Ink, 1));
    painter.setBrush(colour);
    painter.drawEllipse(at, 4.0, 4.0);
    painter.setBrush(Qt::NoBrush);
}

// The range a person covered in each column, as a faint band.
void DrawRange(QPainter& painter, const TPlotFrame& frame, const std::vector<TTrackBin>& track, QColor colour)
{
    colour.setAlpha(45);
    double left = frame.X(0.0);
    for (const TTrackBin& bin : track) {
        const double right = frame.X(static_cast<double>(bin.lastStep));
        const double top = frame.Y(bin.high);
        painter.fillRect(QRectF(left, top, std::max(1.0, right - left), frame.Y(bin.low) - top + 1.0), colour);
        left = right;
    }
}

// Thick while the person holds a load, dotted on a break; for columns of many
// steps the width grows with the share of steps carrying. Runs of columns with
// the same pen are drawn as one line, so that a break's dots do not restart
// in every column.
void DrawTrack(QPainter& painter, const TPlotFrame& frame, const std::vector<TTrackBin>& track, QPointF start,
               const QColor& colour, bool dashed, bool exact)
{
    QPolygonF run{start};
    QPen runPen;
    const auto flush = [&](QPointF from) {
        if (run.size() > 1) {
            painter.setPen(runPen);
            painter.drawPolyline(run);
        }
        run = QPolygonF{from};
    };
    for (const TTrackBin& bin : track) {
        const double x = frame.X(static_cast<double>(bin.lastStep));
        const double share = CarryingShare(bin);
        const double width = exact ? (share > 0.5 ? 3.0 : 1.0) : 1.0 + 0.5 * std::round(5.0 * share);
        const QPen pen(colour, width, OnBreakMostly(bin) ? Qt::DotLine : dashed ? Qt::DashLine : Qt::SolidLine,
                       Qt::RoundCap, Qt::RoundJoin);
        if (pen != runPen) {
            flush(run.back());
            runPen = pen;
        }
        if (!exact) {
            run << QPointF(x, frame.Y(bin.Mean()));
            continue;
        }
        // Through both extremes of the column, the nearer one first.
        const bool lowFirst = bin.first - bin.low < bin.high - bin.first;
        for (const float position : {bin.first, lowFirst ? bin.low : bin.high, lowFirst ? bin.high : bin.low, bin.last})
            run << QPointF(x, frame.Y(position));
    }
    flush(run.back());
}

void DrawPersons(QPainter& painter, const TPlotFrame& frame, const TMoveRecord& record)
{
    const TMoveLayout& layout = record.GetLayout();
    const bool exact = frame.StepsPerColumn() <= MostStepsForExactTracks;
    std::vector<std::vector<TTrackBin>> tracks;
    for (std::size_t i = 0; i < layout.persons.size(); ++i)
        tracks.push_back(record.GetTrack(i, frame.StepsPerColumn()));

    if (!exact)
        for (std::size_t i = 0; i < tracks.size(); ++i)
            DrawRange(painter, frame, tracks[i], PersonColour(i));
    for (std::size_t i = 0; i < tracks.size(); ++i)
        DrawTrack(painter, frame, tracks[i], QPointF(frame.X(0.0), frame.Y(record.GetInitial()[i].position)),
                  PersonColour(i), PersonDashed(i), exact);
    for (std::size_t i = 0; i < tracks.size(); ++i)
        for (const TTrackBin& bin : tracks[i])
            if (bin.breakStarts > 0)
                DrawBreakStart(painter,
                               QPointF(frame.X(static_cast<double>(bin.lastStep)), frame.Y(exact ? bin.first : bin.Mean())),
                               PersonColour(i));
}

void DrawLegend(QPainter& painter, const TPlotFrame& frame, const TMoveLayout& layout)
{
    const QFontMetrics metrics(painter.font());
    const int left = frame.area.right() + 12;
    const int line = metrics.height() + 2;
    int y = frame.area.top();
    const auto swatch = [&](const QPen& pen) {
        painter.fillRect(QRect(left, y, 24, line - 2), PlainGround);
        painter.setPen(pen);
        painter.drawLine(left + 3, y + line / 2 - 1, left + 21, y + line / 2 - 1);
        painter.setPen(QPen(Ink, 1));
    };
    // Explanations last; persons that do not fit are counted, not listed.
    const int explanations = 5;
    const int room = std::max(0, (frame.area.bottom() - y) / line - explanations - 1);
    const int listed = std::min(static_cast<int>(layout.persons.size()), room);
    for (int i = 0; i < listed; ++i) {
        const TMoveLayout::TPersonInfo& p = layout.persons[static_cast<std::size_t>(i)];
        swatch(QPen(PersonColour(static_cast<std::size_t>(i)), 3,
                    PersonDashed(static_cast<std::size_t>(i)) ? Qt::DashLine : Qt::SolidLine));
        painter.drawText(left + 30, y + metrics.ascent(),
                         QStringLiteral("%1 (%2)").arg(QString::fromStdString(p.name)).arg(p.id));
        y += line;
    }
    if (listed < static_cast<int>(layout.persons.size())) {
        painter.drawText(left, y + metrics.ascent(),
                         QStringLiteral("and %1 more").arg(layout.persons.size() - static_cast<std::size_t>(listed)));
        y += line;
    }
    y += line / 2;
    swatch(QPen(Ink, 3));
    painter.drawText(left + 30, y + metrics.ascent(), QStringLiteral("carrying a load"));
    y += line;
    swatch(QPen(Ink, 1));
    painter.drawText(left + 30, y + metrics.ascent(), QStringLiteral("empty hands"));
    y += line;
    swatch(QPen(Ink, 1, Qt::DotLine));
    painter.drawText(left + 30, y + metrics.ascent(), QStringLiteral("on a break"));
    y += line;
    painter.fillRect(QRect(left, y, 24, line - 2), PlainGround);
    DrawBreakStart(painter, QPointF(left + 12, y + line / 2 - 1), Paper);
    painter.drawText(left + 30, y + metrics.ascent(), QStringLiteral("a break begins"));
    y += line;
    painter.fillRect(QRect(left, y, 24, line - 2), StepsGround);
    painter.drawText(left + 30, y + metrics.ascent(), QStringLiteral("flight of steps"));
}

} // namespace

double TPlotFrame::X(double step) const
{
    return area.left() + step / static_cast<double>(steps) * (area.width() - 1);
}

double TPlotFrame::Y(double position) const
{
    return area.bottom() - position / trailLength * (area.height() - 1);
}

std::int64_t TPlotFrame::StepsPerColumn() const
{
    const std::int64_t columns = std::max(1, area.width());
    return std::max<std::int64_t>(1, (steps + columns - 1) / columns);
}

TPlotFrame TPlotFrame::For(QSize size, std::int64_t steps, double trailLength)
{
    TPlotFrame frame;
    frame.area = QRect(LeftMargin, TopMargin, std::max(1, size.width() - LeftMargin - RightMargin),
                       std::max(1, size.height() - TopMargin - BottomMargin));
    frame.steps = std::max<std::int64_t>(1, steps);
    frame.trailLength = trailLength > 0.0 ? trailLength : 1.0;
    return frame;
}

QColor PersonColour(std::size_t index)
{
    return QColor::fromRgb(PersonRgb(index));
}

void PaintMovePlot(QPainter& painter, const TMoveRecord& record, QSize size)
{
    painter.fillRect(QRect(QPoint(0, 0), size), Paper);
    const TMoveLayout& layout = record.GetLayout();
    const TPlotFrame frame = TPlotFrame::For(size, record.GetStepCount(), layout.trailLength);

    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    DrawGround(painter, frame, layout);
    DrawAxes(painter, frame, layout.firstStep);

    painter.setClipRect(frame.area);
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawPersons(painter, frame, record);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipping(false);

    const TMoveReport report = SummariseMove(record);
    const std::int64_t first = layout.firstStep;
    const QString title =
        first > 0 ? QStringLiteral("The move, steps %1 to %2 (%3 to %4)")
                        .arg(first)
                        .arg(first + report.steps)
                        .arg(QString::fromStdString(FormatSimulatedTime(first)))
                        .arg(QString::fromStdString(FormatSimulatedTime(first + report.steps)))
        : report.finishStep >= 0
            ? QStringLiteral("The move: %1 loads delivered in %2 steps (%3)")
                  .arg(report.stock)
                  .arg(report.finishStep)
                  .arg(QString::fromStdString(FormatSimulatedTime(report.finishStep)))
            : QStringLiteral("The move, unfinished: %1 of %2 loads delivered in %3 steps (%4)")
                  .arg(report.delivered)
                  .arg(report.stock)
                  .arg(report.steps)
                  .arg(QString::fromStdString(FormatSimulatedTime(report.steps)));
    painter.setPen(QPen(Ink, 1));
    painter.drawText(frame.area.left(), TopMargin - 10, title);
    DrawLegend(painter, frame, layout);
}

QImage DrawMovePlot(const TMoveRecord& record, QSize size)
{
    return PaintedImage(size, [&](QPainter& painter) { PaintMovePlot(painter, record, size); });
}

bool WriteMovePlot(const TMoveRecord& record, const std::string& path, std::string& error)
{
    // Once single hand-overs no longer show, the overview answers more at a glance.
    const TMoveLayout& layout = record.GetLayout();
    const bool overview = layout.firstStep == 0
        && TPlotFrame::For(PlotSize, record.GetStepCount(), layout.trailLength).StepsPerColumn()
            > MostStepsForExactTracks;
    if (overview)
        return WritePicture(OverviewSize, [&](QPainter& painter) { PaintMoveOverview(painter, record, OverviewSize); },
                            path, error);
    return WritePicture(PlotSize, [&](QPainter& painter) { PaintMovePlot(painter, record, PlotSize); }, path, error);
}
