#include "view/clsChainPainter.h"

#include "analysis/HandlerColours.h"
#include "model/clsChainState.h"
#include "model/clsTrail.h"
#include "strings/clsStringTable.h"
#include "view/clsChainGeometry.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

constexpr std::int32_t BreakTextId = 2200;

constexpr int TrailWidth = 5;
constexpr int BarWidth = 3;
constexpr int HomeLineWidth = 1;
constexpr std::int32_t HomeLineDrop = 12;
constexpr std::int32_t LoadPitch = 7;

// The picture's geometry is pinned in pixels, so is the font: 8 points at 96
// pixels per inch.
constexpr int FontPixelSize = 11;

} // namespace

const QColor TChainPainter::Background(128, 128, 128);
const QColor TChainPainter::RisingSection(0, 128, 0);
const QColor TChainPainter::LevelSection(0, 0, 255);
const QColor TChainPainter::Load(255, 32, 255);
const QColor TChainPainter::Selection(255, 255, 255);
// Green and yellow, as the built-in move has always shown them.
const QColor TChainPainter::SourceColour(0, 128, 0);
const QColor TChainPainter::SinkColour(255, 255, 0);

TChainPainter::TChainPainter()
    : font(QStringLiteral("DejaVu Sans"))
    , breakText(GetStringById(BreakTextId))
{
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(FontPixelSize);
    fontAscent = QFontMetrics(font).ascent();
}

QColor TChainPainter::HandlerColour(std::int32_t id)
{
    return QColor::fromRgb(HandlerRgb(id));
}

QColor TChainPainter::CrowdColour(TCrowdActivity activity)
{
    switch (activity) {
    case TCrowdActivity::Carrying:
        return Load;
    case TCrowdActivity::Empty:
        return Qt::white;
    case TCrowdActivity::Handing:
        return Qt::cyan;
    case TCrowdActivity::Resting:
        return Qt::black;
    }
    return Qt::white;
}

QColor TChainPainter::HandlerColour(const THandlerState& handler)
{
    switch (handler.kind) {
    case THandlerState::TKind::Source:
        return SourceColour;
    case THandlerState::TKind::Sink:
        return SinkColour;
    default:
        return HandlerColour(handler.id);
    }
}

void TChainPainter::DrawMark(QPainter& canvas, TMark mark, const QRect& rect, const QColor& colour) const
{
    constexpr int Inset = 4;
    const QPoint centre = rect.center();
    const std::int32_t bottom = rect.bottom() - Inset / 2;
    const std::int32_t top = std::max(rect.top() + Inset, bottom - BarHeight);
    canvas.save();
    canvas.setFont(font);
    switch (mark) {
    case TMark::Source:
        DrawBar(canvas, centre.x(), bottom, top, SourceColour);
        break;
    case TMark::Sink:
        DrawBar(canvas, centre.x(), bottom, top, SinkColour);
        break;
    case TMark::Person:
        DrawBar(canvas, centre.x(), bottom, top, colour);
        break;
    case TMark::Load:
        DrawLoads(canvas, centre.x(), centre.y(), 1);
        break;
    case TMark::HomeArea:
        DrawHomeLine(canvas, rect.left() + Inset, rect.right() - Inset, centre.y(), colour);
        break;
    case TMark::Break:
        canvas.setPen(textColour);
        DrawText(canvas, rect.left(), centre.y() - fontAscent / 2, breakText);
        break;
    case TMark::RisingSection:
        DrawSection(canvas, {rect.left() + Inset, bottom - Inset}, {rect.right() - Inset, rect.top() + Inset}, true);
        break;
    case TMark::LevelSection:
        DrawSection(canvas, {rect.left() + Inset, centre.y()}, {rect.right() - Inset, centre.y()}, false);
        break;
    case TMark::Crowd: {
        // Three columns wide, so that the colour can be told.
        TCrowdDensity::TBin counts{};
        for (std::size_t k = 0; k < counts.size(); ++k)
            counts[k] = !colour.isValid() || CrowdColour(static_cast<TCrowdActivity>(k)) == colour ? 1 : 0;
        for (int x = centre.x() - 1; x <= centre.x() + 1; ++x)
            DrawCrowdColumn(canvas, x, bottom, bottom - top, counts);
        break;
    }
    }
    canvas.restore();
}

QString TChainPainter::StepsText(std::int32_t stepsPerSecond, bool overrun)
{
    return QString::number(stepsPerSecond) + QStringLiteral(" steps/s ") + (overrun ? QStringLiteral("*") : QString());
}

QString TChainPainter::FramesText(std::int32_t framesPerSecond)
{
    return QString::number(framesPerSecond) + QStringLiteral(" frames/s");
}

QImage TChainPainter::Render(QSize size, const TTrail* trail, const TChainState& chain,
                             std::int32_t framesPerSecond, qreal devicePixelRatio) const
{
    if (size.isEmpty())
        return {};
    const QSize devicePixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                             static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
    QImage picture(devicePixels, QImage::Format_RGB32);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Background);
    QPainter canvas(&picture);
    Paint(canvas, size, trail, chain, framesPerSecond);
    return picture;
}

void TChainPainter::Paint(QPainter& canvas, QSize size, const TTrail* trail, const TChainState& chain,
                          std::int32_t framesPerSecond) const
{
    canvas.save();
    canvas.fillRect(QRect(QPoint(0, 0), size), Background);
    canvas.setFont(font);
    if (trail) {
        DrawTrail(canvas, *trail, size);
        const bool crowd = DrawsCrowd(chain, size.width());
        const bool named = !crowd && NamesFit(chain, size.width());
        if (crowd)
            DrawCrowd(canvas, *trail, size, chain.crowd);
        for (const THandlerState& handler : chain.handlers)
            if (!crowd || !handler.IsPerson())
                DrawHandler(canvas, *trail, size, handler, named);
    }
    if (ratesShown)
        DrawRates(canvas, chain, framesPerSecond);
    canvas.restore();
}

void TChainPainter::DrawTrail(QPainter& canvas, const TTrail& trail, QSize size) const
{
    const std::int32_t columns = DrawnColumns(size.width());
    if (trail.GetSectionCount() > columns) {
        DrawProfile(canvas, trail, size, columns);
        return;
    }
    for (int i = 0; i < trail.GetSectionCount(); ++i) {
        const TTrailSection* section = trail.GetSection(i);
        const double start = trail.GetSectionStart(section);
        const TBarRect from = MapPosition(trail, size.width(), size.height(), start);
        const TBarRect to = MapPosition(trail, size.width(), size.height(), start + section->GetLength());
        DrawSection(canvas, {from.left, from.bottom}, {to.right, to.bottom}, section->GetHeight() > 0.0);
    }
}

void TChainPainter::DrawProfile(QPainter& canvas, const TTrail& trail, QSize size, std::int32_t columns) const
{
    // Runs of columns that rise, or do not, each one line through the
    // height at every column's end.
    const double length = trail.GetLength();
    QPolygon run;
    bool runRises = false;
    double before = 0.0;
    const auto flush = [&] {
        if (run.size() > 1) {
            canvas.setPen(QPen(runRises ? RisingSection : LevelSection, TrailWidth, Qt::SolidLine, Qt::RoundCap,
                               Qt::RoundJoin));
            canvas.drawPolyline(run);
        }
    };
    for (std::int32_t x = 0; x <= columns; ++x) {
        const double position = length * x / columns;
        const double height = trail.GetHeightAt(position);
        const TBarRect at = MapPosition(trail, size.width(), size.height(), position);
        const bool rises = height > before;
        if (x > 0 && rises != runRises) {
            flush();
            run = QPolygon{run.back()};
        }
        runRises = rises;
        run << QPoint(at.left, at.bottom);
        before = height;
    }
    flush();
}

void TChainPainter::DrawSection(QPainter& canvas, QPoint from, QPoint to, bool rising)
{
    // Round caps close the joints between sections of different slope.
    canvas.setPen(QPen(rising ? RisingSection : LevelSection, TrailWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    canvas.drawLine(from, to);
}

void TChainPainter::DrawBar(QPainter& canvas, std::int32_t x, std::int32_t bottom, std::int32_t top, const QColor& colour)
{
    // Flat caps: the bar reaches exactly from the baseline to its top.
    canvas.setPen(QPen(colour, BarWidth, Qt::SolidLine, Qt::FlatCap));
    if (top != bottom)
        canvas.drawLine(x, bottom, x, top);
}

void TChainPainter::DrawLoads(QPainter& canvas, std::int32_t x, std::int32_t top, std::int32_t count)
{
    // Boxes stack upwards from the top of the bar; a tall stack runs out of
    // the picture and is clipped, not scaled. Boxes wholly above the picture
    // are not drawn at all: the source starts with hundreds.
    canvas.setPen(QPen(Load, BarWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    canvas.setBrush(Load);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t lower = top + 2 - LoadPitch * i;
        const std::int32_t upper = top - 1 - LoadPitch * i;
        if (lower < -BarWidth)
            break;
        canvas.drawRect(QRectF(x - 2, upper, 4, lower - upper));
    }
    canvas.setBrush(Qt::NoBrush);
}

void TChainPainter::DrawCrowdColumn(QPainter& canvas, std::int32_t x, std::int32_t bottom, std::int32_t height,
                                    const TCrowdDensity::TBin& counts)
{
    const std::int32_t total = std::accumulate(counts.begin(), counts.end(), 0);
    std::int32_t below = 0;
    std::int32_t y = bottom;
    for (std::size_t k = 0; k < counts.size(); ++k) {
        below += counts[k];
        const auto top = bottom - static_cast<std::int32_t>(std::lround(static_cast<double>(height) * below / total));
        if (top < y)
            canvas.fillRect(x, top, 1, y - top, CrowdColour(static_cast<TCrowdActivity>(k)));
        y = top;
    }
}

void TChainPainter::DrawCrowd(QPainter& canvas, const TTrail& trail, QSize size, const TCrowdDensity& crowd) const
{
    // Each bin goes to the column its middle falls on; a column stands on the
    // trail where its first bin does.
    struct TColumn
    {
        TCrowdDensity::TBin counts{};
        std::int32_t total = 0;
        std::int32_t bottom = 0;
    };
    std::vector<TColumn> columns(static_cast<std::size_t>(size.width()));
    std::int32_t most = 0;
    for (std::int32_t i = 0; i < TCrowdDensity::BinCount && i < static_cast<std::int32_t>(crowd.bins.size()); ++i) {
        const TCrowdDensity::TBin& bin = crowd.bins[static_cast<std::size_t>(i)];
        const std::int32_t count = std::accumulate(bin.begin(), bin.end(), 0);
        if (count == 0)
            continue;
        const TBarRect r = MapPosition(trail, size.width(), size.height(), crowd.PositionOf(i));
        if (r.left < 0 || r.left >= size.width())
            continue;
        TColumn& column = columns[static_cast<std::size_t>(r.left)];
        if (column.total == 0)
            column.bottom = r.bottom;
        for (std::size_t k = 0; k < bin.size(); ++k)
            column.counts[k] += bin[k];
        column.total += count;
        most = std::max(most, column.total);
    }
    // The busiest column is as high as a person's bar; any column with a person in it shows.
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const TColumn& column = columns[x];
        if (column.total == 0)
            continue;
        const auto height = std::max(1, static_cast<std::int32_t>(std::lround(double{BarHeight} * column.total / most)));
        DrawCrowdColumn(canvas, static_cast<std::int32_t>(x), column.bottom, height, column.counts);
    }
}

void TChainPainter::DrawHomeLine(QPainter& canvas, std::int32_t from, std::int32_t to, std::int32_t y,
                                 const QColor& colour)
{
    canvas.setPen(QPen(colour, HomeLineWidth, Qt::DotLine, Qt::FlatCap));
    canvas.drawLine(from, y, to, y);
}

void TChainPainter::DrawHandler(QPainter& canvas, const TTrail& trail, QSize size,
                                const THandlerState& handler, bool named) const
{
    TBarRect r = MapPosition(trail, size.width(), size.height(), handler.position);
    const QColor colour = HandlerColour(handler);

    if (handler.IsPerson()) {
        if (handler.inHomeArea) {
            const TBarRect a = MapPosition(trail, size.width(), size.height(), handler.homeStart);
            const TBarRect e = MapPosition(trail, size.width(), size.height(), handler.homeEnd);
            DrawHomeLine(canvas, a.left, e.left, std::max(a.bottom, e.bottom) + HomeLineDrop, colour);
        }
        // Around the full-height bar, the area a click selects it by.
        if (handler.id == selected) {
            canvas.setPen(QPen(Selection, 1));
            canvas.drawRect(r.left - HitSlack, r.top - HitSlack, 2 * HitSlack, r.bottom - r.top + 2 * HitSlack);
        }
        r.top = TiredBarTop(r, handler.fitness);
        // Where names do not fit, the selected person still has its own.
        if (named || handler.id == selected) {
            canvas.setPen(textColour);
            DrawText(canvas, r.left - 10, r.bottom + 2, QString::fromStdString(handler.name));
            if (handler.onBreak)
                DrawText(canvas, r.left - 10, r.bottom + 14, breakText);
        }
    }

    DrawBar(canvas, r.left, r.bottom, r.top, colour);
    DrawLoads(canvas, r.left, r.top, handler.loadCount);
}

void TChainPainter::DrawRates(QPainter& canvas, const TChainState& chain, std::int32_t framesPerSecond) const
{
    canvas.setPen(textColour);
    canvas.setBackground(Background);
    canvas.setBackgroundMode(Qt::OpaqueMode);
    DrawText(canvas, 5, 10, StepsText(chain.stepsPerSecond, chain.overrun));
    DrawText(canvas, 5, 24, FramesText(framesPerSecond));
    canvas.setBackgroundMode(Qt::TransparentMode);
}

void TChainPainter::DrawText(QPainter& canvas, std::int32_t x, std::int32_t y, const QString& text) const
{
    canvas.drawText(x, y + fontAscent, text);
}
