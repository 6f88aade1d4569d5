#include "analysis/MoveRerun.h"

#include "analysis/MoveCourse.h"
#include "analysis/MoveRecorder.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

void SetPlannersUnits(TMoveReport& report, const TScenarioDescription& description)
{
    report.startSecond = description.startSecond;
    report.metresPerUnit = description.metresPerUnit;
}

TMoveReport ReportMoveUpTo(const TScenarioDescription& description, std::int64_t steps, const std::atomic<bool>& cancel)
{
    TZOManager objects;
    TScenario scenario(objects, description);
    TMoveRecorder recorder(scenario);
    TMoveLoop& loop = scenario.GetLoop();
    const TMoveOutcome outcome = loop.RunUntilOver(steps, [&] {
        recorder.Observe();
        return !cancel.load(std::memory_order_relaxed);
    });
    TMoveReport report = SummariseMove(recorder.GetRecord(), outcome == TMoveOutcome::Stalled ? loop.GetLastHandoverStep() : -1);
    SetPlannersUnits(report, description);
    return report;
}

TReportedCourse RunReportedCourse(TScenario& scenario, const std::atomic<bool>& cancel, TMoveKeyframes* keyframes,
                                  const std::function<void()>& afterStep)
{
    TMoveRecorder recorder(scenario);
    TReportedCourse run{RunMoveCourse(scenario, cancel, keyframes,
                                      [&] {
                                          recorder.Observe();
                                          if (afterStep)
                                              afterStep();
                                      }),
                        std::nullopt};
    if (run.course.outcome != TMoveOutcome::Running)
        run.report = SummariseMove(recorder.GetRecord(),
                                   run.course.outcome == TMoveOutcome::Stalled ? run.course.lastHandoverStep : -1);
    return run;
}
