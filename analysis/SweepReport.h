#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

// A sweep's CSV as the report needs it: the varied columns (those between
// run and seed) and, per run, its values, how it ended and its steps.
struct TSweepTable
{
    // Every load delivered; standing still for good; stopped at the sweep's
    // step limit while still under way.
    enum class TEnd : std::uint8_t { Finished, Stalled, Limit };

    struct TRow
    {
        std::size_t run = 0;
        std::vector<std::string> values;
        TEnd end = TEnd::Limit;
        std::int64_t steps = 0;
    };

    std::vector<std::string> parameters;
    std::vector<TRow> rows;
    // The plan's runs absent from the CSV, ascending: up to the plan's count
    // where the CSV gives it (plan_runs), else up to the last run there.
    std::vector<std::size_t> missing;
    std::size_t planRuns = 0;
};

// "3 of 27 runs missing: 4, 9, 20", naming the first few.
std::string DescribeMissing(const TSweepTable& table);

// A CSV that is not a sweep's, or not the plan's it is read for; the message
// is one line naming the file and the line, the kind says what is wrong in a
// way that the window can word in its own language.
class TSweepCsvError : public std::runtime_error
{
public:
    enum class TKind : std::uint8_t {
        NotSweepCsv, // no header, or not a sweep's columns
        DamagedRow,  // a row of the wrong width or with unreadable figures
        RunTwice,    // one run in two rows
        OtherPlan,   // rows of another plan or shard, or of more than one plan
    };

    TSweepCsvError(TKind kind, const std::string& fileName, std::size_t line, const std::string& what);

    TKind GetKind() const { return kind; }
    std::size_t GetLine() const { return line; }

private:
    TKind kind;
    std::size_t line;
};

// The fields of one line of a sweep's CSV, which quotes nothing.
std::vector<std::string> SplitCsvLine(const std::string& line);

// Throws TSweepCsvError, also for a run found twice and for rows of more than
// one plan (their max_steps, plan_runs, sweep_sha256, version or commit
// differ); runs missing are listed in the table. fileName only names it in messages.
TSweepTable ReadSweepCsv(std::istream& in, const std::string& fileName);

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
