#pragma once

#include "model/clsSimulationTime.h"

#include <cstdint>
#include <deque>

// Loads delivered per simulated minute over the last simulated minute, from
// samples of the delivered count taken now and then while a move runs.
class TDeliveryWindow
{
public:
    // The samples a rate is measured over: one simulated minute of steps.
    static constexpr std::int64_t WindowSteps = StepsPerMinute;

    // A sample no later than the last one is ignored.
    void Add(std::int64_t step, std::int32_t delivered);
    // Over the newest sample and the oldest one within the window (the first
    // sample while the move is younger than the window); 0.0 with fewer than two.
    double PerMinute() const;
    void Clear() { samples.clear(); }

private:
    struct TSample
    {
        std::int64_t step;
        std::int32_t delivered;
    };
    // The newest sample at or before the window's start stays as its left edge.
    std::deque<TSample> samples;
};
