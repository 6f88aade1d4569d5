#pragma once

#include "scenario/clsScenarioDescription.h"
#include "tools/RunOptions.h"

#include <functional>
#include <iosfwd>
#include <string>

class TMoveRecord;
struct TSweepPlan;

// Draws the space-time picture of a run into a PNG file at path; false, with
// a one-line reason in error, when it could not.
using TPlotWriter = std::function<bool(const TMoveRecord& record, const std::string& path, std::string& error)>;

// The exit status of a run without a step count whose move stood still.
inline constexpr int StatusStalled = 3;

// The scenario the options ask for: a run of a sweep's plan, a file or the
// built-in move, with the stock and the seed overridden where given. Throws
// TScenarioFileError.
TScenarioDescription ChosenScenario(const TRunOptions& options, const TSweepPlan* plan = nullptr);

// Runs the scenario as the options say, without a thread or a clock, and
// returns the exit status: 0; 1 when a check failed, the move did not finish
// by the step limit, or the trace or the picture could not be written; 2 when
// a picture is asked for and there is no plotWriter to draw it (nothing is
// run then); StatusStalled when the move stood still.
int RunHeadless(const TRunOptions& options, std::ostream& out, std::ostream& err, const TPlotWriter& plotWriter = {});
