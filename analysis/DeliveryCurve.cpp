#include "analysis/DeliveryCurve.h"

#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

TDeliveryCurve DeliveryCurveOf(const TScenarioDescription& description, std::int64_t maxSteps,
                               const std::atomic<bool>& stop)
{
    TZOManager objects;
    TScenario scenario(objects, description);
    TDeliveryCurve curve;
    curve.stock = scenario.GetInitialStock();
    curve.boundPerMinute = BoundPerMinute(MoveLayoutOf(*scenario.GetChain(), *scenario.GetTrail(), curve.stock));
    TMoveLoop& loop = scenario.GetLoop();
    // A look at the flag costs next to nothing beside a step, and a step of a
    // large chain takes long enough that a stop must not wait for a thousand.
    curve.outcome = loop.RunUntilOver(maxSteps, [&] { return !stop.load(std::memory_order_relaxed); });
    curve.points = loop.GetDeliveries();
    return curve;
}
