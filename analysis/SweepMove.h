#pragma once

#include "analysis/SweepRunner.h"

// One run of a sweep: builds the scenario (its own ids, names and overtaking
// draws, so that runs on several threads each give what a fresh process
// gives) and steps it until it is over (finished or stalled) or maxSteps
// have passed. Watches only what the row needs: no record of the run is kept.
// Nothing when stop was set before the run ended.
std::optional<TSweepOutcome> RunSweepMove(const TScenarioDescription& scenario, std::int64_t maxSteps,
                                          const std::atomic<bool>& stop);
