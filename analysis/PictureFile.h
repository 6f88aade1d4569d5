#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>

#include <functional>
#include <string>

// Paints a whole picture of the size it was made for, its background included.
using TPainting = std::function<void(QPainter& painter)>;

// The painting on a raster image, as PNG files and tests see it.
QImage PaintedImage(QSize size, const TPainting& paint);

// Writes the painting to path as SVG when its name ends in .svg, else as PNG;
// "-" writes PNG to standard output. A file appears under its name only when
// whole. Starts an offscreen application for the fonts if the process has
// none. false, with a one-line reason in error, when it could not.
bool WritePicture(QSize size, const TPainting& paint, const std::string& path, std::string& error);
