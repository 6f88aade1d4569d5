#pragma once

#include "analysis/SweepCsv.h"
#include "analysis/SweepRunner.h"
#include "analysis/SweepStatistics.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A combination whose median is not yet known as precisely as its sequential
// sweep asks.
struct TImpreciseMedian
{
    std::vector<std::string> values;
    std::size_t runs = 0;
    std::optional<TFinishTime> median;
    // The 95 % interval's bounds; nothing below 6 runs, too few for one.
    std::optional<TFinishTime> lower;
    std::optional<TFinishTime> upper;
};

// Where a sequential sweep ends, decided batch by batch: after the first
// whole batch at which every combination's 95 % interval for its median lies
// within the rule's medianWithin of the median either way, or at the plan's
// last run. Runs that did not finish rank last (TFinishTime), so an interval
// that reaches one is never precise. It sees only the runs' outcomes, and
// only once a batch is whole, so that the sweep, its resume, a merge and a
// report all find the same end, however many runs ran at once.
class TSeedSequence
{
public:
    explicit TSeedSequence(const TSeedRule& rule);

    // The runs of the batch due, [first, end); empty once the sweep is over.
    std::pair<std::size_t, std::size_t> Due() const { return {over ? batchEnd : batchStart, batchEnd}; }
    bool IsOver() const { return over; }
    // One run of the batch due, named by its combination's values; the
    // combinations are listed in the order first added.
    void Add(const std::vector<std::string>& values, TMoveOutcome end, std::int64_t steps);
    // Once every run of the batch due is added: the sweep is over, or the next batch is due.
    void CloseBatch();
    // The combinations not yet precise when the last batch closed.
    const std::vector<TImpreciseMedian>& GetImprecise() const { return imprecise; }

private:
    // The combination's median, if precise enough; else what is known of it.
    std::optional<TImpreciseMedian> Imprecise(std::size_t combination) const;

    TSeedRule rule;
    std::size_t batchStart = 0;
    std::size_t batchEnd = 0;
    bool over = false;
    std::map<std::vector<std::string>, std::size_t> indexOf;
    std::vector<std::vector<std::string>> valuesOf;
    // Per combination, every time so far in FinishesBefore's order, and those of the batch due.
    std::vector<std::vector<TFinishTime>> sorted;
    std::vector<std::vector<TFinishTime>> added;
    std::vector<TImpreciseMedian> imprecise;
};

// How many runs from run 0 a sequential sweep's rows call for: up to the end
// of the batch it ended with, or, while it is not over, of the first batch
// that is not whole. The rows may stand in any order.
std::size_t SequenceRunsDue(const TSeedRule& rule, const std::vector<TSweepRow>& rows);

// A sequential sweep as far as it ran.
struct TSequenceRun
{
    // Over: it ended by its rule or at its last run, not by a stop.
    bool over = false;
    // The runs it set out to run, ascending: once over, those whose rows it wrote.
    std::vector<std::size_t> added;
    std::size_t written = 0;
    // Once over: how many runs from 0 it ended with, and the combinations
    // whose median it left imprecise.
    std::size_t runs = 0;
    std::vector<TImpreciseMedian> imprecise;
};

// Runs a sequential sweep's batches in turn on jobs threads through RunSweep
// and adds their rows to csv, each batch after the rows present of it (those
// of a CSV resumed, in any order), until TSeedSequence ends it or stop is
// set. Progress is told the rows written of the most there may be still to do.
TSequenceRun RunSeedSequence(const TSweepPlan& plan, const std::vector<TSweepRow>& present, unsigned jobs,
                             const TSweepRunFunction& run, std::ostream& csv, const std::atomic<bool>& stop,
                             const TSweepProgress& progress = {});
