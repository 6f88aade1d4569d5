#pragma once

#include "analysis/MoveRecord.h"

#include <QImage>
#include <QSize>

// The picture of a run too long for single hand-overs to show. Above, the
// loads delivered against simulated time, with the line that the throughput
// bound would allow. Below, one lane per person: the stretch of the trail it
// covered in each span of time as a band, its mean position as a line, the
// source at the bottom of the lane and the sink at its top, flights of steps
// shaded. Needs a QGuiApplication for its fonts.
inline const QSize OverviewSize(1000, 700);
void PaintMoveOverview(class QPainter& painter, const TMoveRecord& record, QSize size);
