#pragma once

#include "analysis/SweepReport.h"

#include <QImage>
#include <QSize>

#include <string>
#include <vector>

// Finish time against the first varied parameter, one series per combination
// of the others: the band from the 10th to the 90th percentile across seeds,
// whiskers from the fastest to the slowest seed and the median as a line.
// Needs a QGuiApplication for its fonts.
void PaintSweepPlot(class QPainter& painter, const TSweepTable& table, const std::vector<TSweepGroup>& groups,
                    QSize size);

// Draws the picture and saves it as PNG or SVG by the name (PictureFile.h), starting an offscreen application for
// the fonts if the process has none.
bool WriteSweepPlot(const TSweepTable& table, const std::vector<TSweepGroup>& groups, const std::string& path,
                    std::string& error);
