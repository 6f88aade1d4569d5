#include "view/clsChainSnapshot.h"

#include "model/clsBucketChain.h"
#include "model/clsLoad.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"

#include <gtest/gtest.h>

namespace {

// A home-area person caught in the middle of its day: tired, resting, with a
// home area and a load in its hands.
class PosedPerson : public THomeareaPerson
{
public:
    void Pose(double newFitness, bool newOnBreak, double start, double end)
    {
        fitness = newFitness;
        onBreak = newOnBreak;
        inHomeArea = true;
        homeStart = start;
        homeEnd = end;
    }
};

class SmallChain : public testing::Test
{
protected:
    SmallChain()
    {
        trail.AddSection(&ground);
        person.SetTrail(&trail);
        person.SetPosition(0.4);
        person.PutLoad(new TZStdLoad(1.0));
        person.Pose(0.5, true, 0.2, 0.7);
        chain.AddHandler(&source);
        chain.AddHandler(&person);
        chain.AddHandler(&sink);
    }

    // The chain outlives its handlers: they leave it when they go.
    TBucketChain chain;
    TTrailSection ground{1.0};
    TTrail trail;
    TLoadSource source{1.0, 5};
    PosedPerson person;
    TLoadSink sink{1.0};
};

TEST_F(SmallChain, SnapshotCopiesWhatThePictureShowsOfEachHandler)
{
    chain.overrun = true;
    TChainSnapshot snapshot;
    snapshot.Capture(chain);

    EXPECT_TRUE(snapshot.overrun);
    ASSERT_EQ(snapshot.handlers.size(), 3u);

    const THandlerSnapshot& s = snapshot.handlers[0];
    EXPECT_EQ(s.id, source.GetId());
    EXPECT_EQ(s.loadCount, 5) << "the loads the source still has to give";
    EXPECT_FALSE(s.isPerson);
    EXPECT_FALSE(s.inHomeArea);

    const THandlerSnapshot& p = snapshot.handlers[1];
    EXPECT_EQ(p.id, person.GetId());
    EXPECT_DOUBLE_EQ(p.position, 0.4);
    EXPECT_EQ(p.loadCount, 1);
    EXPECT_TRUE(p.isPerson);
    EXPECT_DOUBLE_EQ(p.fitness, 0.5);
    EXPECT_TRUE(p.onBreak);
    EXPECT_EQ(p.name, person.GetName());
    EXPECT_TRUE(p.inHomeArea);
    EXPECT_DOUBLE_EQ(p.homeStart, 0.2);
    EXPECT_DOUBLE_EQ(p.homeEnd, 0.7);

    const THandlerSnapshot& k = snapshot.handlers[2];
    EXPECT_EQ(k.id, sink.GetId());
    EXPECT_DOUBLE_EQ(k.position, 1.0);
    EXPECT_EQ(k.loadCount, 0);
}

} // namespace
