#pragma once

#include "model/clsChainState.h"
#include "scenario/clsScenarioDescription.h"

#include <atomic>
#include <functional>
#include <cstdint>
#include <vector>

// How a whole move goes, from a run of its scenario without a thread or a
// clock: where it ends and when each load arrived. A timeline spans it and
// marks it before the live move has got there.
struct TMoveCourse
{
    // Finished or stalled; running when the run was cancelled or hit the limit.
    TMoveOutcome outcome = TMoveOutcome::Running;
    // The step the move is held at: the last load's delivery, or the step
    // the stall was recognised at.
    std::int64_t endStep = 0;
    std::int64_t lastHandoverStep = 0;
    // The step after which the k-th load (from 1) lay in the new home, at k - 1.
    std::vector<std::int64_t> deliveredAt;

    // Loads in the new home after a step.
    std::int32_t DeliveredBy(std::int64_t step) const;
    // The steps worth a mark: the first delivery, every hundredth load, the end.
    std::vector<std::int64_t> Marks() const;
};

// A move runs at most this long; a move not over by then is no move to review.
inline constexpr std::int64_t CourseStepLimit = 10'000'000;

class TMoveKeyframes;
class TScenario;

// Runs the move to its end; cancel, set from another thread, ends it early.
// Keyframes, if given, are kept on the way and where the run ends.
TMoveCourse RunMoveCourse(const TScenarioDescription& description, const std::atomic<bool>& cancel,
                          TMoveKeyframes* keyframes = nullptr);
// The same on a scenario built by the caller, which is left at the end;
// afterStep, if given, is called after every step, to watch the chain on the way.
TMoveCourse RunMoveCourse(TScenario& scenario, const std::atomic<bool>& cancel, TMoveKeyframes* keyframes = nullptr,
                          const std::function<void()>& afterStep = {});
