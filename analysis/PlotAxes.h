#pragma once

#include <algorithm>
#include <cmath>

// 1, 2 or 5 times a power of ten, so that about count ticks span range.
inline double TickSpacing(double range, int count)
{
    const double raw = range / std::max(1, count);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10.0 * power;
}
