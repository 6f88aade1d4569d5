#include "model/clsCrowdDensity.h"

#include "model/clsHandlerState.h"

#include <algorithm>
#include <cmath>

void TCrowdDensity::Begin(double newFrom, double newTo)
{
    from = newFrom;
    to = newTo;
    bins.assign(static_cast<std::size_t>(BinCount), TBin{});
}

void TCrowdDensity::Add(const THandlerState& person)
{
    const double length = to - from;
    // Positions beyond the ends (or none, NaN), or a trail without length, fall into the end bins.
    const double share = length > 0.0 ? (person.position - from) / length : 0.0;
    const double scaled = std::floor(share * BinCount);
    const double bin = scaled > 0.0 ? std::min(scaled, double{BinCount - 1}) : 0.0;
    ++bins[static_cast<std::size_t>(bin)][static_cast<std::size_t>(ActivityOf(person))];
}

double TCrowdDensity::PositionOf(std::int32_t bin) const
{
    return from + (to - from) * (bin + 0.5) / BinCount;
}

TCrowdActivity TCrowdDensity::ActivityOf(const THandlerState& person)
{
    if (person.onBreak)
        return TCrowdActivity::Resting;
    if (person.state != TPersonState::Walking)
        return TCrowdActivity::Handing;
    return person.loadCount > 0 ? TCrowdActivity::Carrying : TCrowdActivity::Empty;
}
