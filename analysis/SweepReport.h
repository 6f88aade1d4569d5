#pragma once

#include "analysis/SweepCsv.h"
#include "analysis/SweepStatistics.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A sweep's CSV as the report needs it: the varied columns (those between
// run and seed) and its rows, each checked (see TSweepRowChecker).
struct TSweepTable
{
    using TRow = TSweepRow;

    std::vector<std::string> parameters;
    std::vector<TRow> rows;
    // The plan's runs absent from the CSV, ascending, of the runs due (see MissingRuns).
    std::vector<std::size_t> missing;
    // The plan's count where the CSV gives it (plan_runs), else up to the last run there.
    std::size_t planRuns = 0;
    std::size_t dueRuns = 0;
};

// "3 of 27 runs missing: 4, 9, 20", naming the first few; due: the runs the sweep asks for.
std::string DescribeMissing(const std::vector<std::size_t>& missing, std::size_t due);

struct TMissingRuns
{
    // The runs the rows call for: the plan's, but of a sequential sweep only
    // those up to where its rule ends it (see SequenceRunsDue); at least up
    // to the last row.
    std::size_t due = 0;
    // Those absent, ascending.
    std::vector<std::size_t> runs;
};
// The runs due and those absent from rows (in any order).
TMissingRuns MissingRuns(std::size_t planRuns, const std::optional<TSeedRule>& rule, const std::vector<TSweepRow>& rows);

// Reads and checks every row, against the plan when there is one; a last
// line without its newline is read as a row too. Throws TSweepCsvError for a
// row that is refused, also for a run found twice and for rows of more than
// one plan; runs missing are listed in the table. fileName only names it in messages.
TSweepTable ReadSweepCsv(std::istream& in, const std::string& fileName, const TSweepPlan* plan = nullptr);

// What one combination of the varied values did across its seeds. Every run
// counts: a run at the step limit ranks as later than the limit, a stalled
// run as never, both after every finished run, so that the percentiles rest on
// all runs and move with max_steps only where a run at the limit would have
// finished below it.
struct TSweepGroup
{
    std::vector<std::string> values;
    std::size_t runs = 0;
    std::size_t finished = 0;
    std::size_t stalled = 0;
    std::size_t limited = 0;
    // Every run's finish time by its seed, in the CSV's order.
    std::vector<std::pair<std::string, TFinishTime>> bySeed;
    // Of all runs (FinishQuantile); nothing only for a group without runs.
    std::optional<TFinishTime> min;
    std::optional<TFinishTime> p10;
    std::optional<TFinishTime> median;
    std::optional<TFinishTime> p90;
    std::optional<TFinishTime> max;
    // The median's 95 % distribution-free interval (MedianInterval); nothing below 6 runs.
    std::optional<TFinishTime> medianLow;
    std::optional<TFinishTime> medianHigh;
    TProportion stalledShare;
};

// One group per combination, in the order of their first rows.
std::vector<TSweepGroup> SummariseSweep(const TSweepTable& table);

// A figure's step where it rests on finished runs alone, for a picture to
// place; nothing where it is "later than the limit" or "never".
std::optional<double> FinishedSteps(const std::optional<TFinishTime>& time);

// "2:25:16" for a run that finished, "> 2:46:40" for one at that limit, never
// (the window's own word) for one that stood still.
std::string FormatFinishTime(const TFinishTime& time, const std::string& never = "never");

// Whether the runs of a group finished by a deadline (in steps). A run at a
// limit before the deadline might have finished by it or not: the share counts
// it as not finished, and the interval's upper end as finished, so that the
// interval holds whichever it would have been. Where the limit lies at or
// beyond the deadline, runs at it and stalled runs did not finish by then.
struct TDeadlineChance
{
    TProportion byDeadline;
    // Runs whose answer the limit hides; they widen upper.
    std::size_t undecided = 0;
    double upper = 0.0;
};
TDeadlineChance ChanceByDeadline(const TSweepGroup& group, std::int64_t deadline);

// A comparison of two neighbouring values of the first varied field, the
// other fields equal, seed by seed on the seeds both ran (ComparePaired):
// second minus first.
struct TSweepPairing
{
    const TSweepGroup* first = nullptr;
    const TSweepGroup* second = nullptr;
    TPairedComparison comparison;
};
std::vector<TSweepPairing> PairNeighbours(const std::vector<TSweepGroup>& groups);

// How a sweep's picture is drawn beyond its data.
struct TSweepPlotStyle
{
    // The time axis from 0:00 rather than from near the fastest run.
    bool fromZero = false;
    // Drawn as a horizontal line, in steps.
    std::optional<std::int64_t> deadline;
    // The varied fields in words, by their pointers' order; a field without one shows its pointer.
    std::vector<std::string> fieldNames;
};

// The text table for people; with a deadline, its chance per combination.
void WriteSweepReport(const TSweepTable& table, const std::vector<TSweepGroup>& groups, std::ostream& out,
                      std::optional<std::int64_t> deadline = std::nullopt);
