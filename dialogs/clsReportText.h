#pragma once

#include "analysis/MoveReport.h"

#include <QString>
#include <QStringList>

#include <array>

// The report of a move in the window's words, German from the string table,
// as its dialog shows it and as its text export writes it.

// The columns of the persons' table: name, speed, the shares of the steps by
// activity, breaks, the home-area changes, the time on the trail (from
// arriving to leaving or the end) and its person-hours.
inline constexpr int ReportColumnCount = 13;
inline constexpr int ReportFirstShareColumn = 2;

// The lines above the table: how the move ended (by the clock too, where it
// has a start), the trail in metres, its throughput, its quarters and the
// person-hours of all.
QStringList ReportMoveLines(const TMoveReport& report);
QString ReportColumnHeader(int column);
// A person's row, its figures with "." as the decimal mark, speeds ×100 as the persons dialog shows them.
std::array<QString, ReportColumnCount> ReportPersonCells(const TMoveReport::TPersonLine& person);

// The whole report as plain text: the lines, then the table in aligned columns.
QString ReportText(const TMoveReport& report);
