#pragma once

#include "model/clsChainState.h"
#include "scenario/clsScenarioDescription.h"

#include <atomic>
#include <cstdint>
#include <vector>

// A run's loads delivered against its steps, as the move's loop samples them,
// with what it takes to draw it beside others: the stock and the throughput bound.
struct TDeliveryCurve
{
    std::vector<TDeliveryPoint> points;
    std::int32_t stock = 0;
    // Loads per simulated minute the report's bound allows.
    double boundPerMinute = 0.0;
    TMoveOutcome outcome = TMoveOutcome::Running;
};

// Runs the scenario headless until it is over or maxSteps have passed, as
// zemba-run runs it; stops early, with the curve so far, once stop is set.
TDeliveryCurve DeliveryCurveOf(const TScenarioDescription& scenario, std::int64_t maxSteps,
                               const std::atomic<bool>& stop);
