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
    std::int32_t persons = 11;
    // Loads in the source; 0 for the scenario's own stock (666 per eleven persons).
    std::int32_t stock = 0;
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
