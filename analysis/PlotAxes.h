#pragma once

#include <algorithm>
#include <cmath>

// The tick rules of every chart and picture, one for counts and one for
// simulated time: the least round spacing that cuts the range into at most
// count parts.

// Counts: 1, 2 or 5 times a power of ten; 1 for an empty range.
inline double TickSpacing(double range, int count)
{
    const double raw = range / std::max(1, count);
    if (!(raw > 0.0) || !std::isfinite(raw))
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10.0 * power;
}

// Simulated time, in minutes: 1, 2, 5, 10, 15, 20 or 30 minutes, 1, 2, 3, 6
// or 12 hours, then whole days; never less than a minute.
inline double TimeTickMinutes(double minutes, int count)
{
    const double raw = minutes / std::max(1, count);
    for (const double round : {1.0, 2.0, 5.0, 10.0, 15.0, 20.0, 30.0, 60.0, 120.0, 180.0, 360.0, 720.0})
        if (round >= raw)
            return round;
    return 1440.0 * std::ceil(raw / 1440.0);
}
