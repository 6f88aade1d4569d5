#pragma once

#include "analysis/SweepCsv.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <vector>

// Runs one scenario up to maxSteps; nothing when stop was set before it ended.
using TSweepRunFunction = std::function<std::optional<TSweepOutcome>(
    const TScenarioDescription& scenario, std::int64_t maxSteps, const std::atomic<bool>& stop)>;
// Told the rows written so far, now and then while the sweep runs.
using TSweepProgress = std::function<void(std::size_t written, std::size_t total)>;
// Told each run's outcome as it finishes, in any order, one run at a time.
using TSweepRunDone = std::function<void(std::size_t run, const TSweepOutcome& outcome)>;

// Runs the plan's runs given (plan indexes, ascending) on jobs threads and
// writes one row per run to csv, in plan order, each row whole and flushed as
// soon as it and every row before it are done. Once stop is set no run
// starts; the rows finished by then are still written, those beyond the first
// run missing after the others, so that nothing computed is lost. Progress is
// told the rows written of runs.size(), and done each outcome. Returns the
// number of rows written.
std::size_t RunSweep(const TSweepPlan& plan, const std::vector<std::size_t>& runs, unsigned jobs,
                     const TSweepRunFunction& run, std::ostream& csv, const std::atomic<bool>& stop,
                     const TSweepProgress& progress = {}, const TSweepRunDone& done = {});
