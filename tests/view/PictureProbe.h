#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <optional>

// Looks at rendered pictures pixel by pixel.

// The first and the last row of a column that hold the colour, if any.
struct TRowRun
{
    int first = 0;
    int last = 0;
    int Length() const { return last - first + 1; }
};
std::optional<TRowRun> FindRowRun(const QImage& picture, int x, const QColor& colour);

// Pixels of exactly this colour within the rectangle (clipped to the picture).
int CountPixels(const QImage& picture, const QRect& area, const QColor& colour);

// Pixels within the rectangle that are not of this colour.
int CountPixelsOtherThan(const QImage& picture, const QRect& area, const QColor& colour);

// Whether the colour lies within one pixel of (x, y): line edges fall on
// either side of a pixel boundary depending on the rasteriser's rounding.
bool HasColourNear(const QImage& picture, int x, int y, const QColor& colour);
