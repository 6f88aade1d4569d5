#pragma once

#include "model/clsChainState.h"
#include "scenario/clsScenario.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// A snapshot of a move and the move's delivery curve up to its step: what a
// scenario built from the move's description needs to stand at that step.
struct TKeyframe
{
    // Null: no keyframe at or before the step asked for.
    std::shared_ptr<const TScenarioSnapshot> snapshot;
    std::vector<TDeliveryPoint> curve;

    std::int64_t GetStep() const { return snapshot ? snapshot->GetStep() : 0; }
    // Puts the scenario at the keyframe's step; a null keyframe leaves it alone.
    void RestoreInto(TScenario& scenario) const;
};

// Exact snapshots of one move every few steps, kept by the run that steps it
// to its end and read by jumps on other threads: a jump restores the nearest
// one at or before its step and steps on from there, instead of from step 0.
//
// The snapshots lie an interval apart that costs about as much to step
// whatever the chain's size. Once they take more than the budget, every
// other one goes and the interval doubles, so a move of any length keeps at
// most the budget, with jumps that cost more the longer the move.
class TMoveKeyframes
{
public:
    // The interval is this many handler-steps over the chain's handlers: 1,260
    // steps for the built-in move's thirteen, a millisecond or two of stepping.
    static constexpr std::int64_t HandlerStepsApart = 16'384;
    static constexpr std::size_t DefaultBudgetBytes = std::size_t{32} << 20;

    explicit TMoveKeyframes(std::size_t budgetBytes = DefaultBudgetBytes);

    // On the thread that steps the move, between steps: keeps a snapshot at
    // every step that is a multiple of the interval.
    void Offer(const TScenario& scenario);
    // The same at whatever step the scenario stands, such as where its run ended.
    void Keep(const TScenario& scenario);

    // From any thread: the keyframe nearest at or before the step.
    TKeyframe Nearest(std::int64_t step) const;

    // From any thread. The interval is 0 until the first offer.
    std::int64_t GetInterval() const;
    std::size_t GetCount() const;
    // The snapshots' and the curve's storage.
    std::size_t GetBytes() const;

private:
    void Thin();

    const std::size_t budgetBytes;
    mutable std::mutex guard;
    // Written by the stepping thread only, under the guard; so it reads it without.
    std::int64_t interval = 0;
    // By ascending step.
    std::vector<std::shared_ptr<const TScenarioSnapshot>> snapshots;
    // The move's delivery curve up to the last snapshot; every snapshot's
    // curve begins it.
    std::vector<TDeliveryPoint> curve;
    std::size_t snapshotBytes = 0;
};
