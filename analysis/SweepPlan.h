#pragma once

#include "scenario/clsScenarioDescription.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a sweep runs: every combination of the varied values, each with every
// seed. Runs are numbered in plan order: the combinations in the order of the
// varied keys as written, the last key fastest, and the seeds fastest of all.
struct TSweepPlan
{
    // The pointers into the scenario that vary, in the order written.
    std::vector<std::string> pointers;
    // Per pointer, its values as the CSV shows them (compact JSON).
    std::vector<std::vector<std::string>> values;
    // One checked scenario per combination, in plan order; seeds not yet set.
    std::vector<TScenarioDescription> combinations;
    std::vector<std::uint32_t> seeds;
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
    std::size_t CombinationOf(std::size_t run) const { return run / seeds.size(); }
    std::uint32_t SeedOf(std::size_t run) const { return seeds[run % seeds.size()]; }
    // The varied values of a combination, one per pointer.
    std::vector<std::string> ValuesOf(std::size_t combination) const;
    // The scenario of a run, with its seed.
    TScenarioDescription ScenarioOf(std::size_t run) const;
};

// The default limit of a run without max_steps: twenty times the built-in move.
inline constexpr std::int64_t DefaultSweepMaxSteps = 5'000'000;
// More runs than this are a typing slip in the seeds or the values.
inline constexpr std::size_t MaxSweepRuns = 10'000'000;

// Reads, checks and expands a sweep file; every refusal is a
// TScenarioFileError of one line naming the file, the JSON path and what is
// wrong, thrown before anything runs. A scenario named in the file is read
// relative to the sweep file's folder.
TSweepPlan ReadSweepFile(const std::string& path);
// The same for text already read; folder is where a named scenario is looked for.
TSweepPlan ParseSweep(std::string_view text, const std::string& fileName, const std::string& folder);

// The K-th (1..count) of count deterministic slices of the plan, as plan
// indexes in plan order: every count-th run, so that each slice gets its share
// of slow and fast combinations.
std::vector<std::size_t> ShardRuns(std::size_t runCount, std::size_t shard, std::size_t count);
