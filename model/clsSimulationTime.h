#pragma once

#include <cstdint>

// The move's clock. A step is 40 ms of simulated time, so that at speed 1 the
// window shows the move as fast as it would happen; every count of steps per
// second, minute or hour follows from it.
inline constexpr std::int64_t StepMs = 40;
static_assert(1000 % StepMs == 0, "a simulated second is a whole number of steps");
inline constexpr std::int64_t StepsPerSecond = 1000 / StepMs;
inline constexpr std::int64_t StepsPerMinute = 60 * StepsPerSecond;
inline constexpr std::int64_t StepsPerHour = 60 * StepsPerMinute;
