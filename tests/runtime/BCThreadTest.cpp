#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsMoveLoop.h"
#include "runtime/clsBCThread.h"
#include "model/clsZOManager.h"
#include "runtime/clsChainPublisher.h"
#include "runtime/clsRetirement.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A clock that moves only when the pacer sleeps or a step says so.
struct TFakeTime
{
    std::int64_t now = 1000;
    std::vector<std::int64_t> sleeps;
    std::int64_t oversleep = 0; // how much longer than asked a sleep takes

    TPacingTiming Timing()
    {
        return {[this] { return now; }, [this](std::int64_t ms) { now += sleeps.emplace_back(ms) + oversleep; }};
    }
};

// A step of stepMs, its sleeps overrunning by oversleep; then when the next,
// short step starts, from the start of this one.
struct TPacingRow
{
    const char* name;
    std::int32_t speed;
    std::int64_t stepMs, oversleep;
    bool overrun;
    std::vector<std::int64_t> sleeps;
    std::int64_t nextStart;
};

using Pacing = testing::TestWithParam<TPacingRow>;

// The one handler the chain steps: counts its steps and runs a test's hook in each.
struct TStepCounter : TLoadHandler
{
    using TLoadHandler::TLoadHandler;
    double GetPosition() const override { return 0.0; }
    bool Step() override
    {
        const int now = ++steps;
        if (const auto* h = hook.load())
            (*h)(now);
        return true;
    }

    std::atomic<int> steps{0};
    std::atomic<const std::function<void(int)>*> hook{nullptr};
};

// Polls until the condition holds; false after ten seconds.
bool Eventually(const std::function<bool()>& condition)
{
    for (int i = 0; i < 2000 && !condition(); ++i)
        std::this_thread::sleep_for(5ms);
    return condition();
}

// The counter between the chain's two ends, which are never stepped: a move
// of one load that nobody carries, stalled after stallSteps. The chain's
// clock moves a second at every reading: a stepping chain reads a rate above
// 0 from its first sample on.
struct TCountedRun
{
    explicit TCountedRun(std::int64_t stallSteps = 1'000'000'000)
        : loop(chain, last, 1, stallSteps)
    {
        for (TLoadHandler* h : {static_cast<TLoadHandler*>(&first), static_cast<TLoadHandler*>(&counter),
                                static_cast<TLoadHandler*>(&last)})
            chain.AddHandler(h);
    }

    // Until the thread has published the paused chain at the step.
    bool WaitForPausedAt(std::int64_t step)
    {
        return Eventually([&] {
            const TChainState& state = publisher.Latest();
            return state.step == step && state.stepsPerSecond == 0;
        });
    }

    TObjectIds ids;
    std::int64_t clockMs = 0;
    TBucketChain chain{ids, [this] { return clockMs += 1000; }};
    TStepCounter first{ids}, counter{ids};
    TLoadSink last{ids, 1.0};
    TMoveLoop loop;
    TChainPublisher publisher;
    TFakeTime time;
};

} // namespace

TEST_P(Pacing, StepsStartAPeriodOfFortyMsOverTheSpeedApartUnlessTheyOverrun)
{
    const TPacingRow& row = GetParam();
    TFakeTime time;
    time.oversleep = row.oversleep;
    std::vector<std::int64_t> starts;
    std::int64_t duration = row.stepMs;
    const auto step = [&] { starts.push_back(std::exchange(time.now, time.now + duration)); };
    std::atomic<bool> overrun{!row.overrun};
    TStepPacer pacer(time.Timing());
    pacer.SetSpeed(row.speed);
    pacer.Start();
    pacer.RunPeriod(step, overrun);
    EXPECT_EQ(overrun, row.overrun);
    EXPECT_EQ(time.sleeps, row.sleeps);

    time.oversleep = 0;
    duration = 1;
    pacer.RunPeriod(step, overrun);
    EXPECT_EQ(starts, (std::vector<std::int64_t>{1000, 1000 + row.nextStart}));
    EXPECT_FALSE(overrun);
}

INSTANTIATE_TEST_SUITE_P(
    StepPacer, Pacing,
    testing::ValuesIn(std::vector<TPacingRow>{
        {"AStepOfAWholePeriodOverruns", 1, 40, 0, true, {}, 40}, {"ALongerStepIsFollowedAtOnce", 1, 55, 0, true, {}, 55},
        {"EndingTwoMsBeforeTheTargetSkipsTheCoarseSleep", 1, 38, 0, false, {1, 1}, 40},
        {"EndingOneMsBeforeTheTargetWaitsOneMs", 1, 39, 0, false, {1}, 40},
        {"AShortStepSleepsCoarselyThenFinely", 1, 10, 0, false, {28, 1, 1}, 40},
        {"ALateWakeUpIsNotCaughtUp", 1, 10, 5, false, {28}, 43},
        {"TwiceAsFast", 2, 1, 0, false, {17, 1, 1}, 20}, {"FiveTimesAsFast", 5, 1, 0, false, {5, 1, 1}, 8},
        {"TwentyTimesAsFast", 20, 1, 0, false, {1}, 2},
        // Back to back, the processor yielded every five milliseconds.
        {"AsFastAsPossible", TStepPacer::AsFastAsPossible, 1, 0, false, {}, 1},
        {"AsFastAsPossibleYieldsEveryFiveMs", TStepPacer::AsFastAsPossible, 5, 0, false, {0}, 5}}),
    [](const testing::TestParamInfo<TPacingRow>& row) { return row.param.name; });

TEST(SimulationThread, StepsNothingUntilResumedPublishesEveryStepAndStopsWithinAPeriod)
{
    TCountedRun run;
    EXPECT_TRUE(run.publisher.Latest().handlers.empty()) << "nothing before the first publication";
    TBCThread thread(true, &run.loop, &run.publisher);
    // Nothing to wait for here but the absence of a step.
    std::this_thread::sleep_for(120ms);
    EXPECT_EQ(run.counter.steps, 0);

    thread.Resume();
    ASSERT_TRUE(Eventually([&] { return run.counter.steps >= 3; }));
    const int beforeStop = run.counter.steps;
    thread.StopAndWait();
    EXPECT_LE(run.counter.steps, beforeStop + 1);
    EXPECT_EQ(run.first.steps, 0);
    EXPECT_EQ(run.publisher.Latest().step, run.chain.GetStepCount()) << "the last step was published";
    EXPECT_EQ(run.publisher.Latest().handlers.size(), 3u);
    EXPECT_EQ(run.publisher.Latest().outcome, TMoveOutcome::Running);
}

TEST(SimulationThread, HoldsAMoveThatIsOverLikeAPausedOneAndStepsItNoMore)
{
    TCountedRun run(4);
    TBCThread thread(true, &run.loop, &run.publisher);
    thread.Resume();
    ASSERT_TRUE(run.WaitForPausedAt(5)) << "stalled after four steps without a hand-over";
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(run.counter.steps, 5);
    EXPECT_EQ(run.publisher.Latest().outcome, TMoveOutcome::Stalled);
    EXPECT_EQ(run.publisher.Latest().lastHandoverStep, 0);
    thread.SetPaused(true);
    thread.StepOnce();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(run.counter.steps, 5) << "not even a single step";
}

// A single step asked for while running is ignored: here, before the run starts.
TEST(RunControl, APauseTakesEffectBeforeTheNextStepAndASingleStepStepsOnceOnlyWhilePaused)
{
    TCountedRun run;
    TBCThread thread(true, &run.loop, &run.publisher, run.time.Timing());
    // Paused from inside the third step: that step ends, no fourth begins.
    const std::function<void(int)> pauseAtThree = [&thread](int step) { if (step == 3) thread.SetPaused(true); };
    run.counter.hook = &pauseAtThree;
    thread.StepOnce();
    thread.Resume();
    for (const int expected : {3, 4, 5}) {
        if (expected > 3)
            thread.StepOnce();
        ASSERT_TRUE(run.WaitForPausedAt(expected));
        run.counter.hook = nullptr;
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(run.counter.steps, expected) << "one step per request";
    }
    thread.SetPaused(false);
    ASSERT_TRUE(Eventually([&] { return run.counter.steps >= 2 * StepsPerSecond; }));
    EXPECT_GT(run.publisher.Latest().stepsPerSecond, 0);
}

// The chart's points come with the published state, sampled as the move
// steps: the same curve at any speed, however often the move is published.
TEST(Publisher, HandsOverTheSameDeliveryCurveWhetherItPublishesEveryStepOrSeldom)
{
    const auto curve = [](std::int64_t publishEvery) {
        TZOManager objects;
        TScenario scenario(objects);
        TChainPublisher publisher;
        scenario.GetLoop().RunUntilOver(3000, [&] {
            if (scenario.GetLoop().GetStep() % publishEvery == 0)
                publisher.Publish(scenario.GetLoop());
            return true;
        });
        publisher.Publish(scenario.GetLoop());
        return publisher.Latest().deliveries;
    };
    const std::vector<TDeliveryPoint> everyStep = curve(1);
    ASSERT_EQ(everyStep.size(), 9u) << "step 0 and every 375 steps";
    EXPECT_EQ(everyStep[8], (TDeliveryPoint{3000, everyStep[8].delivered}));
    EXPECT_EQ(curve(977), everyStep);
}

// What a replaced move leaves behind: its thread goes first, waiting for its step.
struct TLeftRun
{
    std::unique_ptr<TCountedRun> run;
    std::unique_ptr<TBCThread> thread;
};

TEST(Replacing, AMoveInALongStepIsLetGoOfWithoutWaitingAndNeverShownAgain)
{
    TChainPublisher publisher;
    auto old = std::make_unique<TCountedRun>();
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> inStep{false};
    std::atomic<bool> stepEnded{false};
    // Holds the second step until released, or for ten seconds should the replace wait for it.
    const std::function<void(int)> hold = [&](int step) {
        if (step != 2)
            return;
        inStep = true;
        released.wait_for(10s);
        stepEnded = true;
    };
    old->counter.hook = &hold;
    auto oldThread = std::make_unique<TBCThread>(false, &old->loop, &publisher);
    ASSERT_TRUE(Eventually([&] { return inStep.load(); }));
    EXPECT_EQ(publisher.Latest().step, 1) << "the old move was shown up to its step before";

    TRetirement retirement;
    TCountedRun fresh;
    oldThread->RequestStop();
    retirement.Retire(std::make_unique<TLeftRun>(TLeftRun{std::move(old), std::move(oldThread)}));
    TBCThread thread(true, &fresh.loop, &publisher);
    thread.SetPaused(true);
    thread.Resume();
    EXPECT_FALSE(stepEnded) << "the replace waited for the step under way";
    release.set_value();
    retirement.Drain();
    EXPECT_EQ(publisher.Latest().step, 0) << "the old move's step after the replace is never shown";
}
