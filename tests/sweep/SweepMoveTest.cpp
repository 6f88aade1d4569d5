#include "tools/SweepMove.h"

#include <gtest/gtest.h>

namespace {

TEST(SweepMove, TheBuiltInMoveWithSeed5489EndsInStep221150AsTheReportSays)
{
    const std::atomic<bool> stop{false};
    const std::optional<TSweepOutcome> outcome = RunSweepMove(BuiltInMove(), 5'000'000, stop);
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->finished);
    EXPECT_EQ(outcome->steps, 221150);
    EXPECT_EQ(outcome->delivered, 666);
    // The figures of zemba-run --report for the same run.
    EXPECT_EQ(outcome->breaks, 213);
    EXPECT_NEAR(outcome->perMinute, 4.5173, 1e-4);
    EXPECT_NEAR(outcome->boundShare * 21.0, 4.5173, 0.01);
}

TEST(SweepMove, EndsUnfinishedAtItsLimitAndNotAtAllWhenStopped)
{
    std::atomic<bool> stop{false};
    const std::optional<TSweepOutcome> cut = RunSweepMove(BuiltInMove(), 1000, stop);
    ASSERT_TRUE(cut);
    EXPECT_FALSE(cut->finished);
    EXPECT_EQ(cut->steps, 1000);
    stop = true;
    EXPECT_FALSE(RunSweepMove(BuiltInMove(), 1000, stop));
}

} // namespace
