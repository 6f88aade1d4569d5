#pragma once

#include "model/clsChainState.h"
#include "model/clsSimulationTime.h"

#include <cstdint>
#include <vector>

class TBucketChain;
class TLoadSink;
class TTrail;

// Steps one move and says whether it is over, the one place that decides it
// for the window, zemba-run and sweeps. A move is finished once the sink holds
// every load of the stock, and stalled once no load has changed hands for
// longer than any move still under way can take (StallSteps).
class TMoveLoop
{
public:
    // The delivery curve is sampled every 15 simulated seconds, whoever steps
    // the move and however often anybody looks, and at the step it ended.
    static constexpr std::int64_t DeliverySampleSteps = 15 * StepsPerSecond;

    TMoveLoop(TBucketChain& chain, const TLoadSink& sink, std::int32_t stock, std::int64_t stallSteps);

    // The stretch without a hand-over after which a move of this chain on this
    // trail stands still for good.
    static std::int64_t StallSteps(const TBucketChain& chain, const TTrail& trail);

    // Steps the chain once, over or not: a run asked for a number of steps
    // gets them.
    void Step();
    // Steps until the move is over, limit steps have been taken in all, or
    // afterStep, called after every step, returns false. The outcome then:
    // running if the limit or afterStep ended it.
    template <typename TAfterStep>
    TMoveOutcome RunUntilOver(std::int64_t limit, TAfterStep&& afterStep)
    {
        while (outcome == TMoveOutcome::Running && GetStep() < limit) {
            Step();
            if (!afterStep())
                break;
        }
        return outcome;
    }

    // Steps until limit steps have been taken in all or afterStep returns
    // false, over or not; the outcome then.
    template <typename TAfterStep>
    TMoveOutcome RunSteps(std::int64_t limit, TAfterStep&& afterStep)
    {
        while (GetStep() < limit) {
            Step();
            if (!afterStep())
                break;
        }
        return outcome;
    }

    TBucketChain& GetChain() const { return chain; }
    TMoveOutcome GetOutcome() const { return outcome; }
    bool IsOver() const { return outcome != TMoveOutcome::Running; }
    // The chain's step count.
    std::int64_t GetStep() const;
    // The last step in which a load changed hands; 0 before any did.
    std::int64_t GetLastHandoverStep() const { return lastHandoverStep; }
    std::int64_t GetStallSteps() const { return stallSteps; }
    // From the step the loop started at on.
    const std::vector<TDeliveryPoint>& GetDeliveries() const { return deliveries; }

private:
    bool AllDelivered() const;

    TBucketChain& chain;
    const TLoadSink& sink;
    const std::int32_t stock;
    const std::int64_t stallSteps;
    std::int64_t handovers = 0;
    std::int64_t lastHandoverStep = 0;
    TMoveOutcome outcome = TMoveOutcome::Running;
    std::vector<TDeliveryPoint> deliveries;
};
