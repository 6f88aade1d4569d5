#include "analysis/SweepReport.h"
#include "analysis/SweepSummary.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace {

// Two helper counts: 6 with five seeds, one of which stalled; 8 with three,
// one of which met the step limit.
constexpr const char* HandMade =
    "run,/persons/0/count,seed,finished,outcome,steps,time,delivered,per_minute,bound_share,breaks\n"
    "0,6,1,1,finished,300,0:00:12,9,1.0,0.5,0\n"
    "1,6,2,1,finished,100,0:00:04,9,1.0,0.5,0\n"
    "2,6,3,0,stalled,50,0:00:02,9,1.0,0.5,0\n"
    "3,6,4,1,finished,200,0:00:08,9,1.0,0.5,0\n"
    "4,6,5,1,finished,400,0:00:16,9,1.0,0.5,0\n"
    "5,8,1,1,finished,1000,0:00:40,9,1.0,0.5,0\n"
    "6,8,2,1,finished,2000,0:01:20,9,1.0,0.5,0\n"
    "7,8,3,0,limit,9000,0:06:00,9,1.0,0.5,0\n";

std::vector<TSweepGroup> HandMadeGroups()
{
    std::istringstream in(HandMade);
    const TSweepTable table = ReadSweepCsv(in, "hand.csv");
    return SummariseSweep(table);
}

std::string Shown(const std::optional<TFinishTime>& time)
{
    return time ? FormatFinishTime(*time) : "none";
}

// Worked by hand over every run, the unfinished ranked last: 6 helpers are
// 100, 200, 300, 400, never; 8 helpers 1000, 2000, > 9000 (the limit).
TEST(SweepReport, PercentilesRankRunsAtTheLimitAndStalledRunsLast)
{
    const std::vector<TSweepGroup> groups = HandMadeGroups();
    ASSERT_EQ(groups.size(), 2u);
    const struct { const char* value; std::size_t runs, finished, stalled, limited; const char *min, *p10, *median, *p90, *max; }
        expected[] = {{"6", 5, 4, 1, 0, "0:00:04", "0:00:05", "0:00:12", "never", "never"},
                      {"8", 3, 2, 0, 1, "0:00:40", "0:00:48", "0:01:20", "> 0:06:00", "> 0:06:00"}};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto& e = expected[g];
        const TSweepGroup& got = groups[g];
        EXPECT_EQ(got.values, std::vector<std::string>{e.value});
        EXPECT_EQ(std::tie(got.runs, got.finished, got.stalled, got.limited),
                  std::tie(e.runs, e.finished, e.stalled, e.limited));
        EXPECT_EQ(std::vector<std::string>({Shown(got.min), Shown(got.p10), Shown(got.median), Shown(got.p90), Shown(got.max)}),
                  std::vector<std::string>({e.min, e.p10, e.median, e.p90, e.max}));
        // Fewer than six runs: no interval of 95 %.
        EXPECT_FALSE(got.medianLow);
    }
    EXPECT_EQ(groups[0].stalledShare.hits, 1u);
}

// 8 helpers: 1000 and 2000 finished, one run still under way at 9000.
TEST(SweepReport, ADeadlineBeyondTheLimitLeavesRunsAtTheLimitUndecided)
{
    const TSweepGroup eight = HandMadeGroups()[1];
    const struct { std::int64_t deadline; std::size_t hits, undecided; } rows[] = {
        {999, 0, 0}, {1500, 1, 0}, {9000, 2, 0}, {10000, 2, 1}};
    for (const auto& row : rows) {
        const TDeadlineChance chance = ChanceByDeadline(eight, row.deadline);
        EXPECT_EQ(chance.byDeadline.hits, row.hits) << row.deadline;
        EXPECT_EQ(chance.byDeadline.of, 3u);
        EXPECT_EQ(chance.undecided, row.undecided) << row.deadline;
        EXPECT_DOUBLE_EQ(chance.upper, WilsonProportion(row.hits + row.undecided, 3).upper) << row.deadline;
    }
}

// Seeds 1 to 3 of 6 against 8 helpers: +700, +1900, and stalled against the
// limit, which nothing tells apart.
TEST(SweepReport, NeighboursAreComparedSeedBySeed)
{
    const std::vector<TSweepGroup> groups = HandMadeGroups();
    const std::vector<TSweepPairing> pairings = PairNeighbours(groups);
    ASSERT_EQ(pairings.size(), 1u);
    EXPECT_EQ(pairings[0].first, &groups[0]);
    EXPECT_EQ(pairings[0].second, &groups[1]);
    EXPECT_EQ(pairings[0].comparison.pairs, 3u);
    ASSERT_TRUE(pairings[0].comparison.medianDifference);
    EXPECT_DOUBLE_EQ(*pairings[0].comparison.medianDifference, 700.0);
    EXPECT_EQ(pairings[0].comparison.secondFaster.hits, 0u);
}

TEST(SweepReport, TheSummaryAsDataHasOneRowPerCombination)
{
    std::istringstream in(HandMade);
    const TSweepTable table = ReadSweepCsv(in, "hand.csv");
    const std::vector<TSweepGroup> groups = SummariseSweep(table);
    const std::string csv = SweepSummaryCsv({&table, &groups, nullptr, 1500});
    std::istringstream lines(csv);
    std::string header, six, eight;
    std::getline(lines, header);
    std::getline(lines, six);
    std::getline(lines, eight);
    EXPECT_EQ(header, "/persons/0/count,runs,finished,stalled,limit,p10,median,median_low,median_high,p90,"
                      "stalled_share,stalled_low,stalled_high,person_hours,deadline,by_deadline,by_deadline_low,"
                      "by_deadline_high,undecided");
    EXPECT_EQ(eight.substr(0, eight.find(",0.0000")), "8,3,2,0,1,0:00:48,0:01:20,,,> 0:06:00");
    EXPECT_NE(eight.find(",,0:01:00,0.3333,"), std::string::npos) << eight;
    const nlohmann::json json = nlohmann::json::parse(SweepSummaryJson({&table, &groups, nullptr, std::nullopt}));
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["p90"], "never");
    EXPECT_EQ(json[0]["runs"], 5);
    EXPECT_TRUE(json[0]["person_hours"].is_null());
    EXPECT_DOUBLE_EQ(json[0]["stalled_share"].get<double>(), 0.2);
}

// A run twice or rows of two plans are refused; runs missing are listed, up
// to the plan's count where the CSV gives it.
TEST(SweepReport, RefusesRunsTwiceAndMixedPlansAndListsRunsMissing)
{
    const std::string head = "run,/persons/0/count,seed,finished,steps,max_steps,plan_runs,sweep_sha256\n";
    const std::pair<std::string, std::string> refused[] = {
        {head + "0,6,1,1,300,900,4,ab\n0,6,1,1,300,900,4,ab\n", "c.csv: line 3: run 0 is there twice, also in line 2"},
        {head + "0,6,1,1,300,900,4,ab\n1,6,2,1,300,900,4,cd\n", "c.csv: line 3: rows of more than one plan: sweep_sha256"},
    };
    for (const auto& [text, message] : refused) {
        std::istringstream in(text);
        EXPECT_THROW(try { ReadSweepCsv(in, "c.csv"); } catch (const TSweepCsvError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
            throw;
        }, TSweepCsvError);
    }
    std::istringstream in(head + "1,6,2,1,300,900,4,ab\n");
    const TSweepTable table = ReadSweepCsv(in, "c.csv");
    EXPECT_EQ(table.missing, (std::vector<std::size_t>{0, 2, 3}));
    EXPECT_EQ(DescribeMissing(table.missing, table.dueRuns), "3 of 4 runs missing: 0, 2, 3");
}

} // namespace
