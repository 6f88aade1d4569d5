#include "analysis/MoveRerun.h"

#include "analysis/MoveRecorder.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

TMoveReport ReportMoveUpTo(const TScenarioDescription& description, std::int64_t steps)
{
    TZOManager objects;
    TScenario scenario(objects, description);
    TMoveRecorder recorder(*scenario.GetChain(), *scenario.GetTrail(), *scenario.GetSink(), scenario.GetInitialStock());
    TMoveLoop& loop = scenario.GetLoop();
    const TMoveOutcome outcome = loop.RunUntilOver(steps, [&] {
        recorder.Observe();
        return true;
    });
    return SummariseMove(recorder.GetRecord(), outcome == TMoveOutcome::Stalled ? loop.GetLastHandoverStep() : -1);
}
