#include "analysis/SweepStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using K = TFinishTime::TKind;

std::vector<TFinishTime> Sorted(std::vector<TFinishTime> times)
{
    std::sort(times.begin(), times.end(), FinishesBefore);
    return times;
}

// Worked by hand: ranks p * (n - 1) over 100, 200, 300, > 1000, never.
TEST(SweepStatistics, QuantilesRankUnfinishedRunsLastAndNameThemWhereTheyAreTakenIn)
{
    const std::vector<TFinishTime> times = Sorted({TFinishTime::NeverFinished(), TFinishTime::At(300),
                                                   TFinishTime::Beyond(1000), TFinishTime::At(100), TFinishTime::At(200)});
    const struct
    {
        double p;
        K kind;
        std::int64_t steps;
    } rows[] = {
        {0.0, K::Finished, 100},   {0.1, K::Finished, 140},  {0.5, K::Finished, 300}, {0.6, K::BeyondLimit, 1000},
        {0.75, K::BeyondLimit, 1000}, {0.9, K::Never, 0}, {1.0, K::Never, 0},
    };
    for (const auto& row : rows) {
        const auto q = FinishQuantile(times, row.p);
        ASSERT_TRUE(q) << row.p;
        EXPECT_EQ(q->kind, row.kind) << row.p;
        EXPECT_EQ(q->steps, row.steps) << row.p;
    }
    EXPECT_FALSE(FinishQuantile({}, 0.5));
}

TEST(SweepStatistics, AQuantileThatRestsOnFinishedRunsDoesNotMoveWhenTheLimitIsRaised)
{
    for (const std::int64_t limit : {500, 5000})
        EXPECT_EQ(FinishQuantile(Sorted({TFinishTime::At(100), TFinishTime::At(300), TFinishTime::Beyond(limit)}), 0.5)->steps,
                  300);
}

// The binomial order statistics: 6 runs are the fewest whose extremes cover
// 95 % (1 - 2/64); of 20 runs the 6th and 15th cover 95.86 %.
TEST(SweepStatistics, TheMedianIntervalComesFromBinomialRanks)
{
    EXPECT_FALSE(MedianInterval(5));
    const auto six = MedianInterval(6);
    ASSERT_TRUE(six);
    EXPECT_EQ(six->lower, 0u);
    EXPECT_EQ(six->upper, 5u);
    EXPECT_NEAR(six->coverage, 1.0 - 2.0 / 64.0, 1e-12);
    const auto twenty = MedianInterval(20);
    ASSERT_TRUE(twenty);
    EXPECT_EQ(twenty->lower, 5u);
    EXPECT_EQ(twenty->upper, 14u);
    EXPECT_NEAR(twenty->coverage, 0.958611, 1e-6);
    const auto many = MedianInterval(5000);
    ASSERT_TRUE(many);
    EXPECT_GE(many->coverage, 0.95);
    EXPECT_NEAR(static_cast<double>(many->upper - many->lower), 2.0 * 1.96 * 0.5 * std::sqrt(5000.0), 3.0);
}

TEST(SweepStatistics, WilsonIntervalsStayWithinZeroAndOne)
{
    const struct
    {
        std::size_t hits, of;
        double lower, upper;
    } rows[] = {{0, 10, 0.0, 0.277533}, {5, 10, 0.236593, 0.763407}, {10, 10, 0.722467, 1.0}, {0, 0, 0.0, 1.0}};
    for (const auto& row : rows) {
        const TProportion p = WilsonProportion(row.hits, row.of);
        EXPECT_NEAR(p.lower, row.lower, 1e-6) << row.hits << " of " << row.of;
        EXPECT_NEAR(p.upper, row.upper, 1e-6) << row.hits << " of " << row.of;
    }
}

// Per seed, second minus first: -10, +50, the second never finished, neither did.
TEST(SweepStatistics, PairedDifferencesCountAnUnfinishedRunByItsSign)
{
    const TPairedComparison c = ComparePaired(
        {TFinishTime::At(100), TFinishTime::At(200), TFinishTime::At(300), TFinishTime::NeverFinished()},
        {TFinishTime::At(90), TFinishTime::At(250), TFinishTime::NeverFinished(), TFinishTime::NeverFinished()});
    EXPECT_EQ(c.pairs, 4u);
    ASSERT_TRUE(c.medianDifference);
    EXPECT_DOUBLE_EQ(*c.medianDifference, 25.0);
    EXPECT_EQ(c.secondFaster.hits, 1u);
    EXPECT_EQ(c.secondFaster.of, 4u);
    // Most seeds never finish with the second: the middle difference is known by its sign alone.
    EXPECT_FALSE(ComparePaired({TFinishTime::At(1), TFinishTime::At(2)}, {TFinishTime::NeverFinished(), TFinishTime::Beyond(9)})
                     .medianDifference);
}

} // namespace
