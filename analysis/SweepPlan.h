#pragma once

#include "scenario/clsScenarioDescription.h"
#include "scenario/clsScenarioFault.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where a sequential sweep may end, as its plan and its rows both give it:
// its runs come in batches, each every combination with the next seeds, and
// after each whole batch it stops once every combination's median is known
// to within medianWithin steps either way (see TSeedSequence).
struct TSeedRule
{
    // The most runs: every combination with every seed up to the maximum.
    std::size_t planRuns = 0;
    // The runs of one batch; the last batch may be smaller.
    std::size_t batchRuns = 0;
    std::int64_t medianWithin = 0;
};

// What a sweep runs: every combination of the varied values, each with every
// seed. Runs are numbered in plan order: the combinations in the order of the
// varied keys as written, the last key fastest, and the seeds fastest of all.
// A sequential sweep runs its seeds in batches and numbers them so: the first
// batch of seeds with every combination in that order, then the next batch.
struct TSweepPlan
{
    // The pointers into the scenario that vary, in the order written.
    std::vector<std::string> pointers;
    // Per pointer, its values as the CSV shows them (compact JSON).
    std::vector<std::vector<std::string>> values;
    // One checked scenario per combination, in plan order; seeds not yet set.
    std::vector<TScenarioDescription> combinations;
    // Every seed, in order; of a sequential sweep the most that may run.
    std::vector<std::uint32_t> seeds;
    // Seeds per batch of a sequential sweep, whose seeds run until every
    // median is precise enough; 0 for a sweep that runs every seed.
    std::size_t seedBatch = 0;
    // A sequential sweep's 95 % interval for each median must lie within
    // this many steps of the median, either way.
    std::int64_t medianWithin = 0;
    // A run that has not delivered its last load by this step has not finished.
    std::int64_t maxSteps = 0;
    // The scenario varied: its file's path, or "the built-in move".
    std::string scenarioName;
    // That file's path as the sweep file names it, read from the sweep
    // file's folder; empty for the built-in move. And the scenario as read.
    std::string scenarioPath;
    TScenarioDescription base;
    // Tells this plan's sweep file from any other: see ShortSha256.
    std::string sweepHash;

    std::size_t RunCount() const { return combinations.size() * seeds.size(); }
    bool IsSequential() const { return seedBatch > 0; }
    TSeedRule SeedRule() const;
    std::size_t CombinationOf(std::size_t run) const { return PlaceOf(run).first; }
    std::uint32_t SeedOf(std::size_t run) const { return seeds[PlaceOf(run).second]; }
    // The varied values of a combination, one per pointer.
    std::vector<std::string> ValuesOf(std::size_t combination) const;
    // The scenario of a run, with its seed.
    TScenarioDescription ScenarioOf(std::size_t run) const;

private:
    // The run's combination and the index of its seed.
    std::pair<std::size_t, std::size_t> PlaceOf(std::size_t run) const;
};

// The default limit of a run without max_steps: twenty times the built-in move.
inline constexpr std::int64_t DefaultSweepMaxSteps = 5'000'000;
// More runs than this are a typing slip in the seeds or the values.
inline constexpr std::size_t MaxSweepRuns = 10'000'000;
// Seeds per batch of a sequential sweep: enough for a first interval of the
// median (it takes 6 runs), few enough that the sweep overshoots what it
// needs by little, and fixed, so that where a sweep ends never depends on how
// many runs ran at once.
inline constexpr std::size_t SweepSeedBatch = 10;

// A sweep refused for what its values and seeds ask for: a value listed
// twice, more runs than MaxSweepRuns, or values that make the scenario
// invalid. Its message is zemba-run's English line; its parts let the window
// word it in its own language.
class TSweepPlanError : public TScenarioFileError
{
public:
    enum class TKind { ValueTwice, TooManyRuns, InvalidCombination };
    // The varied pointers with their values as the sweep file writes them.
    using TCombination = std::vector<std::pair<std::string, std::string>>;

    TSweepPlanError(const std::string& fileName, TScenarioFault fault, TKind kind, TCombination combination = {},
                    TScenarioFault cause = {});

    TKind GetKind() const { return kind; }
    // The value listed twice, with its pointer; or an invalid combination's
    // values, and what the scenario's rules found wrong with it.
    const TCombination& GetCombination() const { return combination; }
    const TScenarioFault& GetCause() const { return cause; }

private:
    TKind kind;
    TCombination combination;
    TScenarioFault cause;
};

// Reads, checks and expands a sweep file; every refusal is a
// TScenarioFileError of one line naming the file, the JSON path and what is
// wrong (a TSweepPlanError for the plan as a whole), thrown before anything runs. A scenario named in the file is read
// relative to the sweep file's folder.
TSweepPlan ReadSweepFile(const std::string& path);
// The same for text already read; folder is where a named scenario is looked for.
TSweepPlan ParseSweep(std::string_view text, const std::string& fileName, const std::string& folder);

// The K-th (1..count) of count deterministic slices of the plan, as plan
// indexes in plan order: every count-th run, so that each slice gets its share
// of slow and fast combinations.
std::vector<std::size_t> ShardRuns(std::size_t runCount, std::size_t shard, std::size_t count);
