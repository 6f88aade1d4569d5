#include "model/clsMoveLoop.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

// How many of the longest hand-over-free stretches a move under way can take
// (below) make a stall. Measured over the 297 finishing runs of
// sweeps/helpers.json and the files in scenarios/, the longest gap between two
// hand-overs is 4,995 steps: the last load of 20 helpers with seed 20, carried
// alone to the sink. That is 1.6 such stretches, so four leave 2.5 times room.
constexpr double StallMargin = 4.0;

// Fitness falls from where a break ends to where the next begins in this many
// carrying steps, and rises back in this many steps of the break.
const double CarryingStepsPerBreak =
    std::log(TPerson::BreakBelowFitness / TPerson::BreakEndsAboveFitness) / std::log(TPerson::TiringFactor);
const double BreakSteps =
    std::log(TPerson::BreakEndsAboveFitness / TPerson::BreakBelowFitness) / std::log(TPerson::RecoveryFactor);

} // namespace

TMoveLoop::TMoveLoop(TBucketChain& theChain, const TLoadSink& theSink, std::int32_t theStock, std::int64_t theStallSteps)
    : chain(theChain)
    , sink(theSink)
    , stock(theStock)
    , stallSteps(theStallSteps)
    , handovers(theChain.GetHandoverCount())
    , lastHandoverStep(theChain.GetStepCount())
{
    if (AllDelivered())
        outcome = TMoveOutcome::Finished;
    deliveries.push_back({lastHandoverStep, sink.GetDeliveredCount()});
}

// The longest a move under way goes without a hand-over is one walk of the
// whole trail by the slowest person, on every section at its slower speed
// factor and at the lowest fitness a walker has, with every break that walk
// tires it into, and a giving and a receiving at its ends. A move that has
// gone StallMargin times that long without one has nobody left who will.
std::int64_t TMoveLoop::StallSteps(const TBucketChain& chain, const TTrail& trail)
{
    double slowest = std::numeric_limits<double>::infinity();
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i)
        if (const auto* person = dynamic_cast<const TPerson*>(chain.GetHandler(i)))
            slowest = std::min(slowest, person->GetSpeed());
    return StallSteps(slowest, trail);
}

std::int64_t TMoveLoop::StallSteps(double slowest, const TTrail& trail)
{
    double walk = 0.0;
    for (int i = 0; i < trail.GetSectionCount(); ++i) {
        const TTrailSection& section = *trail.GetSection(i);
        const double factor = std::min(section.GetSpeedFactor(true), section.GetSpeedFactor(false));
        walk += section.GetLength() / (slowest * factor * TPerson::BreakBelowFitness);
    }
    const double breaks = (std::floor(walk / CarryingStepsPerBreak) + 1.0) * BreakSteps;
    const double stretch =
        StallMargin * (walk + breaks + TPerson::GivingSteps + TPerson::ReceivingSteps);
    // Without persons the stretch is the breaks' alone; a person too slow to
    // cross the trail in any time a run can take makes it as long as a run.
    constexpr double Longest = 1e15;
    return static_cast<std::int64_t>(std::ceil(std::isfinite(stretch) ? std::min(stretch, Longest) : Longest));
}

void TMoveLoop::Step()
{
    chain.Step();
    const std::int64_t step = chain.GetStepCount();
    if (changes)
        changes->AfterStep(step);
    if (const std::int64_t counted = chain.GetHandoverCount(); counted != handovers) {
        handovers = counted;
        lastHandoverStep = step;
    }
    const bool wasOver = IsOver();
    if (AllDelivered())
        outcome = TMoveOutcome::Finished;
    else if (step - lastHandoverStep > stallSteps)
        outcome = TMoveOutcome::Stalled;
    else
        outcome = TMoveOutcome::Running;
    if (step % DeliverySampleSteps == 0 || (IsOver() && !wasOver))
        deliveries.push_back({step, sink.GetDeliveredCount()});
}

TMoveLoop::TRecord TMoveLoop::SaveState() const
{
    return {handovers, lastHandoverStep, outcome, deliveries.size()};
}

void TMoveLoop::RestoreState(const TRecord& record, const std::vector<TDeliveryPoint>& curve)
{
    if (record.deliveryCount > curve.size())
        throw std::invalid_argument("the delivery curve is shorter than the record's");
    handovers = record.handovers;
    lastHandoverStep = record.lastHandoverStep;
    outcome = record.outcome;
    // The loop's own curve is cut back, not assigned to itself.
    if (&curve == &deliveries)
        deliveries.resize(record.deliveryCount);
    else
        deliveries.assign(curve.begin(), curve.begin() + static_cast<std::ptrdiff_t>(record.deliveryCount));
}

bool TMoveLoop::AllDelivered() const
{
    return sink.GetDeliveredCount() >= stock;
}

std::int64_t TMoveLoop::GetStep() const
{
    return chain.GetStepCount();
}
