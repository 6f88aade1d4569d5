#pragma once

#include "analysis/SweepRunner.h"

#include <memory>

class TScenario;

// One run of a sweep: builds the scenario (its own ids, names and overtaking
// draws, so that runs on several threads each give what a fresh process
// gives) and steps it until it is over (finished or stalled) or maxSteps
// have passed. Watches only what the row needs: no record of the run is kept.
// Nothing when stop was set before the run ended.
std::optional<TSweepOutcome> RunSweepMove(const TScenarioDescription& scenario, std::int64_t maxSteps,
                                          const std::atomic<bool>& stop);

// What a sweep's row says of a run, watched step by step: for a run of a
// sweep made elsewhere (zemba-run --sweep --run) to give its row's figures.
class TSweepRowWatcher
{
public:
    explicit TSweepRowWatcher(const TScenario& scenario);
    ~TSweepRowWatcher();
    TSweepRowWatcher(const TSweepRowWatcher&) = delete;
    TSweepRowWatcher& operator=(const TSweepRowWatcher&) = delete;

    // After every step.
    void Observe();
    // The row's figures once the run ended as end, with maxSteps its limit.
    TSweepOutcome Outcome(TMoveOutcome end, std::int64_t maxSteps) const;

private:
    class TBreakCounter;

    const TScenario& scenario;
    std::unique_ptr<TBreakCounter> breaks;
    // Of the persons on the trail at the start, as the report's.
    double bound = 0.0;
};
