#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>
#include <string>
#include <vector>

// Paints a whole picture of the size it was made for, its background included.
using TPainting = std::function<void(QPainter& painter)>;

// A picture whose parts may be bounded: the curves of a chart within its plot.
struct TPicture
{
    // Painted over the picture, shown only inside its area.
    struct TClippedPart
    {
        QRectF area;
        TPainting paint;
    };

    QSize size;
    TPainting paint;
    std::vector<TClippedPart> clipped;
    // What an SVG file calls itself; empty for the generator's own words.
    QString title;
};

// The painting on a raster image, as PNG files and tests see it.
QImage PaintedImage(QSize size, const TPainting& paint);
QImage PaintedImage(const TPicture& picture);

// Writes the picture to path as SVG when its name ends in .svg, else as PNG;
// "-" writes PNG to standard output. A file appears under its name only when
// whole. Starts an offscreen application for the fonts if the process has
// none. false, with a one-line reason in error, when it could not.
bool WritePicture(const TPicture& picture, const std::string& path, std::string& error);
bool WritePicture(QSize size, const TPainting& paint, const std::string& path, std::string& error);
