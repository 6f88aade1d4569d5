#pragma once

#include "analysis/MoveRecord.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <string>

// Where the run lands in the picture: step 0 at the plot area's left edge and
// the run's last step at its right edge, the source at the bottom edge and the
// sink at the top edge.
struct TPlotFrame
{
    QRect area;
    std::int64_t steps = 1;
    double trailLength = 1.0;

    double X(double step) const;
    double Y(double position) const;
    // Steps that fall into one pixel column, at least 1.
    std::int64_t StepsPerColumn() const;

    // The plot area of a picture of that size, with room left for the axes'
    // labels and the legend.
    static TPlotFrame For(QSize size, std::int64_t steps, double trailLength);
};

// The colour of a person in the pictures of a run, by its place among the
// persons (PlotColours.h).
QColor PersonColour(std::size_t index);

// The space-time picture of the run: time to the right, the trail upwards,
// the flights of steps shaded darker, one line per person in its own colour
// (dashed beyond twenty persons), thick while it holds a load, dotted during a break, with a ring
// where a break begins. Needs a QGuiApplication for its fonts.
inline const QSize PlotSize(1000, 600);
QImage DrawMovePlot(const TMoveRecord& record, QSize size = PlotSize);
void PaintMovePlot(class QPainter& painter, const TMoveRecord& record, QSize size);

// Draws the picture and saves it as PNG or SVG by the name (PictureFile.h): the space-time picture for a window
// of a run, or a run short enough for its hand-overs to show; the overview of
// MoveOverview.h for a longer one. Starts a QGuiApplication on the
// offscreen platform for the fonts if the process has no application yet.
bool WriteMovePlot(const TMoveRecord& record, const std::string& path, std::string& error);
