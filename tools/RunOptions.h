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
