#pragma once

#include "analysis/SweepReport.h"

#include <QImage>
#include <QSize>

#include <string>
#include <vector>

// Finish time against the first varied parameter, one series per combination
// of the others, each offset a little and dashed its own way so that equal
// medians do not hide each other: the band from the 10th to the 90th
// percentile across seeds, whiskers from the fastest to the slowest seed and
// the median as a line, where those runs finished. At the top, the share of
// runs at the step limit (a triangle) and of stalled runs (a cross). The time
// axis starts near the fastest run unless the style asks for 0:00.
// Needs a QGuiApplication for its fonts.
void PaintSweepPlot(class QPainter& painter, const TSweepTable& table, const std::vector<TSweepGroup>& groups,
                    QSize size, const TSweepPlotStyle& style = {});

// Draws the picture and saves it as PNG or SVG by the name (PictureFile.h), starting an offscreen application for
// the fonts if the process has none.
bool WriteSweepPlot(const TSweepTable& table, const std::vector<TSweepGroup>& groups, const TSweepPlotStyle& style,
                    const std::string& path, std::string& error);
