// Ids and the step-rate figure: the bookkeeping every reader of
// the chain relies on.
#include "ModelTestSupport.h"
#include "model/clsRateCounter.h"

#include <gtest/gtest.h>

#include <ctime>

TEST(ObjectIds, EachObjectTakesTheNextIdOfItsScenarioAndLoadsTheNextSerial)
{
    TObjectIds ids;
    TObjectIds other;
    const TTrail trail(ids);
    const TLoadSource source(ids, 1.0, 3); // its sample load takes the id after it
    const TZembaObject notALoad(ids);
    const TZStdLoad load(ids, 2.5);
    const TTrail elsewhere(other);
    EXPECT_EQ(trail.GetId(), 0);
    EXPECT_EQ(source.GetId(), 1);
    EXPECT_EQ(source.GetLoad(0)->GetId(), 2);
    EXPECT_EQ(load.GetId(), 4);
    EXPECT_EQ(load.GetSerialNumber(), source.GetLoad(0)->GetSerialNumber() + 1) << "serials count only loads";
    EXPECT_EQ(load.GetWeight(), 2.5);
    EXPECT_EQ(TZLoad(ids).GetWeight(), 1.0);
    EXPECT_EQ(elsewhere.GetId(), 0) << "another scenario's ids start afresh";
    EXPECT_TRUE(THomeareaPerson(ids, "B").IsKind(TZembaObject::KindPerson));
    EXPECT_FALSE(source.IsKind(TZembaObject::KindPerson));
}

// Each row: the calendar second an event sees, and the figure published after it.
TEST(RateCounter, CountsTheCrossingEventIntoTheClosingSecondAndSurvivesClockJumps)
{
    struct TRow
    {
        std::time_t second;
        int events;
        std::int32_t published;
    };
    const TRow rows[] = {
        {1000, 1, 1},  // the first event publishes 1
        {1000, 24, 1}, // unchanged within a second
        {1001, 1, 25}, // the crossing event counts into the closing second
        {1001, 9, 25},
        {1005, 1, 10}, // a gap of seconds publishes what was counted
        {900, 1, 1},   // the clock jumps back: one odd figure...
        {900, 4, 1},
        {901, 1, 5},   // ...and the next second is right again
    };
    TRateCounter counter;
    for (const TRow& row : rows) {
        for (int i = 0; i < row.events; ++i)
            counter.Count(row.second);
        EXPECT_EQ(counter.GetPerSecond(), row.published) << "after second " << row.second;
    }
}
