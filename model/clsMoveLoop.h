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
    // Changes the chain between steps on a schedule of its own: told after
    // every step with the chain's step count, before the loop looks at
    // what the step did.
    class TChanges
    {
    public:
        virtual void AfterStep(std::int64_t step) = 0;

    protected:
        ~TChanges() = default;
    };

    // The delivery curve is sampled every 15 simulated seconds, whoever steps
    // the move and however often anybody looks, and at the step it ended.
    static constexpr std::int64_t DeliverySampleSteps = 15 * StepsPerSecond;

    TMoveLoop(TBucketChain& chain, const TLoadSink& sink, std::int32_t stock, std::int64_t stallSteps);

    // The stretch without a hand-over after which a move of this chain on this
    // trail stands still for good.
    static std::int64_t StallSteps(const TBucketChain& chain, const TTrail& trail);
    // The same for the slowest person's speed, where not every person stands in the chain yet.
    static std::int64_t StallSteps(double slowestSpeed, const TTrail& trail);

    // Null for none; it must outlive the loop.
    void SetChanges(TChanges* theChanges) { changes = theChanges; }

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

    // What the loop has counted and decided by a step. Its delivery curve is
    // kept as a length only: the curve of any later step of the same run
    // begins with it.
    struct TRecord
    {
        std::int64_t handovers = 0;
        std::int64_t lastHandoverStep = 0;
        TMoveOutcome outcome = TMoveOutcome::Running;
        std::size_t deliveryCount = 0;
    };
    TRecord SaveState() const;
    // Restores the counts and the curve's first deliveryCount points out of
    // curve, which must hold that many (std::invalid_argument otherwise,
    // with nothing changed). With the chain restored to the same step, the
    // loop goes on as the recorded one did.
    void RestoreState(const TRecord& record, const std::vector<TDeliveryPoint>& curve);

private:
    bool AllDelivered() const;

    TBucketChain& chain;
    const TLoadSink& sink;
    const std::int32_t stock;
    const std::int64_t stallSteps;
    TChanges* changes = nullptr;
    std::int64_t handovers = 0;
    std::int64_t lastHandoverStep = 0;
    TMoveOutcome outcome = TMoveOutcome::Running;
    std::vector<TDeliveryPoint> deliveries;
};
