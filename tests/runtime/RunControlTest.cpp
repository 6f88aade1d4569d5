#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A clock that moves only when the pacer sleeps or a step says so.
struct TFakeTime
{
    std::int64_t now = 1000;
    std::vector<std::int64_t> sleeps;

    TPacingTiming Timing()
    {
        return {[this] { return now; }, [this](std::int64_t ms) {
                    sleeps.push_back(ms);
                    now += ms;
                }};
    }
};

struct TSpeedRow
{
    const char* name;
    std::int32_t factor;
    std::int64_t period;
    // A step of 1 ms, then the pacer's sleeps.
    std::vector<std::int64_t> sleeps;
};

class Speed : public testing::TestWithParam<TSpeedRow>
{
};

} // namespace

TEST_P(Speed, StepsStartAPeriodOfFortyMsOverTheFactorApart)
{
    const TSpeedRow& row = GetParam();
    TFakeTime time;
    std::vector<std::int64_t> starts;
    const auto step = [&] {
        starts.push_back(time.now);
        time.now += 1;
    };
    std::atomic<bool> overrun{true};

    TStepPacer pacer(time.Timing());
    pacer.SetSpeed(row.factor);
    EXPECT_EQ(pacer.GetPeriod(), row.period);
    pacer.Start();
    pacer.RunPeriod(step, overrun);
    EXPECT_EQ(time.sleeps, row.sleeps);
    EXPECT_FALSE(overrun);
    pacer.RunPeriod(step, overrun);
    EXPECT_EQ(starts[1] - starts[0], std::max<std::int64_t>(row.period, 1));
}

INSTANTIATE_TEST_SUITE_P(
    StepPacer, Speed,
    testing::Values(TSpeedRow{"Once", 1, 40, {37, 1, 1}},
                    TSpeedRow{"Twice", 2, 20, {17, 1, 1}},
                    TSpeedRow{"FiveTimes", 5, 8, {5, 1, 1}},
                    TSpeedRow{"TwentyTimes", 20, 2, {1}},
                    // Back to back, but the processor is yielded between steps.
                    TSpeedRow{"AsFastAsPossible", TStepPacer::AsFastAsPossible, 0, {0}}),
    [](const testing::TestParamInfo<TSpeedRow>& row) { return std::string(row.param.name); });

namespace {

// The one handler the chain steps: counts its steps and runs a test's hook in each.
class TStepCounter : public TLoadHandler
{
public:
    using TLoadHandler::TLoadHandler;
    double GetPosition() const override { return 0.0; }
    bool Step() override
    {
        std::function<void(int)> hookNow;
        int now = 0;
        {
            const std::lock_guard guard(mutex);
            now = ++steps;
            hookNow = hook;
        }
        if (hookNow)
            hookNow(now);
        stepped.notify_all();
        return true;
    }

    int Steps() const
    {
        const std::lock_guard guard(mutex);
        return steps;
    }
    bool WaitForSteps(int count)
    {
        std::unique_lock guard(mutex);
        return stepped.wait_for(guard, 10s, [&] { return steps >= count; });
    }
    void SetHook(std::function<void(int)> newHook)
    {
        const std::lock_guard guard(mutex);
        hook = std::move(newHook);
    }

private:
    mutable std::mutex mutex;
    std::condition_variable stepped;
    std::function<void(int)> hook;
    int steps = 0;
};

// A chain whose calendar second changes at every step, so that a stepping
// chain always reads a rate above 0; stepped at fake time, back to back.
struct TControlledRun
{
    TControlledRun()
    {
        for (TLoadHandler* h : {static_cast<TLoadHandler*>(&first), static_cast<TLoadHandler*>(&counter),
                                static_cast<TLoadHandler*>(&last)})
            chain.AddHandler(h);
    }

    // Waits until the thread has published the paused chain at the step.
    bool WaitForPausedAt(std::int64_t step)
    {
        for (int i = 0; i < 1000; ++i) {
            const TChainState& state = publisher.Latest();
            if (state.step == step && state.stepsPerSecond == 0)
                return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }

    TObjectIds ids;
    std::time_t second = 0;
    TBucketChain chain{ids, [this] { return ++second; }};
    TStepCounter first{ids};
    TStepCounter counter{ids};
    TStepCounter last{ids};
    TChainPublisher publisher;
    TFakeTime time;
};

} // namespace

TEST(RunControl, APauseTakesEffectBeforeTheNextStepAndASingleStepStepsOnce)
{
    TControlledRun run;
    TBCThread thread(true, &run.chain, &run.publisher, run.time.Timing());
    // Paused from inside the third step: that step ends, no fourth begins.
    run.counter.SetHook([&thread](int step) {
        if (step == 3)
            thread.SetPaused(true);
    });
    thread.Resume();
    ASSERT_TRUE(run.WaitForPausedAt(3));
    run.counter.SetHook({});
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(run.counter.Steps(), 3);
    EXPECT_TRUE(thread.IsPaused());

    for (const int expected : {4, 5}) {
        thread.StepOnce();
        ASSERT_TRUE(run.WaitForPausedAt(expected));
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(run.counter.Steps(), expected) << "one step per request";
    }

    thread.SetPaused(false);
    ASSERT_TRUE(run.counter.WaitForSteps(10));
    EXPECT_GT(run.publisher.Latest().stepsPerSecond, 0);
    thread.StopAndWait();
}

TEST(RunControl, ASingleStepIsIgnoredWhileRunningAndAStopEndsAPause)
{
    TControlledRun run;
    TBCThread thread(true, &run.chain, &run.publisher, run.time.Timing());
    thread.StepOnce();
    thread.SetPaused(true);
    thread.Resume();
    ASSERT_TRUE(run.WaitForPausedAt(0)) << "a step asked for before the pause does not count";
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(run.counter.Steps(), 0);
    thread.StopAndWait();
}

TEST(ChainPublisher, TellsTheStepAfterWhichEveryLoadWasDelivered)
{
    TControlledRun run;
    EXPECT_EQ(run.publisher.GetFinishStep(), -1);
    // A chain without loads has delivered everything from the start.
    run.chain.Step();
    run.publisher.Publish(run.chain);
    run.chain.Step();
    run.publisher.Publish(run.chain);
    EXPECT_EQ(run.publisher.GetFinishStep(), 1);
}
