#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TObjectIds ids;

} // namespace

// Its loads all look like its sample: that decides what fits.
TEST(LoadSource, HandsOutANewLoadLikeItsSampleForEveryTakeWithinItsStockIfItFits)
{
    TLoadSource source(ids, 1.0, 2);
    const TZLoad* sample = source.GetLoad(0);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(source.GetLoad(1), sample);
    EXPECT_EQ(source.GetLoad(2), nullptr);
    EXPECT_EQ(source.TakeLoad(2), nullptr);
    EXPECT_EQ(source.TakeLoad(-1), nullptr);
    const std::unique_ptr<TZLoad> load(source.TakeLoad(0));
    ASSERT_NE(load, nullptr);
    EXPECT_NE(load.get(), sample);
    EXPECT_EQ(load->GetSerialNumber(), sample->GetSerialNumber() + 1);

    TTestHandler narrow(ids, 0.0, 0.9);
    TLoadSink sink(ids, 1.75);
    source.GiveLoadTo(&narrow);
    EXPECT_EQ(source.FindHeaviestLoad(0.9), -1);
    source.GiveLoadTo(&sink);
    source.GiveLoadTo(&sink);
    EXPECT_EQ(narrow.GetLoadCount(), 0) << "a load that does not fit stays";
    EXPECT_EQ(sink.GetDeliveredCount(), 1) << "the last load is given once";
    EXPECT_EQ(sink.GetLoadCount(), 0) << "the sink counts its loads but holds none";
    EXPECT_FALSE(sink.PutLoad(nullptr));
    EXPECT_EQ(source.GetLoadCount(), 0);
    EXPECT_EQ(source.FindHeaviestLoad(1.0), -1);
}

// Rows: the receiver's room and the weight it gets.
TEST(LoadHandler, HandsOverTheHeaviestLoadThatFitsAndTheEarlierOfEqualOnes)
{
    TTestHandler giver(ids);
    for (const double w : {0.0, -1.0})
        giver.PutLoad(new TZStdLoad(ids, w));
    EXPECT_EQ(giver.FindHeaviestLoad(1.0), -1) << "weightless loads are never found";
    giver.loads.clear();
    for (const double w : {0.5, 1.0, 1.0})
        giver.PutLoad(new TZStdLoad(ids, w));
    EXPECT_EQ(giver.FindHeaviestLoad(100.0), 1);
    const TZLoad* firstHeavy = giver.GetLoad(1);
    for (const auto& [room, weight] : {std::pair{1.0, 1.0}, {0.7, 0.5}, {0.4, 0.0}}) {
        TTestHandler receiver(ids, 0.0, room);
        giver.GiveLoadTo(&receiver);
        EXPECT_EQ(receiver.GetLoadCount() == 1 ? receiver.GetLoad(0)->GetWeight() : 0.0, weight) << "room " << room;
    }
    EXPECT_EQ(giver.GetLoadCount(), 1);
    EXPECT_NE(giver.GetLoad(0), firstHeavy) << "of equal loads the earlier goes first";
}
