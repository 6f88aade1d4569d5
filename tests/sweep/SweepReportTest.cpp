#include "analysis/SweepReport.h"

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

TEST(SweepReport, GivesPercentilesOfTheFinishedRunsPerCombinationAndCountsTheOthersApart)
{
    std::istringstream in(HandMade);
    const TSweepTable table = ReadSweepCsv(in, "hand.csv");
    EXPECT_EQ(table.parameters, std::vector<std::string>{"/persons/0/count"});
    const std::vector<TSweepGroup> groups = SummariseSweep(table);
    ASSERT_EQ(groups.size(), 2u);

    // 100..400 by 100: rank 0.3 gives 130, rank 1.5 gives 250, rank 2.7 gives 370.
    // 1000 and 2000: ranks 0.1, 0.5 and 0.9 between the two, whatever the limit.
    const struct { const char* value; std::size_t runs, finished, stalled, limited; std::int64_t min; double p10, median, p90;
                   std::int64_t max; } expected[] = {{"6", 5, 4, 1, 0, 100, 130.0, 250.0, 370.0, 400},
                                                     {"8", 3, 2, 0, 1, 1000, 1100.0, 1500.0, 1900.0, 2000}};
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const auto& e = expected[g];
        const TSweepGroup& got = groups[g];
        EXPECT_EQ(got.values, std::vector<std::string>{e.value});
        EXPECT_EQ(std::tie(got.runs, got.finished, got.stalled, got.limited, got.min, got.max),
                  std::tie(e.runs, e.finished, e.stalled, e.limited, e.min, e.max));
        EXPECT_DOUBLE_EQ(got.p10, e.p10);
        EXPECT_DOUBLE_EQ(got.median, e.median);
        EXPECT_DOUBLE_EQ(got.p90, e.p90);
    }
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
    EXPECT_EQ(DescribeMissing(table.missing, table.planRuns), "3 of 4 runs missing: 0, 2, 3");
}

} // namespace
