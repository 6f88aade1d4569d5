#include "ModelTestSupport.h"
#include "model/clsRateCounter.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

namespace {

THandlerList Find(const TBucketChain& chain, double lo, double hi)
{
    THandlerList out;
    chain.FindHandlers(lo, hi, out);
    return out;
}

// Which listener heard which handler in which phase, at which position.
using TEvent = std::tuple<int, TLoadHandler*, std::uint8_t, double>;

class TRecordingListener final : public TBucketChainEventListener
{
public:
    TRecordingListener(int listenerTag, std::vector<TEvent>& sharedLog)
        : tag(listenerTag)
        , log(sharedLog)
    {
    }
    void OnHandlerMove(TLoadHandler* h, std::uint8_t phase) override { log.emplace_back(tag, h, phase, h->GetPosition()); }

private:
    int tag;
    std::vector<TEvent>& log;
};

// Three handlers sharing position 0.5 between one at 0.2 and one at 0.8.
class ChainIndex : public testing::Test
{
protected:
    TTestWorld world;
    TTestHandler& low = world.Add<TTestHandler>(0.2);
    TTestHandler& a = world.Add<TTestHandler>(0.5);
    TTestHandler& b = world.Add<TTestHandler>(0.5);
    TTestHandler& c = world.Add<TTestHandler>(0.5);
    TTestHandler& high = world.Add<TTestHandler>(0.8);
};

} // namespace

TEST_F(ChainIndex, IntervalQueriesIncludeBothEndsInPositionThenFilingOrder)
{
    const THandlerList all{&low, &a, &b, &c, &high};
    EXPECT_EQ(Find(world.chain, 0.2, 0.8), all);
    EXPECT_EQ(Find(world.chain, 0.8, 0.2), all) << "reversed bounds are swapped";
    EXPECT_EQ(Find(world.chain, 0.21, 0.79), (THandlerList{&a, &b, &c}));

    THandlerList out{&low};
    EXPECT_FALSE(world.chain.FindHandlers(0.81, 2.0, out));
    EXPECT_TRUE(out.empty()) << "a query empties its list first";
}

TEST_F(ChainIndex, AMoveRefilesOnlyTheMoverBehindThoseAlreadyThereAndListenersHearBothPhases)
{
    std::vector<TEvent> log;
    TRecordingListener first(1, log);
    TRecordingListener second(2, log);
    world.chain.AddListener(&first);
    world.chain.AddListener(nullptr);
    world.chain.AddListener(&second);

    b.MoveTo(0.7);
    EXPECT_EQ(Find(world.chain, 0.5, 0.5), (THandlerList{&a, &c}));
    EXPECT_EQ(log, (std::vector<TEvent>{{1, &b, TBucketChain::PhaseMoving, 0.5},
                                        {2, &b, TBucketChain::PhaseMoving, 0.5},
                                        {1, &b, TBucketChain::PhaseMoved, 0.7},
                                        {2, &b, TBucketChain::PhaseMoved, 0.7}}));
    b.MoveTo(0.5);
    EXPECT_EQ(Find(world.chain, 0.5, 0.5), (THandlerList{&a, &c, &b}));
    // Standing still is still a move: the handler goes to the back of its position.
    a.MoveTo(0.5);
    EXPECT_EQ(Find(world.chain, 0.5, 0.5), (THandlerList{&c, &b, &a}));

    // Moved behind the chain's back, then announced in the second phase only:
    // the handler's own entry moves, nobody else's.
    c.position = 0.6;
    world.chain.HandlerMoving(&c, TBucketChain::PhaseMoved);
    EXPECT_EQ(Find(world.chain, 0.5, 0.6), (THandlerList{&b, &a, &c}));
    EXPECT_EQ(world.chain.GetPositionIndex().size(), 5u);
}

TEST_F(ChainIndex, AHandlerRemovedOrDestroyedLeavesTheSequenceAndTheIndex)
{
    world.chain.RemoveHandler(&b);
    EXPECT_EQ(world.chain.GetHandler(2), &c);
    EXPECT_EQ(b.GetChain(), nullptr);
    world.Add<TTestHandler>(0.5);
    world.handlers.pop_back();
    // Neither a stranger nor null changes anything.
    TTestHandler stranger(world.ids, 0.5);
    world.chain.RemoveHandler(&stranger);
    world.chain.RemoveHandler(nullptr);
    world.chain.AddHandler(nullptr);
    EXPECT_EQ(world.chain.GetHandlerCount(), 4);
    EXPECT_EQ(Find(world.chain, 0.5, 0.5), (THandlerList{&a, &c}));
    EXPECT_EQ(world.chain.GetPositionIndex().size(), 4u);
    world.chain.Step();
}

TEST(BucketChain, AHandlerThatOutlivesItsChainCanStillMoveAndBeDestroyed)
{
    TObjectIds ids;
    TTestHandler handler(ids, 0.5);
    std::make_unique<TBucketChain>(ids)->AddHandler(&handler);
    EXPECT_EQ(handler.GetChain(), nullptr);
    handler.MoveTo(0.6);
}

// Every step is counted against the clock the chain was given, a simulated second to a sample.
TEST(BucketChain, AStepStepsEveryHandlerButTheFirstAndTheLastAndIsCounted)
{
    for (int count = 0; count <= 4; ++count) {
        std::int64_t now = 1000;
        TTestWorld world({{1.0, false}}, [&now] { return now; });
        std::vector<TTestHandler*> handlers;
        for (int i = 0; i < count; ++i)
            handlers.push_back(&world.Add<TTestHandler>(0.1 * i));
        for (int step = 0; step <= StepsPerSecond; ++step, now += 20)
            world.chain.Step();
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(handlers[i]->steps, i > 0 && i < count - 1 ? StepsPerSecond + 1 : 0) << "handler " << i << " of " << count;
        EXPECT_EQ(world.chain.GetStepsPerSecond(), 50);
        EXPECT_EQ(world.chain.GetStepCount(), StepsPerSecond + 1);
    }
}

// Rows: events, milliseconds apart, and the figure published after them;
// a sample of a multiple of 5 events and at least 250 ms.
TEST(RateCounter, MeasuresSamplesOfEventsAndTimeAndStartsAfreshAfterAPause)
{
    TRateCounter counter(5);
    std::int64_t now = 0;
    const TRateCounter::TClock clock = [&now] { return now; };
    for (const auto& [events, apart, published] : {
             std::tuple<int, std::int64_t, std::int32_t>{1, 0, 0}, // the first event opens the sample
             {4, 100, 0},              // 400 ms, but only four events
             {1, 100, 10},             // a short burst is measured: 5 events in 500 ms
             {5, 10, 10},              // 5 events, but 50 ms: the figure stays
             {20, 10, 100},            // 25 events in 250 ms
             {1, 60'000, 100},         // a pause...
             {4, 100, 100},            // ...opens a fresh sample, the figure stays...
             {5, 100, 10},             // ...and is not counted in the next
         }) {
        for (int i = 0; i < events; ++i) {
            now += apart;
            counter.Count(clock);
        }
        EXPECT_EQ(counter.GetPerSecond(), published) << "at " << now << " ms";
    }
}

