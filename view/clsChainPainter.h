#pragma once

#include "model/clsCrowdDensity.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

class QPainter;
class TTrail;
struct TChainState;
struct THandlerState;

// Paints the side view of the move: the trail's height profile, every handler
// as a bar with its loads stacked above it, the persons' names (where they
// fit), break notes and home areas below, and the two rate lines in the top
// left corner. More persons than fit side by side are drawn as a crowd: a bar
// per pixel column, as high as the persons there, coloured by what they do
// (see DrawsCrowd). Works on a copy of the chain only, and its cost does not
// grow with the persons beyond those a copy holds in full; so any step of any
// move can be painted into an image of any size.
class TChainPainter
{
public:
    TChainPainter();

    // Texts are drawn in this colour; black unless the owner sets another.
    void SetTextColour(const QColor& colour) { textColour = colour; }
    // The person drawn with a frame around its bar; NoSelection for none.
    static constexpr std::int32_t NoSelection = -1;
    void SetSelected(std::int32_t id) { selected = id; }
    // A picture of a move that is not running has no rates to show.
    void SetRatesShown(bool shown) { ratesShown = shown; }

    // A fresh picture for a client area of the given size, in logical pixels;
    // the image itself holds size × ratio device pixels. Without a trail there
    // is nothing to place the handlers on, and only the rates are drawn.
    QImage Render(QSize size, const TTrail* trail, const TChainState& chain,
                  std::int32_t framesPerSecond, qreal devicePixelRatio = 1.0) const;
    // The same picture on any painter, an SVG generator's or the clipboard's
    // image, its background included.
    void Paint(QPainter& canvas, QSize size, const TTrail* trail, const TChainState& chain,
               std::int32_t framesPerSecond) const;

    // The marks the picture is made of, each drawable on its own: a legend
    // explains the picture with the very strokes that make it.
    enum class TMark { Source, Sink, Person, Load, HomeArea, Break, RisingSection, LevelSection, Crowd };
    // One mark within rect: bars stand on its bottom, lines and boxes sit in
    // its middle, texts start at its left. colour is the person's, for the
    // marks that take a person's colour (Person, HomeArea), or an activity's
    // for a crowd; a crowd without a colour shows every activity stacked.
    void DrawMark(QPainter& canvas, TMark mark, const QRect& rect, const QColor& colour = {}) const;

    // A person's colour, by its object id modulo 8.
    static QColor HandlerColour(std::int32_t id);
    // The source and the sink keep their colours whatever their ids, so they
    // look the same in every scenario and never take the trail's colours.
    static QColor HandlerColour(const THandlerState& handler);
    // The colour a crowd's bars give the persons doing this.
    static QColor CrowdColour(TCrowdActivity activity);
    // "23 steps/s " or, after an overrunning step, "23 steps/s *".
    static QString StepsText(std::int32_t stepsPerSecond, bool overrun);
    // "10 frames/s".
    static QString FramesText(std::int32_t framesPerSecond);

    static const QColor Background;
    static const QColor RisingSection;
    static const QColor LevelSection;
    static const QColor Load;
    static const QColor Selection;
    static const QColor SourceColour;
    static const QColor SinkColour;

private:
    void DrawTrail(QPainter& canvas, const TTrail& trail, QSize size) const;
    // A trail of more sections than columns, column by column, so that its
    // cost does not grow with its sections.
    void DrawProfile(QPainter& canvas, const TTrail& trail, QSize size, std::int32_t columns) const;
    void DrawHandler(QPainter& canvas, const TTrail& trail, QSize size, const THandlerState& handler,
                     bool named) const;
    void DrawCrowd(QPainter& canvas, const TTrail& trail, QSize size, const TCrowdDensity& crowd) const;
    void DrawRates(QPainter& canvas, const TChainState& chain, std::int32_t framesPerSecond) const;
    // The strokes that the handlers, the trail and the legend share.
    static void DrawSection(QPainter& canvas, QPoint from, QPoint to, bool rising);
    static void DrawBar(QPainter& canvas, std::int32_t x, std::int32_t bottom, std::int32_t top, const QColor& colour);
    static void DrawLoads(QPainter& canvas, std::int32_t x, std::int32_t top, std::int32_t count);
    // A crowd's column: counts stacked upwards from bottom in the order of
    // the activities, height pixels for all of them together.
    static void DrawCrowdColumn(QPainter& canvas, std::int32_t x, std::int32_t bottom, std::int32_t height,
                                const TCrowdDensity::TBin& counts);
    static void DrawHomeLine(QPainter& canvas, std::int32_t from, std::int32_t to, std::int32_t y, const QColor& colour);
    // Texts are placed by their top left corner.
    void DrawText(QPainter& canvas, std::int32_t x, std::int32_t y, const QString& text) const;

    QFont font;
    std::int32_t fontAscent = 0;
    QColor textColour = Qt::black;
    std::int32_t selected = NoSelection;
    bool ratesShown = true;
    QString breakText;
};
