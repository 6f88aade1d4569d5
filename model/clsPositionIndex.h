#pragma once

#include <cstdint>
#include <map>

class TLoadHandler;

// The handlers by position, ascending; equal positions in filing order, a
// handler filed again after a move coming last among its equals.
using TPositionIndex = std::multimap<double, TLoadHandler*>;

// The entries of the position index with keys in [lo, hi], in the order
// FindHandlers lists them, without copying them out. It describes the
// interval only until the next handler moves.
struct THandlerRange
{
    TPositionIndex::const_iterator first;
    TPositionIndex::const_iterator last;
    double lo = 0.0;
    double hi = 0.0;
};

// A handler's key in a partner index: its filed position and when it was
// filed, which orders equal positions as the position index does.
struct TFiling
{
    double position = 0.0;
    std::uint64_t order = 0;
};

// Orders filings as the position index orders its entries, and lets a bare
// position stand for the bounds of an interval.
struct TFilingOrder
{
    using is_transparent = void;

    bool operator()(const TFiling& a, const TFiling& b) const
    {
        return a.position < b.position || (!(b.position < a.position) && a.order < b.order);
    }
    bool operator()(const TFiling& a, double b) const { return a.position < b; }
    bool operator()(double a, const TFiling& b) const { return a < b.position; }
};

// The handlers that can take a load now, or those that can give one, in the
// order of the position index.
using TPartnerIndex = std::map<TFiling, TLoadHandler*, TFilingOrder>;

// What can make a handler a partner: empty hands and free capacity (a taker),
// or a load (a giver).
enum class TPartnerKind : std::uint8_t
{
    None,
    Taker,
    Giver,
};

// Where a handler stands in its chain's indexes. The handler keeps it for the
// chain, so that a move or a leave finds the entries without a search.
struct TIndexHandle
{
    bool filed = false;
    TPositionIndex::iterator entry;
    std::uint64_t order = 0;
    TPartnerKind kind = TPartnerKind::None;
    TPartnerIndex::iterator partnerEntry;
};
