#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"

#include <gtest/gtest.h>

#include <atomic>
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
    // How much longer than asked a sleep takes.
    std::int64_t oversleep = 0;

    TPacingTiming Timing()
    {
        return {[this] { return now; }, [this](std::int64_t ms) {
                    sleeps.push_back(ms);
                    now += ms + oversleep;
                }};
    }
};

struct TPacingRow
{
    const char* name;
    std::int64_t stepMs;
    std::int64_t oversleep;
    bool overrun;
    std::vector<std::int64_t> sleeps;
    // When the next step starts, from the start of this one.
    std::int64_t nextStart;
};

class Pacing : public testing::TestWithParam<TPacingRow>
{
};

} // namespace

TEST_P(Pacing, StepsStartAPeriodApartUnlessTheyOverrun)
{
    const TPacingRow& row = GetParam();
    TFakeTime time;
    time.oversleep = row.oversleep;
    std::vector<std::int64_t> starts;
    std::int64_t duration = row.stepMs;
    const auto step = [&] {
        starts.push_back(time.now);
        time.now += duration;
    };
    std::atomic<bool> overrun{!row.overrun};

    TStepPacer pacer(time.Timing());
    pacer.Start();
    pacer.RunPeriod(step, overrun);
    EXPECT_EQ(overrun, row.overrun);
    EXPECT_EQ(time.sleeps, row.sleeps);

    // A short second step shows where the next period was measured from.
    time.sleeps.clear();
    time.oversleep = 0;
    duration = 1;
    pacer.RunPeriod(step, overrun);
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1] - starts[0], row.nextStart);
    EXPECT_FALSE(overrun);
    EXPECT_EQ(time.now - starts[1], 40) << "the second period lasts exactly one period";
}

INSTANTIATE_TEST_SUITE_P(
    StepPacer, Pacing,
    testing::Values(
        TPacingRow{"AStepOfAWholePeriodOverruns", 40, 0, true, {}, 40},
        TPacingRow{"ALongerStepIsFollowedAtOnce", 55, 0, true, {}, 55},
        TPacingRow{"EndingTwoMsBeforeTheTargetSkipsTheCoarseSleep", 38, 0, false, {1, 1}, 40},
        TPacingRow{"EndingOneMsBeforeTheTargetWaitsOneMs", 39, 0, false, {1}, 40},
        TPacingRow{"AShortStepSleepsCoarselyThenFinely", 10, 0, false, {28, 1, 1}, 40},
        TPacingRow{"ALateWakeUpIsNotCaughtUp", 10, 5, false, {28}, 43}),
    [](const testing::TestParamInfo<TPacingRow>& info) { return std::string(info.param.name); });

namespace {

// The one handler the chain steps; it counts its steps and can run a test's
// hook inside a step.
class TStepCounter : public TLoadHandler
{
public:
    using TLoadHandler::TLoadHandler;
    double GetPosition() const override { return 0.0; }
    bool Step() override
    {
        if (hook)
            hook();
        {
            const std::lock_guard guard(mutex);
            ++steps;
        }
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

    std::function<void()> hook;

private:
    mutable std::mutex mutex;
    std::condition_variable stepped;
    int steps = 0;
};

// A chain whose only stepped handler is the counter between two ends.
struct TCountedChain
{
    TCountedChain()
        : chain(ids)
    {
        for (TLoadHandler* h : {static_cast<TLoadHandler*>(&first), static_cast<TLoadHandler*>(&counter),
                                static_cast<TLoadHandler*>(&last)})
            chain.AddHandler(h);
    }

    TObjectIds ids;
    TBucketChain chain;
    TStepCounter first{ids};
    TStepCounter counter{ids};
    TStepCounter last{ids};
};

} // namespace

TEST(SimulationThread, StepsNothingUntilResumedAndStopsWithinAPeriod)
{
    TCountedChain counted;
    TBCThread thread(true, &counted.chain);
    // Nothing to wait for here but the absence of a step: a few periods'
    // grace for a thread that should not exist.
    std::this_thread::sleep_for(120ms);
    EXPECT_EQ(counted.counter.Steps(), 0);

    thread.Resume();
    ASSERT_TRUE(counted.counter.WaitForSteps(3));
    const int beforeStop = counted.counter.Steps();
    thread.StopAndWait();
    EXPECT_LE(counted.counter.Steps(), beforeStop + 1);
    EXPECT_EQ(counted.first.Steps() + counted.last.Steps(), 0) << "the chain's ends are never stepped";
}

TEST(SimulationThread, PublishesTheChainOnResumeAndAfterEveryStep)
{
    TCountedChain counted;
    TChainPublisher publisher;
    EXPECT_TRUE(publisher.Latest().handlers.empty()) << "nothing before the first publication";
    TBCThread thread(true, &counted.chain, &publisher);
    thread.Resume();
    ASSERT_TRUE(counted.counter.WaitForSteps(3));
    thread.StopAndWait();
    const TChainState& latest = publisher.Latest();
    EXPECT_EQ(latest.step, counted.chain.GetStepCount()) << "the last step was published";
    EXPECT_EQ(latest.handlers.size(), 3u);
}

// Every step overruns its period, so the next follows at once; the reader on
// this thread must still get the newest state at once, never waiting for a step.
TEST(SimulationThread, AReaderNeverWaitsForOverrunningSteps)
{
    TCountedChain counted;
    counted.counter.hook = [] { std::this_thread::sleep_for(60ms); };
    TChainPublisher publisher;
    TBCThread thread(false, &counted.chain, &publisher);
    const auto start = std::chrono::steady_clock::now();
    auto longest = std::chrono::steady_clock::duration::zero();
    std::int64_t lastSeen = -1;
    int changes = 0;
    while (std::chrono::steady_clock::now() - start < 1500ms) {
        const auto before = std::chrono::steady_clock::now();
        const std::int64_t step = publisher.Latest().step;
        longest = std::max(longest, std::chrono::steady_clock::now() - before);
        changes += step != lastSeen;
        lastSeen = step;
        std::this_thread::sleep_for(1ms);
    }
    thread.StopAndWait();
    EXPECT_LT(longest, 500ms) << "a busy shared machine may delay a call; a waiting one took minutes";
    EXPECT_GE(changes, 5) << "the reader saw the steps go by";
    EXPECT_TRUE(counted.chain.overrun);
}
