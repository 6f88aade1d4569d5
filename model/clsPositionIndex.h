#pragma once

#include <cstdint>
#include <set>

class TLoadHandler;

// An entry of the position index, named as a map's entries are: the position
// first, the handler second. The position may change in place as long as the
// entry keeps its place among its neighbours.
struct TIndexEntry
{
    mutable double first = 0.0;
    TLoadHandler* second = nullptr;
};

// Orders entries by position, and lets a bare position stand for an interval's bounds.
struct TIndexOrder
{
    using is_transparent = void;

    bool operator()(const TIndexEntry& a, const TIndexEntry& b) const { return a.first < b.first; }
    bool operator()(const TIndexEntry& a, double b) const { return a.first < b; }
    bool operator()(double a, const TIndexEntry& b) const { return a < b.first; }
};

// The handlers by position, ascending; equal positions in filing order, a
// handler filed again after a move coming last among its equals.
using TPositionIndex = std::multiset<TIndexEntry, TIndexOrder>;

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

// An entry of a partner index: the handler's filing first, the handler second.
struct TPartnerEntry
{
    mutable TFiling first;
    TLoadHandler* second = nullptr;
};

// Orders partner entries as the position index orders its entries, and lets
// a bare position stand for an interval's bounds.
struct TFilingOrder
{
    using is_transparent = void;

    bool operator()(const TPartnerEntry& a, const TPartnerEntry& b) const
    {
        const TFiling& x = a.first;
        const TFiling& y = b.first;
        return x.position < y.position || (!(y.position < x.position) && x.order < y.order);
    }
    bool operator()(const TPartnerEntry& a, double b) const { return a.first.position < b; }
    bool operator()(double a, const TPartnerEntry& b) const { return a < b.first.position; }
};

// The handlers that can take a load now, or those that can give one, in the
// order of the position index.
using TPartnerIndex = std::set<TPartnerEntry, TFilingOrder>;

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
    TPositionIndex::iterator entry;
    std::uint64_t order = 0;
    TPartnerIndex::iterator partnerEntry;
    // Its home area's entry in the index of areas by start, while areaFiled.
    TPositionIndex::iterator areaEntry;
    // Its place in the chain's order of addition.
    std::int32_t slot = 0;
    bool filed = false;
    bool areaFiled = false;
    TPartnerKind kind = TPartnerKind::None;
};
