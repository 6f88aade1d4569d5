#include "film/FilmFrames.h"

#include "analysis/MoveReport.h"
#include "model/clsMoveLoop.h"
#include "strings/clsStringTable.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

// "0:12:34 · Schritt 18850 · 52 Lasten geliefert"
constexpr std::int32_t TextFilmCaption = 3500;

// The caption grows with the film, so that it stays legible when a large
// film is shown small: 11 pixels at 396 rows and below, the view's own size.
constexpr int CaptionRowsPerPixel = 36;
constexpr int CaptionMinimumPixels = 11;
constexpr int CaptionMargin = 5;

} // namespace

TFilmFrames::TFilmFrames(const TScenarioDescription& description, const TKeyframe& start, const TFilmSettings& settings,
                         std::int64_t theFrom, std::int64_t theTo)
    : scenario(objects, description)
    , from(theFrom)
    , to(theTo)
    , every(settings.every)
    , captioned(settings.caption)
    , captionFont(QStringLiteral("DejaVu Sans"))
    , picture(settings.width, settings.height, QImage::Format_RGB32)
{
    // A frame of a film has no rates to show: its pace is the film's.
    painter.SetRatesShown(false);
    captionFont.setStyleHint(QFont::SansSerif);
    captionFont.setPixelSize(std::max(CaptionMinimumPixels, settings.height / CaptionRowsPerPixel));
    if (start.snapshot && start.GetStep() <= from)
        start.RestoreInto(scenario);
}

bool TFilmFrames::Next(const std::atomic<bool>& cancel)
{
    const std::int64_t target = count == 0 ? from : GetStep() + every;
    if (target > to)
        return false;
    // The move's end is still a frame when it falls on one; nothing after it is.
    scenario.GetLoop().RunUntilOver(target, [&] { return !cancel.load(std::memory_order_relaxed); });
    if (cancel.load(std::memory_order_relaxed) || GetStep() != target)
        return false;
    Paint();
    ++count;
    return true;
}

void TFilmFrames::Paint()
{
    state.Read(*scenario.GetChain());
    state.outcome = scenario.GetLoop().GetOutcome();
    QPainter canvas(&picture);
    painter.Paint(canvas, picture.size(), scenario.GetTrail(), state, 0);
    if (captioned)
        DrawCaption(canvas);
}

void TFilmFrames::DrawCaption(QPainter& canvas)
{
    const QString text = GetStringById(TextFilmCaption)
                             .arg(QString::fromStdString(FormatSimulatedTime(state.step)))
                             .arg(state.step)
                             .arg(state.delivered);
    canvas.setFont(captionFont);
    canvas.setPen(Qt::black);
    canvas.setBackground(TChainPainter::Background);
    canvas.setBackgroundMode(Qt::OpaqueMode);
    canvas.drawText(CaptionMargin, CaptionMargin + QFontMetrics(captionFont).ascent(), text);
}
