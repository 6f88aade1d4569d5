#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <optional>

// The first and the last row of a column that hold the colour, if any.
struct TRowRun
{
    int first = 0;
    int last = 0;
    int Length() const { return last - first + 1; }
};

inline std::optional<TRowRun> FindRowRun(const QImage& picture, int x, const QColor& colour)
{
    std::optional<TRowRun> run;
    for (int y = 0; y < picture.height(); ++y)
        if (picture.pixelColor(x, y).rgb() == colour.rgb())
            run = TRowRun{run ? run->first : y, y};
    return run;
}

// Pixels of exactly this colour within the rectangle (clipped to the picture).
inline int CountPixels(const QImage& picture, const QRect& area, const QColor& colour)
{
    const QRect clipped = area & picture.rect();
    int count = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += picture.pixelColor(x, y).rgb() == colour.rgb() ? 1 : 0;
    return count;
}
