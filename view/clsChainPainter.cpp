#include "view/clsChainPainter.h"

#include "analysis/HandlerColours.h"
#include "model/clsChainState.h"
#include "model/clsTrail.h"
#include "strings/clsStringTable.h"
#include "view/clsChainGeometry.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

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
    canvas.setFont(font);
    if (trail) {
        DrawTrail(canvas, *trail, size);
        for (const THandlerState& handler : chain.handlers)
            DrawHandler(canvas, *trail, size, handler);
    }
    DrawRates(canvas, chain, framesPerSecond);
    return picture;
}

void TChainPainter::DrawTrail(QPainter& canvas, const TTrail& trail, QSize size) const
{
    // Round caps close the joints between sections of different slope.
    QPen pen(LevelSection, TrailWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (int i = 0; i < trail.GetSectionCount(); ++i) {
        const TTrailSection* section = trail.GetSection(i);
        pen.setColor(section->GetHeight() > 0.0 ? RisingSection : LevelSection);
        canvas.setPen(pen);
        const double start = trail.GetSectionStart(section);
        const TBarRect from = MapPosition(trail, size.width(), size.height(), start);
        const TBarRect to = MapPosition(trail, size.width(), size.height(), start + section->GetLength());
        canvas.drawLine(from.left, from.bottom, to.right, to.bottom);
    }
}

void TChainPainter::DrawHandler(QPainter& canvas, const TTrail& trail, QSize size,
                                const THandlerState& handler) const
{
    TBarRect r = MapPosition(trail, size.width(), size.height(), handler.position);
    const QColor colour = HandlerColour(handler.id);

    if (handler.IsPerson()) {
        if (handler.inHomeArea) {
            const TBarRect a = MapPosition(trail, size.width(), size.height(), handler.homeStart);
            const TBarRect e = MapPosition(trail, size.width(), size.height(), handler.homeEnd);
            const std::int32_t yb = std::max(a.bottom, e.bottom) + HomeLineDrop;
            canvas.setPen(QPen(colour, HomeLineWidth, Qt::DotLine, Qt::FlatCap));
            canvas.drawLine(a.left, yb, e.left, yb);
        }
        // Around the full-height bar, the area a click selects it by.
        if (handler.id == selected) {
            canvas.setPen(QPen(Selection, 1));
            canvas.drawRect(r.left - HitSlack, r.top - HitSlack, 2 * HitSlack, r.bottom - r.top + 2 * HitSlack);
        }
        r.top = TiredBarTop(r, handler.fitness);
        canvas.setPen(textColour);
        DrawText(canvas, r.left - 10, r.bottom + 2, QString::fromStdString(handler.name));
        if (handler.onBreak)
            DrawText(canvas, r.left - 10, r.bottom + 14, breakText);
    }

    // Flat caps: the bar reaches exactly from the baseline to its top.
    QPen pen(colour, BarWidth, Qt::SolidLine, Qt::FlatCap);
    canvas.setPen(pen);
    if (r.top != r.bottom)
        canvas.drawLine(r.left, r.bottom, r.left, r.top);

    // Boxes stack upwards from the top of the bar; a tall stack runs out of
    // the picture and is clipped, not scaled. Boxes wholly above the picture
    // are not drawn at all: the source starts with hundreds.
    pen.setColor(Load);
    pen.setJoinStyle(Qt::MiterJoin);
    canvas.setPen(pen);
    canvas.setBrush(Load);
    for (std::int32_t i = 0; i < handler.loadCount; ++i) {
        const std::int32_t lower = r.top + 2 - LoadPitch * i;
        const std::int32_t upper = r.top - 1 - LoadPitch * i;
        if (lower < -BarWidth)
            break;
        canvas.drawRect(QRectF(r.left - 2, upper, 4, lower - upper));
    }
    canvas.setBrush(Qt::NoBrush);
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
