#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A handler holding loads of the given weights, in that order.
TObjectIds ids;

std::unique_ptr<TTestHandler> HolderOf(std::initializer_list<double> weights)
{
    auto holder = std::make_unique<TTestHandler>(ids);
    for (const double w : weights)
        holder->PutLoad(new TZStdLoad(ids, w));
    return holder;
}

} // namespace

TEST(LoadSource, ShowsItsSampleLoadForEveryIndexWithinTheStock)
{
    TLoadSource source(ids, 2.5, 3);
    EXPECT_EQ(source.GetLoadCount(), 3);
    const TZLoad* sample = source.GetLoad(0);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->GetWeight(), 2.5);
    EXPECT_EQ(source.GetLoad(2), sample);
    EXPECT_EQ(source.GetLoad(-1), nullptr);
    EXPECT_EQ(source.GetLoad(3), nullptr);
    EXPECT_EQ(source.GetPosition(), 0.0);
}

TEST(LoadSource, HandsOutANewLoadOfItsSamplesWeightPerTake)
{
    TLoadSource source(ids, 2.5, 2);
    const std::unique_ptr<TZLoad> load(source.TakeLoad(0));
    ASSERT_NE(load, nullptr);
    EXPECT_NE(load.get(), source.GetLoad(0));
    EXPECT_EQ(load->GetWeight(), 2.5);
    EXPECT_EQ(load->GetSerialNumber(), source.GetLoad(0)->GetSerialNumber() + 1);
    EXPECT_EQ(source.GetLoadCount(), 1);
}

TEST(LoadSource, RefusesTakesBeyondItsStock)
{
    TLoadSource source(ids, 1.0, 1);
    EXPECT_EQ(source.TakeLoad(1), nullptr);
    EXPECT_EQ(source.TakeLoad(-1), nullptr);
    EXPECT_EQ(source.GetLoadCount(), 1);
    delete source.TakeLoad(0);
    EXPECT_EQ(source.TakeLoad(0), nullptr);
    EXPECT_EQ(source.GetLoadCount(), 0);
}

TEST(LoadSource, GivesItsLastLoadOnceAndThenNothing)
{
    TLoadSource source(ids, 1.0, 1);
    TTestHandler receiver(ids, 0.0, 1.0);
    source.GiveLoadTo(&receiver);
    source.GiveLoadTo(&receiver);
    EXPECT_EQ(receiver.GetLoadCount(), 1);
    EXPECT_EQ(source.GetLoadCount(), 0);
}

// The source's loads all look like its sample: that decides what fits.
TEST(LoadSource, OffersLoadsAsHeavyAsItsSampleWhileItsStockLasts)
{
    TLoadSource source(ids, 1.0, 2);
    EXPECT_EQ(source.FindHeaviestLoad(1.0), 0);
    EXPECT_EQ(source.FindHeaviestLoad(0.9), -1);

    TLoadSource heavy(ids, 2.5, 2);
    TTestHandler receiver(ids, 0.0, 1.0);
    EXPECT_EQ(heavy.FindHeaviestLoad(1.0), -1);
    heavy.GiveLoadTo(&receiver);
    EXPECT_EQ(receiver.GetLoadCount(), 0);
    EXPECT_EQ(heavy.GetLoadCount(), 2);

    TLoadSource empty(ids, 1.0, 0);
    EXPECT_EQ(empty.FindHeaviestLoad(1.0), -1);
    empty.GiveLoadTo(&receiver);
    EXPECT_EQ(receiver.GetLoadCount(), 0);
}

TEST(LoadSink, AcceptsAndCountsEveryLoadButHoldsNone)
{
    TLoadSink sink(ids, 1.75);
    EXPECT_TRUE(sink.PutLoad(new TZStdLoad(ids, 150.0)));
    EXPECT_TRUE(sink.PutLoad(new TZStdLoad(ids, 1.0)));
    EXPECT_FALSE(sink.PutLoad(nullptr));
    EXPECT_EQ(sink.GetDeliveredCount(), 2);
    EXPECT_EQ(sink.GetLoadCount(), 0);
    EXPECT_EQ(sink.GetFreeCapacity(), 100.0);
    EXPECT_EQ(sink.GetPosition(), 1.75);
}

TEST(LoadHandler, FindsTheHeaviestLoadThatFitsAndKeepsTheEarlierOfEqualOnes)
{
    const auto holder = HolderOf({0.5, 1.0, 1.0});
    EXPECT_EQ(holder->FindHeaviestLoad(1.0), 1);
    EXPECT_EQ(holder->FindHeaviestLoad(100.0), 1);
    EXPECT_EQ(holder->FindHeaviestLoad(0.9), 0);
    EXPECT_EQ(holder->FindHeaviestLoad(0.4), -1);
    EXPECT_EQ(HolderOf({0.0, -1.0})->FindHeaviestLoad(1.0), -1) << "weightless loads are never found";
    EXPECT_EQ(HolderOf({})->FindHeaviestLoad(1.0), -1);
}

TEST(LoadHandler, AnImmediateHandOverMovesTheHeaviestLoadThatFits)
{
    const auto giver = HolderOf({0.5, 1.0, 1.0});
    TZLoad* firstHeavy = giver->GetLoad(1);
    TTestHandler roomy(ids, 0.0, 1.0);
    giver->GiveLoadTo(&roomy);
    ASSERT_EQ(roomy.GetLoadCount(), 1);
    EXPECT_EQ(roomy.GetLoad(0), firstHeavy);
    EXPECT_EQ(giver->GetLoadCount(), 2);

    TTestHandler small(ids, 0.0, 0.7);
    giver->GiveLoadTo(&small);
    ASSERT_EQ(small.GetLoadCount(), 1);
    EXPECT_EQ(small.GetLoad(0)->GetWeight(), 0.5);

    TTestHandler tiny(ids, 0.0, 0.4);
    giver->GiveLoadTo(&tiny);
    EXPECT_EQ(tiny.GetLoadCount(), 0);
    EXPECT_EQ(giver->GetLoadCount(), 1);
}
