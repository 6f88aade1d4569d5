#pragma once

#include <cstdint>
#include <optional>
#include <string>
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
