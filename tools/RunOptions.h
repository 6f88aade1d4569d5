#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What zemba-run was asked to do.
struct TRunOptions
{
    // Steps to run; without it the run ends when the move is complete.
    std::optional<std::int64_t> steps;
    // Where the CSV trace goes: empty for none, "-" for standard output.
    std::string tracePath;
    std::int64_t every = 1;
    bool summary = false;
    bool check = false;
    // The scenario file to run; empty for the built-in move.
    std::string scenarioPath;
    // The built-in move scaled to this many persons; not with a scenario file.
    std::optional<std::int32_t> persons;
    // Loads in the source instead of the scenario's own stock.
    std::optional<std::int32_t> stock;
    // Seeds the overtaking draws instead of the scenario's own seed.
    std::optional<std::uint32_t> seed;
    // A run without --steps that has not delivered every load by this step
    // stops and says that the move did not finish.
    std::int64_t maxSteps = 10'000'000;
    // Where the scenario goes as a file instead of being run: "-" for standard output.
    std::string writeScenarioPath;
    // Where the space-time picture goes, as PNG: empty for none.
    std::string plotPath;
    // Print the report of the move after the run.
    bool report = false;
    bool help = false;

    // Sweeps: the sweep file to run, where its CSV goes ("-" for standard
    // output), threads (0 for one per core) and the shard, K of N (1 of 1 for all).
    std::string sweepPath;
    std::string csvPath;
    std::int32_t jobs = 0;
    std::int32_t shard = 1;
    std::int32_t shardCount = 1;
    // A sweep's CSV to summarise; its picture goes to plotPath.
    std::string sweepReportPath;
    // The window of a run drawn as the space-time picture, first and last step.
    std::optional<std::pair<std::int64_t, std::int64_t>> plotSteps;
};

struct TRunOptionsParse
{
    TRunOptions options;
    // One line naming the problem; empty when the arguments were sound.
    std::string error;
};

// The arguments after the program name.
TRunOptionsParse ParseRunOptions(const std::vector<std::string>& args);

std::string RunUsage();
