#include "analysis/DeliveryCurve.h"

#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

namespace {

constexpr std::int64_t StepsBetweenStopChecks = 1024;

} // namespace

TDeliveryCurve DeliveryCurveOf(const TScenarioDescription& description, std::int64_t maxSteps,
                               const std::atomic<bool>& stop)
{
    TZOManager objects;
    TScenario scenario(objects, description);
    TDeliveryCurve curve;
    curve.stock = scenario.GetInitialStock();
    curve.boundPerMinute = BoundPerMinute(MoveLayoutOf(*scenario.GetChain(), *scenario.GetTrail(), curve.stock));
    TMoveLoop& loop = scenario.GetLoop();
    curve.outcome = loop.RunUntilOver(maxSteps, [&] { return loop.GetStep() % StepsBetweenStopChecks != 0 || !stop; });
    curve.points = loop.GetDeliveries();
    return curve;
}
