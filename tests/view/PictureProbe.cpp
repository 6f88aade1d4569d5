#include "PictureProbe.h"

namespace {

bool IsColour(const QImage& picture, int x, int y, const QColor& colour)
{
    return picture.pixelColor(x, y).rgb() == colour.rgb();
}

} // namespace

std::optional<TRowRun> FindRowRun(const QImage& picture, int x, const QColor& colour)
{
    std::optional<TRowRun> run;
    for (int y = 0; y < picture.height(); ++y) {
        if (!IsColour(picture, x, y, colour))
            continue;
        if (!run)
            run = TRowRun{y, y};
        run->last = y;
    }
    return run;
}

int CountPixels(const QImage& picture, const QRect& area, const QColor& colour)
{
    const QRect clipped = area & picture.rect();
    int count = 0;
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += IsColour(picture, x, y, colour) ? 1 : 0;
    return count;
}

int CountPixelsOtherThan(const QImage& picture, const QRect& area, const QColor& colour)
{
    const QRect clipped = area & picture.rect();
    return clipped.width() * clipped.height() - CountPixels(picture, clipped, colour);
}

bool HasColourNear(const QImage& picture, int x, int y, const QColor& colour)
{
    return CountPixels(picture, QRect(x - 1, y - 1, 3, 3), colour) > 0;
}
