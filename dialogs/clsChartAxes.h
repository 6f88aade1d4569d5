#pragma once

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

class QCategoryAxis;
class QValueAxis;

// The scales of the window's charts, on the tick rules of every picture
// (analysis/PlotAxes.h): simulated time in h:mm, counts at round figures.

// Simulated minutes as h:mm, to the nearest minute.
QString HoursAndMinutes(double minutes);

// The ticks of a time axis from 0 to span minutes, at most count parts: each
// tick's minutes and its h:mm label, 0 left out.
std::vector<std::pair<double, QString>> TimeTicks(double span, int count);
// The same from `from` minutes on, labelled, where the move has a start
// (startSecond from 0), by the clock: "10:30".
std::vector<std::pair<double, QString>> TimeTicks(double from, double to, int count, std::int32_t startSecond);

// A time axis from 0 to span minutes, labelled at its ticks (by the clock with a start).
void ShowTimeTicks(QCategoryAxis& axis, double span, int count, std::int32_t startSecond = -1);
// A count axis from 0 to top, its ticks at round figures from 0, at most count parts.
void ShowCountTicks(QValueAxis& axis, double top, int count);
