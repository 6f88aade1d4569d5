#pragma once

#include "analysis/MoveCourse.h"
#include "analysis/MoveReport.h"
#include "scenario/clsScenarioDescription.h"

#include <atomic>
#include <cstdint>
#include <optional>

class TScenario;

// Gives the report the planner's units of its scenario (start clock time,
// metres per trail unit), which a record does not hold.
void SetPlannersUnits(TMoveReport& report, const TScenarioDescription& description);

// The report of a move up to a step, from a fresh run of its scenario. A
// move runs the same every time, so a window need not record its own live
// run to report on it: a run without a thread or a clock takes a fraction of
// a second. The run ends early where the move does, or where cancel is set,
// from another thread; the report is then of no use.
TMoveReport ReportMoveUpTo(const TScenarioDescription& description, std::int64_t steps, const std::atomic<bool>& cancel);

// A move's course and the report of the whole move from the same run, which
// records as it goes: the window needs no second run for the report at the
// end. No report when cancel ended the run first; keyframes and afterStep as
// RunMoveCourse takes them.
struct TReportedCourse
{
    TMoveCourse course;
    std::optional<TMoveReport> report;
};
TReportedCourse RunReportedCourse(TScenario& scenario, const std::atomic<bool>& cancel, TMoveKeyframes* keyframes = nullptr,
                                  const std::function<void()>& afterStep = {});
