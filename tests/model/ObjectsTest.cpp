// Ids, the registry and the step-rate figure: the bookkeeping every reader of
// the chain relies on.
#include "ModelTestSupport.h"
#include "model/clsRateCounter.h"
#include "model/clsZOManager.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

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
}

TEST(ObjectIds, OnlyPersonsAreOfKindPerson)
{
    TObjectIds ids;
    const TPerson person(ids, "A");
    const THomeareaPerson home(ids, "B");
    const TLoadSink sink(ids, 1.0);
    EXPECT_TRUE(person.IsKind(TZembaObject::KindPerson));
    EXPECT_TRUE(home.IsKind(TZembaObject::KindPerson));
    EXPECT_FALSE(person.IsKind(1));
    EXPECT_FALSE(sink.IsKind(TZembaObject::KindPerson));
}

TEST(Registry, FindsCollectsInIdOrderAndForgetsWhatIsRemoved)
{
    TObjectIds ids;
    TPerson first(ids, "A");
    TTrail trail(ids);
    TPerson second(ids, "B");
    TZOManager objects;
    for (TZembaObject* o : {static_cast<TZembaObject*>(&second), static_cast<TZembaObject*>(&trail),
                            static_cast<TZembaObject*>(&first), static_cast<TZembaObject*>(&first), static_cast<TZembaObject*>(nullptr)})
        objects.Add(o);
    EXPECT_EQ(objects.GetCount(), 3u) << "filing again or filing null changes nothing";
    EXPECT_EQ(objects.Find(trail.GetId()), &trail);
    EXPECT_EQ(objects.Find(-1), nullptr);

    std::vector<TZembaObject*> out{&trail};
    objects.Collect(out, TZembaObject::KindPerson);
    EXPECT_EQ(out, (std::vector<TZembaObject*>{&first, &second}));

    TObjectIds otherIds;
    const TTrail impostor(otherIds); // same id as first, never filed
    objects.Remove(&impostor);
    EXPECT_EQ(objects.Find(first.GetId()), &first) << "only the object filed under the id is taken out";
    objects.Remove(&first);
    EXPECT_EQ(objects.Find(first.GetId()), nullptr);
    EXPECT_EQ(objects.GetCount(), 2u);
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
