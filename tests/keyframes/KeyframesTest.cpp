// The keyframes of a move: kept an interval apart by the run that steps it,
// thinned to their budget, and read by jumps on another thread meanwhile.
#include "analysis/MoveCourse.h"
#include "analysis/MoveKeyframes.h"
#include "analysis/TraceWriter.h"
#include "model/clsBucketChain.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

namespace {

std::string Rows(const TScenario& scenario)
{
    std::ostringstream out;
    TTraceWriter(out).WriteStep(scenario.GetLoop().GetStep(), *scenario.GetChain());
    return out.str();
}

TEST(Keyframes, AreKeptWithinTheirBudgetWhileJumpsRestoreThemExactlyOnAnotherThread)
{
    constexpr std::size_t Budget = 64 << 10;
    constexpr std::int64_t Reached = 30'000;
    TMoveKeyframes keyframes(Budget);
    std::atomic<bool> cancel{false};
    std::thread course([&] { RunMoveCourse(BuiltInMove(), cancel, &keyframes); });

    // Jumps to wherever the course run has got, as the window's jumper makes them.
    std::int64_t jumps = 0;
    for (std::int64_t reached = 0; reached < Reached; ++jumps) {
        const TKeyframe keyframe = keyframes.Nearest(CourseStepLimit);
        reached = keyframe.GetStep();
        TZOManager objects;
        TScenario jumped(objects, BuiltInMove());
        keyframe.RestoreInto(jumped);
        ASSERT_EQ(jumped.GetLoop().GetStep(), reached);
        ASSERT_EQ(jumped.GetLoop().GetDeliveries().size(), keyframe.snapshot ? keyframe.snapshot->loop.deliveryCount : 1);
    }
    cancel = true;
    course.join();
    EXPECT_GT(jumps, 1);

    // Thinned: fewer, further apart, within the budget.
    const std::int64_t interval = keyframes.GetInterval();
    EXPECT_GT(interval, TMoveKeyframes::HandlerStepsApart / 13);
    EXPECT_LE(keyframes.GetBytes(), Budget);
    // Each keyframe restores its own step exactly, and lies within an interval of any step after it.
    TZOManager straightObjects;
    TScenario straight(straightObjects, BuiltInMove());
    for (const std::int64_t step : {std::int64_t{0}, interval - 1, interval, 3 * interval + 17, Reached - 1}) {
        straight.GetLoop().RunSteps(step, [] { return true; });
        const TKeyframe keyframe = keyframes.Nearest(step);
        EXPECT_LE(keyframe.GetStep(), step);
        EXPECT_LT(step - keyframe.GetStep(), interval);
        TZOManager objects;
        TScenario jumped(objects, BuiltInMove());
        keyframe.RestoreInto(jumped);
        jumped.GetLoop().RunSteps(step, [] { return true; });
        EXPECT_EQ(Rows(jumped), Rows(straight)) << "step " << step;
        EXPECT_EQ(jumped.GetLoop().GetDeliveries(), straight.GetLoop().GetDeliveries()) << "step " << step;
    }
}

} // namespace
