#include "analysis/SweepCsv.h"
#include "analysis/SweepReport.h"
#include "analysis/Version.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Two combinations of two seeds; run 3 is count 9 with seed 2.
TSweepPlan SmallPlan(int maxSteps = 900)
{
    return ParseSweep(R"({"vary": {"/persons/0/count": [6, 9]}, "seeds": [1, 2], "max_steps": )"
                          + std::to_string(maxSteps) + "}",
                      "sweep.json", ".");
}

// Run 3 as the plan writes it, finished after 800 steps, with field (0 for run) set to value.
std::string Row(const TSweepPlan& plan, std::size_t field = 0, const std::string& value = "3")
{
    const TSweepOutcome finished{.end = TMoveOutcome::Finished, .steps = 800, .delivered = 666, .perMinute = 1.0};
    std::vector<std::string> fields = SplitCsvLine(SweepCsvRow(plan, 3, finished).substr(0, SweepCsvRow(plan, 3, finished).size() - 1));
    fields[field] = value;
    std::string row;
    for (const std::string& f : fields)
        row += (row.empty() ? "" : ",") + f;
    return row + "\n";
}

using K = TSweepCsvError::TKind;

// Every reader refuses a row that does not fit, naming the file, the line and what is wrong.
TEST(SweepCsv, ARowThatDoesNotFitThePlanIsRefusedWithItsLineAndFault)
{
    const TSweepPlan plan = SmallPlan();
    const std::string head = SweepCsvHeader(plan);
    const struct { std::string rows; const char* message; K kind; } rows[] = {
        {Row(plan), "", K::DamagedRow},
        {Row(plan, 1, "7"), "line 2: run 3 is another plan's: /persons/0/count is '7' where this plan has 9", K::OtherPlan},
        {Row(plan, 1, "x9"), "line 2: run 3 is another plan's: /persons/0/count is 'x9'", K::OtherPlan},
        {Row(plan, 2, "1"), "line 2: run 3 is another plan's: seed is '1' where this plan has 2", K::OtherPlan},
        {Row(plan, 0, "4"), "line 2: run 4 is not one of this plan's 4 runs", K::OtherPlan},
        {Row(plan, 0, "-3"), "line 2: run must be a whole number", K::DamagedRow},
        {Row(plan, 3, "2"), "line 2: finished must be 0 or 1, not '2'", K::DamagedRow},
        {Row(plan, 4, "stalled"), "line 2: outcome stalled where finished is 1", K::DamagedRow},
        {Row(plan, 4, "done"), "line 2: outcome must be finished, stalled or limit, not 'done'", K::DamagedRow},
        {Row(plan, 5, "1"), "line 2: time 0:00:32 is not the time of 1 steps, 0:00:00", K::DamagedRow},
        {Row(plan, 5, "0"), "line 2: a finished run with 0 steps", K::DamagedRow},
        {Row(plan, 5, "8e2"), "line 2: steps must be a whole number, not '8e2'", K::DamagedRow},
        {Row(plan, 5, "901"), "line 2: steps 901 beyond max_steps 900", K::DamagedRow},
        {Row(plan, 7, "665"), "line 2: delivered 665 where a finished run delivered 666", K::DamagedRow},
        {Row(plan, 8, "1,5"), "line 2: 17 fields where the header has 16", K::DamagedRow},
        {Row(plan, 9, "-0.5"), "line 2: bound_share must be a number with a decimal point", K::DamagedRow},
        {Row(plan, 11, "901"), "line 2: max_steps is 901 where this plan has 900", K::OtherPlan},
        {Row(plan, 13, "0123456789abcdef"), "line 2: sweep_sha256 is 0123456789abcdef where this plan has", K::OtherPlan},
        {Row(plan) + Row(plan), "line 3: run 3 is there twice, also in line 2", K::RunTwice},
    };
    for (const auto& [text, message, kind] : rows) {
        SCOPED_TRACE(text);
        std::istringstream in(head + text);
        if (std::string(message).empty()) {
            EXPECT_EQ(ReadFinishedRows(plan, {0, 1, 2, 3}, in, "s.csv").rows.size(), 1u);
            continue;
        }
        EXPECT_THROW(try { ReadFinishedRows(plan, {0, 1, 2, 3}, in, "s.csv"); } catch (const TSweepCsvError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(std::string("s.csv: ") + message, 0), 0u) << e.what();
            EXPECT_EQ(e.GetKind(), kind) << e.what();
            throw;
        }, TSweepCsvError);
    }
}

// A resume takes only this shard's rows of this very program; a CSV read
// back to be shown takes rows of any version, as long as they agree.
TEST(SweepCsv, AResumeRefusesAnotherShardAndAnotherProgramAndTheReportMixedPlans)
{
    const TSweepPlan plan = SmallPlan();
    const std::string head = SweepCsvHeader(plan);
    std::istringstream another("run,seed\n");
    EXPECT_THROW(ReadFinishedRows(plan, {3}, another, "s.csv"), TSweepCsvError);
    std::istringstream shard(head + Row(plan));
    EXPECT_THROW(ReadFinishedRows(plan, {0, 2}, shard, "s.csv"), TSweepCsvError);
    const std::string older = Row(plan, 15, "0123456789ab");
    std::istringstream resumed(head + older);
    EXPECT_THROW(ReadFinishedRows(plan, {3}, resumed, "s.csv"), TSweepCsvError);
    std::istringstream shown(head + older);
    EXPECT_EQ(ReadFinishedRows(plan, {3}, shown, "s.csv", TSweepRowsOf::AnyProgram).rows.at(0).text, older);

    // Without the plan, the rows are held to each other.
    const std::string other = SweepCsvRow(SmallPlan(901), 0, {.end = TMoveOutcome::Stalled, .steps = 5});
    std::istringstream mixed(head + Row(plan) + other);
    EXPECT_THROW(try { ReadSweepCsv(mixed, "s.csv"); } catch (const TSweepCsvError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("s.csv: line 3: rows of more than one plan: max_steps is 901 here and 900 in line 2", 0), 0u) << e.what();
        throw;
    }, TSweepCsvError);
}

} // namespace
