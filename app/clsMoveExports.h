#pragma once

#include "analysis/PictureFile.h"
#include "scenario/clsScenarioDescription.h"

#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

// What the window writes out of a move, each through one function that a
// menu entry or a test calls alike. A file appears under its name only when
// whole; an empty answer means written, else the message to show, in German.

// A picture as SVG when the name ends in .svg, else as PNG.
QString ExportPicture(const TPicture& picture, const QString& path);
QString ExportText(const std::string& bytes, const QString& path);
// The trace of the move up to a step, as zemba-run writes it; a run of its
// own, a fraction of a second for the whole move, so not on the UI thread.
// Once cancel is set nothing is written.
QString ExportTrace(const TScenarioDescription& description, std::int64_t steps, const QString& path,
                    const std::atomic<bool>& cancel);

// The largest side a picture may be asked for.
inline constexpr int MaximumPictureSide = 10000;
// "800x600" (or with "×", or blanks around the numbers); none for anything else.
std::optional<QSize> ParsePictureSize(const QString& text);
