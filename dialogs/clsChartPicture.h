#pragma once

#include "analysis/PictureFile.h"

#include <QString>

class QWidget;

// A widget holding charts as a picture whose curves stay inside their plots,
// in SVG as in PNG: the widget as it draws itself but for the line curves,
// which are drawn again over it, each chart's within its plot area.
TPicture ChartsPicture(QWidget& frame, const QString& title);
