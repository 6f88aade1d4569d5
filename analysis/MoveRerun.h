#pragma once

#include "analysis/MoveReport.h"
#include "scenario/clsScenarioDescription.h"

#include <cstdint>

// The report of a move up to a step, from a fresh run of its scenario. A
// move runs the same every time, so a window need not record its own live
// run to report on it: a run without a thread or a clock takes a fraction of
// a second. The run ends early where the move does.
TMoveReport ReportMoveUpTo(const TScenarioDescription& description, std::int64_t steps);
