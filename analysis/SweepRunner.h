#pragma once

#include "analysis/SweepPlan.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The figures of one run, as its CSV row gives them.
struct TSweepOutcome
{
    // Every load delivered; no load changing hands any more; or maxSteps
    // reached while the move was still under way.
    enum class TEnd : std::uint8_t { Finished, Stalled, Limit };

    TEnd end = TEnd::Limit;
    // The step of the last hand-over (for a finished run its last delivery),
    // or the run's limit.
    std::int64_t steps = 0;
    std::int32_t delivered = 0;
    // Loads per simulated minute up to steps.
    double perMinute = 0.0;
    // perMinute over the throughput bound of the scenario's persons and trail.
    double boundShare = 0.0;
    // Breaks begun, all persons together.
    std::int64_t breaks = 0;
};

// Runs one scenario up to maxSteps; nothing when stop was set before it ended.
using TSweepRunFunction = std::function<std::optional<TSweepOutcome>(
    const TScenarioDescription& scenario, std::int64_t maxSteps, const std::atomic<bool>& stop)>;
// Told the rows written so far, now and then while the sweep runs.
using TSweepProgress = std::function<void(std::size_t written, std::size_t total)>;

// The CSV's outcome column: finished, stalled or limit.
const char* SweepEndName(TSweepOutcome::TEnd end);

// The last columns of every row: what made it, the same in every row of a
// plan, so that a merge, a resume or a report can tell plans apart from the
// rows alone, and any CSV reader reads them as plain columns.
inline constexpr const char* SweepPlanColumns = "max_steps,plan_runs,sweep_sha256,version,commit";
std::string SweepPlanValues(const TSweepPlan& plan);

std::string SweepCsvHeader(const TSweepPlan& plan);
// One whole line, newline included; numbers with "." and a fixed number of
// decimals whatever the locale, so that equal runs give equal bytes.
std::string SweepCsvRow(const TSweepPlan& plan, std::size_t run, const TSweepOutcome& outcome);

// Runs the plan's runs given (plan indexes, ascending) on jobs threads and
// writes the header and one row per run to csv, in plan order, each row whole
// and flushed as soon as it and every row before it are done. Once stop is
// set no run starts; the rows finished by then are still written, in plan
// order. Rows of done (by plan index) are written as they are in their place
// and not run again. Returns the number of rows written.
std::size_t RunSweep(const TSweepPlan& plan, const std::vector<std::size_t>& runs, unsigned jobs,
                     const TSweepRunFunction& run, std::ostream& csv, const std::atomic<bool>& stop,
                     const TSweepProgress& progress = {}, const std::map<std::size_t, std::string>& done = {});

// Whether rows written by another version or build of the program belong to
// a plan: not in a CSV to resume, which would mix two programs' runs; yes in
// one read back to be shown.
enum class TSweepRowsOf : std::uint8_t { ThisProgram, AnyProgram };

// The rows of a CSV left by an earlier sweep of the same plan and shard, by
// plan index; a last row cut short is left out, to be run again. Throws
// TSweepCsvError when the CSV is another plan's or not whole otherwise.
std::map<std::size_t, std::string> ReadFinishedRows(const TSweepPlan& plan, const std::vector<std::size_t>& runs,
                                                    std::istream& csv, const std::string& fileName,
                                                    TSweepRowsOf program = TSweepRowsOf::ThisProgram);
