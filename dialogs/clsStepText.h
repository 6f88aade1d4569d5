#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// A step and a simulated time as the window's texts show them. A move
// without a start (startSecond below 0) tells the time since it began,
// h:mm:ss; a move with one tells the clock time, so that a planner reads
// when the van is empty rather than how long it took.

// "1:35:35", or with a start at 10:00 "11:35:35"; a day or more after the
// start with the days added: "0:15:00 (+1 Tag)".
QString MoveTimeText(std::int64_t step, std::int32_t startSecond = -1);
// The clock time to the minute, cut off downwards as the report cuts it:
// "12:27", "0:15 (+1 Tag)". Without a start, MoveTimeText.
QString ClockMinuteText(std::int64_t step, std::int32_t startSecond);
// Its thousands grouped as a German reader writes them: "Schritt 143.383 · 1:35:35".
QString StepAndTimeText(std::int64_t step, std::int32_t startSecond = -1);
// A deadline or a time of the schedule as typed: with a start a clock time
// ("12:30" or "12:30:15"; one before the start's is on the next day),
// without one a time since the start, h:mm:ss. The steps after the start,
// or nothing for any other text.
std::optional<std::int64_t> ReadMoveTime(const QString& text, std::int32_t startSecond);
