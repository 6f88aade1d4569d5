#include "analysis/MoveCourse.h"

#include "analysis/MoveKeyframes.h"
#include "model/clsLoadHandler.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <algorithm>

namespace {

constexpr std::size_t LoadsPerMark = 100;

} // namespace

std::int32_t TMoveCourse::DeliveredBy(std::int64_t step) const
{
    return static_cast<std::int32_t>(std::upper_bound(deliveredAt.begin(), deliveredAt.end(), step) - deliveredAt.begin());
}

std::vector<std::int64_t> TMoveCourse::Marks() const
{
    std::vector<std::int64_t> marks;
    if (!deliveredAt.empty())
        marks.push_back(deliveredAt.front());
    for (std::size_t k = LoadsPerMark; k <= deliveredAt.size(); k += LoadsPerMark)
        marks.push_back(deliveredAt[k - 1]);
    if (outcome != TMoveOutcome::Running)
        marks.push_back(endStep);
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    return marks;
}

TMoveCourse RunMoveCourse(const TScenarioDescription& description, const std::atomic<bool>& cancel,
                          TMoveKeyframes* keyframes)
{
    TZOManager objects;
    TScenario scenario(objects, description);
    return RunMoveCourse(scenario, cancel, keyframes);
}

TMoveCourse RunMoveCourse(TScenario& scenario, const std::atomic<bool>& cancel, TMoveKeyframes* keyframes,
                          const std::function<void()>& afterStep)
{
    const TLoadSink& sink = *scenario.GetSink();
    TMoveLoop& loop = scenario.GetLoop();
    TMoveCourse course;
    course.outcome = loop.RunUntilOver(CourseStepLimit, [&] {
        // Several loads may arrive in one step.
        while (static_cast<std::int32_t>(course.deliveredAt.size()) < sink.GetDeliveredCount())
            course.deliveredAt.push_back(loop.GetStep());
        if (keyframes)
            keyframes->Offer(scenario);
        if (afterStep)
            afterStep();
        return !cancel.load(std::memory_order_relaxed);
    });
    if (keyframes)
        keyframes->Keep(scenario);
    course.endStep = loop.GetStep();
    course.lastHandoverStep = loop.GetLastHandoverStep();
    return course;
}
