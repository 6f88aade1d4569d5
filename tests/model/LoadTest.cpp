#include "model/clsLoad.h"

#include <gtest/gtest.h>

TEST(Loads, APlainLoadWeighsOneAndAStandardLoadWhatItWasGiven)
{
    const TZLoad plain;
    const TZStdLoad heavy(2.5);
    const TZLoad& heavyAsLoad = heavy;
    EXPECT_EQ(plain.GetWeight(), 1.0);
    EXPECT_EQ(heavyAsLoad.GetWeight(), 2.5);
}

TEST(Loads, EachLoadTakesTheNextIdAndTheNextSerialNumber)
{
    const TZStdLoad first(1.0);
    const TZLoad second;
    const TZStdLoad third(0.5);
    EXPECT_EQ(second.GetId(), first.GetId() + 1);
    EXPECT_EQ(third.GetId(), first.GetId() + 2);
    EXPECT_EQ(second.GetSerialNumber(), first.GetSerialNumber() + 1);
    EXPECT_EQ(third.GetSerialNumber(), first.GetSerialNumber() + 2);
}

TEST(Loads, SerialNumbersCountOnlyLoads)
{
    const TZStdLoad before(1.0);
    const TZembaObject notALoad;
    const TZStdLoad after(1.0);
    EXPECT_EQ(after.GetId(), before.GetId() + 2);
    EXPECT_EQ(after.GetSerialNumber(), before.GetSerialNumber() + 1);
}
