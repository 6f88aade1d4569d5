#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What zemba-run does: each option belongs to some of these, and is refused in the others.
enum class ERunMode
{
    Run,           // a single run, traced, summarised, reported or drawn
    WriteScenario, // the scenario written as a file instead of being run
    Sweep,         // every run of a sweep file into a CSV
    Plan,          // a sweep file checked and its plan printed, nothing run
    Merge,         // the CSVs of a sweep's shards checked and merged into one
    SweepReport,   // a sweep's CSV summarised and drawn
};

// What zemba-run was asked to do.
struct TRunOptions
{
    ERunMode mode = ERunMode::Run;
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
    // Where the picture goes, PNG or SVG by its name: empty for none, "-" for standard output (PNG).
    std::string plotPath;
    // Print the report of the move after the run.
    bool report = false;
    bool help = false;
    bool version = false;

    // Sweeps: the sweep file to run, where its CSV goes ("-" for standard
    // output), threads (0 for one per core) and the shard, K of N (1 of 1 for all).
    std::string sweepPath;
    std::string csvPath;
    std::int32_t jobs = 0;
    std::int32_t shard = 1;
    std::int32_t shardCount = 1;
    // Run only the runs missing from the CSV that is there.
    bool resume = false;
    // The shards' CSVs to merge into csvPath.
    std::vector<std::string> mergePaths;
    // Seconds between progress lines when standard error is no terminal.
    std::int64_t progressSeconds = 30;
    // A sweep's CSV to summarise; its picture goes to plotPath.
    std::string sweepReportPath;
    // The report's deadline, in steps: per combination the chance of finishing by then.
    std::optional<std::int64_t> deadline;
    // The report's summary as data: a CSV and JSON, "-" for standard output.
    std::string summaryCsvPath;
    std::string summaryJsonPath;
    // The sweep's picture with its time axis from 0:00 rather than near the data.
    bool plotFromZero = false;
    // With sweepPath, the single run of that plan's row: its scenario and seed.
    std::optional<std::size_t> sweepRun;
    // The window of a run drawn as the space-time picture, first and last step.
    std::optional<std::pair<std::int64_t, std::int64_t>> plotSteps;

    // Whether the one thing on standard output is a file's content (a trace,
    // a CSV, a scenario, a picture): then every other word goes to standard error.
    bool StdoutTaken() const;
};

struct TRunOptionsParse
{
    TRunOptions options;
    // One line naming the problem; empty when the arguments were sound.
    std::string error;
};

// The arguments after the program name. Checks the words only, not the files.
TRunOptionsParse ParseRunOptions(const std::vector<std::string>& args);

// One line naming an output that cannot be written where it is asked for, or
// that would overwrite an input; empty when every output can be written. Looks
// at the files, creates none.
std::string CheckOutputPaths(const TRunOptions& options);

std::string RunUsage();
