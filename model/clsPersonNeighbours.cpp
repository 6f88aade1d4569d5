// The walk's look at its neighbours. The straightforward walk visits every
// handler in the search interval; these visit only the few that can change the
// outcome, straight on the chain's position index, and give the same result to
// the bit. Each shortcut rests on the index listing handlers in ascending
// position (its keys are their positions) and on rounding being monotonic:
// a <= b gives a + r <= b + r.
#include "model/clsPerson.h"

#include "model/clsTrail.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

namespace {

using TEntry = TPositionIndex::const_iterator;
using TCandidate = TPartnerIndex::const_iterator;

TEntry SkipSelf(TEntry it, TEntry last, const TLoadHandler* self)
{
    if (it != last && it->second == self)
        ++it;
    return it;
}

// Finite doubles as integers in the same order, so that a bisection over the
// integers visits the doubles between two keys in order; -0.0 and 0.0 meet.
std::int64_t OrderedBits(double x)
{
    const auto bits = std::bit_cast<std::int64_t>(x);
    return bits >= 0 ? bits : std::numeric_limits<std::int64_t>::min() - bits;
}

double FromOrderedBits(std::int64_t ordered)
{
    return std::bit_cast<double>(ordered >= 0 ? ordered : std::numeric_limits<std::int64_t>::min() - ordered);
}

// The smallest key k for which k − reach < position is false, the test a
// carrying walk makes. The test flips only once along ascending keys, near
// position + reach; where that sum lies near zero, the flip can be further
// away in steps of one ulp than any walk could go, so it is bracketed and
// bisected.
double FirstKeyReachAhead(double position, double reach)
{
    const auto ahead = [&](double k) { return !(k - reach < position); };
    const double k = position + reach;
    if (!std::isfinite(k))
        return k;
    // A few ulps of the largest magnitude involved, doubled until the flip lies between.
    double spread = std::max({std::abs(k), std::abs(position), std::abs(reach)}) * 0x1p-50;
    if (!(spread > 0.0))
        spread = std::numeric_limits<double>::denorm_min();
    double below = k - spread;
    double above = k + spread;
    while (ahead(below) && std::isfinite(below))
        below = k - (spread *= 2.0);
    while (!ahead(above) && std::isfinite(above))
        above = k + (spread *= 2.0);
    if (!std::isfinite(below) || !std::isfinite(above))
        return k;
    std::int64_t no = OrderedBits(below);
    std::int64_t yes = OrderedBits(above);
    while (yes - no > 1) {
        const std::int64_t middle = no + (yes - no) / 2;
        if (ahead(FromOrderedBits(middle)))
            yes = middle;
        else
            no = middle;
    }
    return FromOrderedBits(yes);
}

} // namespace

void TPerson::KeepDistance(const THandlerRange& found, bool empty, double reach, double& target) const
{
    if (!empty)
        KeepBehind(found, reach, target);
    else
        KeepAhead(found, reach, target);
}

// Walking up, a handler at p lowers the target to p − reach, or, if that lies
// behind the person, to the creep position + reach × 0.1. Along the list p −
// reach never falls, so once a handler leaves the target alone no later one
// lowers it. Once the first has set the creep, every further handler closer
// than reach sets it again; after them only the first handler at least reach
// ahead can still lower the target, to its own p − reach, which no later one
// undercuts.
void TPerson::KeepBehind(const THandlerRange& found, double reach, double& target) const
{
    const auto lower = [&](TEntry it) {
        const double p = it->second->GetPosition();
        if (!(p - reach < target))
            return false;
        target = p - reach;
        if (target < position)
            target = position + reach * 0.1;
        return true;
    };
    const TEntry first = SkipSelf(found.first, found.last, this);
    if (first == found.last || !lower(first))
        return;
    // Unless the first one left the creep, nobody after it lowers the target further.
    if (!(first->second->GetPosition() - reach < position))
        return;
    const double from = std::max(found.lo, FirstKeyReachAhead(position, reach));
    if (!(from <= found.hi))
        return;
    const TEntry ahead = SkipSelf(GetChain()->LowerBound(from, found.last), found.last, this);
    if (ahead != found.last)
        lower(ahead);
}

// Walking down, a handler at p raises the target to v = p + reach, or, if v
// lies above the person, to the creep position − reach × 0.1. Along the list
// v never falls, and the last handler's v is the largest: if it does not raise
// the target, no handler does. If it does, the walk ends on its raise: an
// earlier raise could only have left the target at or above that v as v
// itself (the creep lies at or below the person, hence below any v above the
// person), and then the last raise gives the same value.
void TPerson::KeepAhead(const THandlerRange& found, double reach, double& target) const
{
    if (found.first == found.last)
        return;
    TEntry last = std::prev(found.last);
    if (last->second == this) {
        if (last == found.first)
            return;
        --last;
    }
    const double v = last->second->GetPosition() + reach;
    if (v > target) {
        target = v;
        if (target > position)
            target = position - reach * 0.1;
    }
}

bool TPerson::IsPartner(const TLoadHandler* h, bool empty) const
{
    if (h == this)
        return false;
    return !empty ? h->GetLoadCount() == 0 && FindHeaviestLoad(h->GetFreeCapacity()) >= 0
                  : h->GetLoadCount() > 0 && h->FindHeaviestLoad(GetFreeCapacity()) >= 0;
}

// Only takers (carrying) or givers (empty) can be partners, and their index
// lists them in the order of the position index; the search below runs over
// the stretch of it within the interval found.
//
// The list holds the handlers at the person's own position first among
// themselves, those below it before them and those above after them; the
// distance grows outward from the person on both sides. So: a candidate at
// distance 0 wins outright (the first in the list); otherwise both sides are
// scanned outward in step, each only as long as it can still win. The side
// below wins ties, being earlier in the list, and on it the candidate farthest
// out among equally near ones is the earliest.
TLoadHandler* TPerson::FindPartner(const THandlerRange& found, bool empty, double& distance) const
{
    distance = trail ? trail->GetLength() : 0.0;
    if (found.first == found.last || !GetChain())
        return nullptr;
    const TPartnerIndex& candidates = GetChain()->GetPartnerIndex(empty ? TPartnerKind::Giver : TPartnerKind::Taker);
    // One descent, to the person's place within the interval; the interval's
    // ends are tested on the way out.
    const auto belowInterval = [&](TCandidate it) { return it->first.position < found.lo; };
    const auto aboveInterval = [&](TCandidate it) { return found.hi < it->first.position; };
    TCandidate atLo;
    if (position > found.hi)
        atLo = candidates.upper_bound(found.hi);
    else if (position > found.lo)
        atLo = candidates.lower_bound(position);
    else
        atLo = candidates.lower_bound(found.lo);
    TCandidate atHi = atLo;
    for (; atHi != candidates.end() && !aboveInterval(atHi) && atHi->first.position == position; ++atHi) {
        if (IsPartner(atHi->second, empty)) {
            distance = std::fabs(position - atHi->second->GetPosition());
            return atHi->second;
        }
    }

    TLoadHandler* below = nullptr;
    TLoadHandler* above = nullptr;
    double belowDistance = 0.0;
    double aboveDistance = 0.0;
    TCandidate down = atLo;
    TCandidate up = atHi;
    const auto openBelow = [&] { return down != candidates.begin() && !belowInterval(std::prev(down)); };
    const auto openAbove = [&] { return up != candidates.end() && !aboveInterval(up); };
    bool downOpen = openBelow();
    bool upOpen = openAbove();
    while (downOpen || upOpen) {
        if (downOpen) {
            --down;
            const double d = std::fabs(position - down->second->GetPosition());
            if ((below && d > belowDistance) || (above && d > aboveDistance)) {
                downOpen = false;
            } else {
                if (IsPartner(down->second, empty)) {
                    below = down->second;
                    belowDistance = d;
                }
                downOpen = openBelow();
            }
        }
        if (upOpen) {
            const double d = std::fabs(position - up->second->GetPosition());
            if (below && d >= belowDistance) {
                upOpen = false;
            } else if (IsPartner(up->second, empty)) {
                above = up->second;
                aboveDistance = d;
                upOpen = false;
            } else {
                ++up;
                upOpen = openAbove();
            }
        }
    }
    if (below && (!above || belowDistance <= aboveDistance)) {
        distance = belowDistance;
        return below;
    }
    if (above)
        distance = aboveDistance;
    return above;
}
