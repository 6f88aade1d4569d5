#pragma once

#include "analysis/SweepCsv.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// A sweep's CSV as the report needs it: the varied columns (those between
// run and seed) and its rows, each checked (see TSweepRowChecker).
struct TSweepTable
{
    using TRow = TSweepRow;

    std::vector<std::string> parameters;
    std::vector<TRow> rows;
    // The plan's runs absent from the CSV, ascending: up to the plan's count
    // where the CSV gives it (plan_runs), else up to the last run there.
    std::vector<std::size_t> missing;
    std::size_t planRuns = 0;
};

// "3 of 27 runs missing: 4, 9, 20", naming the first few.
std::string DescribeMissing(const std::vector<std::size_t>& missing, std::size_t planRuns);
// The runs absent from rows (in any order), ascending: of the plan's runs,
// or of a sequential sweep's only those up to where its rule ends it (see
// SequenceRunsDue), and any below a row beyond that.
std::vector<std::size_t> MissingRuns(std::size_t planRuns, const std::optional<TSeedRule>& rule,
                                     const std::vector<TSweepRow>& rows);

// Reads and checks every row, against the plan when there is one; a last
// line without its newline is read as a row too. Throws TSweepCsvError for a
// row that is refused, also for a run found twice and for rows of more than
// one plan; runs missing are listed in the table. fileName only names it in messages.
TSweepTable ReadSweepCsv(std::istream& in, const std::string& fileName, const TSweepPlan* plan = nullptr);

// The finish times of one combination of the varied values across its
// finished seeds. Stalled and limited runs are counted beside them, not in
// them: neither has a finish time, and a stand-in such as the step limit
// would make the figures depend on the limit.
struct TSweepGroup
{
    std::vector<std::string> values;
    std::size_t runs = 0;
    std::size_t finished = 0;
    std::size_t stalled = 0;
    std::size_t limited = 0;
    // Of the finished runs; 0 when none finished.
    std::int64_t min = 0;
    double p10 = 0.0;
    double median = 0.0;
    double p90 = 0.0;
    std::int64_t max = 0;

};

// One group per combination, in the order of their first rows.
std::vector<TSweepGroup> SummariseSweep(const TSweepTable& table);

// The p-th quantile (p from 0 to 1) of sorted values, by linear interpolation
// between the closest ranks: rank p * (n - 1) counted from 0, so that 0 and 1
// give the least and the greatest value and 0.5 the usual median.
double Percentile(const std::vector<std::int64_t>& sorted, double p);

void WriteSweepReport(const TSweepTable& table, const std::vector<TSweepGroup>& groups, std::ostream& out);
