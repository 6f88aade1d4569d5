#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TObjectIds ids;

// A handler holding loads of the given weights, in that order.
std::unique_ptr<TTestHandler> HolderOf(std::initializer_list<double> weights)
{
    auto holder = std::make_unique<TTestHandler>(ids);
    for (const double w : weights)
        holder->PutLoad(new TZStdLoad(ids, w));
    return holder;
}

} // namespace

TEST(LoadSource, HandsOutANewLoadLikeItsSampleForEveryTakeWithinItsStock)
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
    TTestHandler receiver(ids, 0.0, 1.0);
    source.GiveLoadTo(&receiver);
    source.GiveLoadTo(&receiver);
    EXPECT_EQ(receiver.GetLoadCount(), 1) << "the last load is given once";
    EXPECT_EQ(source.GetLoadCount(), 0);
    EXPECT_EQ(source.FindHeaviestLoad(1.0), -1);
}

// The source's loads all look like its sample: that decides what fits.
TEST(LoadSource, OffersNoLoadHeavierThanTheReceiverCanTake)
{
    TLoadSource heavy(ids, 2.5, 2);
    TTestHandler receiver(ids, 0.0, 1.0);
    EXPECT_EQ(heavy.FindHeaviestLoad(2.5), 0);
    EXPECT_EQ(heavy.FindHeaviestLoad(1.0), -1);
    heavy.GiveLoadTo(&receiver);
    EXPECT_EQ(receiver.GetLoadCount(), 0);
    EXPECT_EQ(heavy.GetLoadCount(), 2);
}

TEST(LoadSink, AcceptsAndCountsEveryLoadButHoldsNone)
{
    TLoadSink sink(ids, 1.75);
    EXPECT_TRUE(sink.PutLoad(new TZStdLoad(ids, 150.0)));
    EXPECT_FALSE(sink.PutLoad(nullptr));
    EXPECT_EQ(sink.GetDeliveredCount(), 1);
    EXPECT_EQ(sink.GetLoadCount(), 0);
}

TEST(LoadHandler, HandsOverTheHeaviestLoadThatFitsAndTheEarlierOfEqualOnes)
{
    EXPECT_EQ(HolderOf({0.0, -1.0})->FindHeaviestLoad(1.0), -1) << "weightless loads are never found";
    const auto giver = HolderOf({0.5, 1.0, 1.0});
    EXPECT_EQ(giver->FindHeaviestLoad(100.0), 1);
    TZLoad* firstHeavy = giver->GetLoad(1);
    for (const auto& [room, weight] : {std::pair{1.0, 1.0}, {0.7, 0.5}, {0.4, 0.0}}) {
        TTestHandler receiver(ids, 0.0, room);
        giver->GiveLoadTo(&receiver);
        const double got = receiver.GetLoadCount() == 1 ? receiver.GetLoad(0)->GetWeight() : 0.0;
        EXPECT_EQ(got, weight) << "room " << room;
    }
    EXPECT_EQ(giver->GetLoadCount(), 1);
    EXPECT_NE(giver->GetLoad(0), firstHeavy) << "of equal loads the earlier goes first";
}
