#include "model/clsBucketChain.h"

#include "model/clsLoadHandler.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace {

// How far an interval's end is sought from a nearby entry before the search
// starts again from the root.
constexpr int NearbySteps = 2;

// Up to this many entries a descent from the root costs less than a look at
// the neighbours of a handler's own entry.
constexpr std::size_t ShallowIndex = 64;

using TEntry = TPositionIndex::const_iterator;

// The first entry at or above position, sought outward from near.
TEntry LowerBoundFrom(const TPositionIndex& index, TEntry near, double position)
{
    auto it = near;
    for (int steps = 0; it != index.end() && it->first < position; ++it)
        if (++steps > NearbySteps)
            return index.lower_bound(position);
    for (int steps = 0; it != index.begin() && !(std::prev(it)->first < position); --it)
        if (++steps > NearbySteps)
            return index.lower_bound(position);
    return it;
}

// The first entry above position, where an entry filed there goes last among
// its equals; sought outward from near.
TEntry UpperBoundFrom(const TPositionIndex& index, TEntry near, double position)
{
    auto it = near;
    for (int steps = 0; it != index.end() && !(position < it->first); ++it)
        if (++steps > NearbySteps)
            return index.upper_bound(position);
    for (int steps = 0; it != index.begin() && position < std::prev(it)->first; --it)
        if (++steps > NearbySteps)
            return index.upper_bound(position);
    return it;
}

// Gives the entry the new position: in place if the entry passes none of its
// neighbours, else taken out and filed last among its new equals, as a fresh
// entry would be. True if it kept its place. A move that passes anybody mostly
// passes many, so its new place is sought from the root at once.
bool MoveEntry(TPositionIndex& index, TPositionIndex::iterator& entry, double position)
{
    const auto next = std::next(entry);
    const bool afterPrevious = entry == index.begin() || !(position < std::prev(entry)->first);
    if (afterPrevious && (next == index.end() || position < next->first)) {
        entry->first = position;
        return true;
    }
    auto node = index.extract(entry);
    node.value().first = position;
    entry = index.insert(std::move(node));
    return false;
}

} // namespace

TBucketChain::TBucketChain(TObjectIds& ids, TRateCounter::TClock theClock)
    : TZembaObject(ids)
    , clock(std::move(theClock))
{
}

TBucketChain::~TBucketChain()
{
    for (TLoadHandler* handler : handlers) {
        if (handler->GetChain() == this) {
            handler->SetChain(nullptr);
            handler->indexHandle = {};
        }
    }
}

void TBucketChain::AddHandler(TLoadHandler* handler)
{
    InsertHandler(handler, GetHandlerCount());
}

void TBucketChain::InsertHandler(TLoadHandler* handler, std::int32_t slot)
{
    if (!handler)
        return;
    // Its entries can stand in one chain only.
    if (TBucketChain* previous = handler->GetChain())
        previous->RemoveHandler(handler);
    lock.Lock();
    slot = std::clamp(slot, 0, GetHandlerCount());
    const auto inserted = handlers.insert(handlers.begin() + slot, handler);
    largestCount = std::max(largestCount, GetHandlerCount());
    for (auto later = std::next(inserted); later != handlers.end(); ++later)
        ++(*later)->indexHandle.slot;
    TIndexHandle& handle = handler->indexHandle;
    handle = {};
    handle.slot = slot;
    handle.entry = positionIndex.insert(TIndexEntry{handler->GetPosition(), handler});
    handle.order = ++filings;
    handle.filed = true;
    FilePartner(handler);
    lock.Unlock();
    // Outside the lock: it is not re-entrant.
    handler->SetChain(this);
}

void TBucketChain::RemoveHandler(TLoadHandler* handler)
{
    if (!handler)
        return;
    const bool filedHere = handler->GetChain() == this;
    handler->SetChain(nullptr);
    lock.Lock();
    if (filedHere)
        DropEntries(handler);
    // Sought from the end: owners let their handlers go in reverse order of addition.
    const auto it = std::find(handlers.rbegin(), handlers.rend(), handler);
    if (it != handlers.rend()) {
        const auto erased = handlers.erase(std::next(it).base());
        for (auto later = erased; later != handlers.end(); ++later)
            --(*later)->indexHandle.slot;
    }
    lock.Unlock();
}

void TBucketChain::AddListener(TBucketChainEventListener* listener)
{
    if (listener)
        listeners.push_back(listener);
}

void TBucketChain::Step()
{
    for (TLoadHandler* handler : handlers)
        FilePartner(handler);
    const std::size_t count = handlers.size();
    for (std::size_t i = 1; i + 1 < count; ++i) {
        handlers[i]->Step();
        FilePartner(handlers[i]);
    }
    ++stepCount;
    CountStep();
}

void TBucketChain::CountStep()
{
    stepRate.Count(clock);
}

bool TBucketChain::FindHandlers(double lo, double hi, THandlerList& out) const
{
    out.clear();
    const THandlerRange range = FindHandlerRange(lo, hi);
    for (auto it = range.first; it != range.last; ++it)
        out.push_back(it->second);
    return !out.empty();
}

THandlerRange TBucketChain::FindHandlerRange(double lo, double hi) const
{
    if (lo > hi)
        std::swap(lo, hi);
    return {positionIndex.lower_bound(lo), positionIndex.upper_bound(hi), lo, hi};
}

THandlerRange TBucketChain::FindHandlerRange(double lo, double hi, const TLoadHandler* near) const
{
    const TIndexHandle& handle = near->indexHandle;
    if (!handle.filed || near->GetChain() != this || positionIndex.size() <= ShallowIndex)
        return FindHandlerRange(lo, hi);
    if (lo > hi)
        std::swap(lo, hi);
    // The end at the handler's own position is sought from its entry; the
    // other lies a reach away, past many entries, and is sought from where
    // the last walk's far end lay: the next walker along the chain mostly
    // stands near the last.
    const TPositionIndex::const_iterator own = handle.entry;
    const bool fromLo = lo == own->first;
    const THandlerRange range{LowerBoundFrom(positionIndex, fromLo ? own : farEnd, lo),
                              UpperBoundFrom(positionIndex, fromLo ? farEnd : own, hi), lo, hi};
    farEnd = fromLo ? range.last : range.first;
    return range;
}

TPositionIndex::const_iterator TBucketChain::LowerBound(double position, TPositionIndex::const_iterator near) const
{
    return LowerBoundFrom(positionIndex, near, position);
}

TPositionIndex::const_iterator TBucketChain::FindEntry(const TLoadHandler* handler) const
{
    if (!handler->indexHandle.filed || handler->GetChain() != this)
        return positionIndex.end();
    return handler->indexHandle.entry;
}

TPartnerIndex* TBucketChain::PartnerIndexOf(TPartnerKind kind)
{
    switch (kind) {
    case TPartnerKind::Taker: return &takers;
    case TPartnerKind::Giver: return &givers;
    default: return nullptr;
    }
}

void TBucketChain::Refile(TLoadHandler* handler)
{
    TIndexHandle& handle = handler->indexHandle;
    if (!handle.filed)
        return;
    const double position = handler->GetPosition();
    handle.order = ++filings;
    const bool keptPlace = MoveEntry(positionIndex, handle.entry, position);
    TPartnerIndex* partners = PartnerIndexOf(handle.kind);
    if (!partners)
        return;
    const TFiling filing{position, handle.order};
    // A partner index lists a subset in the same order: an entry that passed
    // nobody in the whole index passes nobody there either.
    if (keptPlace) {
        handle.partnerEntry->first = filing;
        return;
    }
    // A new neighbour of the same kind in the position index is a neighbour
    // in the partner index too: its entry there says where this one goes,
    // without a search. In a crowd, where every move passes many, most
    // neighbours are.
    auto node = partners->extract(handle.partnerEntry);
    node.value().first = filing;
    const auto sameKind = [&](TPositionIndex::const_iterator it) {
        return it->second->indexHandle.kind == handle.kind;
    };
    if (handle.entry != positionIndex.begin() && sameKind(std::prev(handle.entry))) {
        const auto after = std::next(std::prev(handle.entry)->second->indexHandle.partnerEntry);
        handle.partnerEntry = partners->insert(after, std::move(node));
    } else if (const auto next = std::next(handle.entry); next != positionIndex.end() && sameKind(next)) {
        handle.partnerEntry = partners->insert(next->second->indexHandle.partnerEntry, std::move(node));
    } else {
        handle.partnerEntry = partners->insert(std::move(node)).position;
    }
}

void TBucketChain::FilePartner(TLoadHandler* handler)
{
    TIndexHandle& handle = handler->indexHandle;
    if (!handle.filed)
        return;
    TPartnerKind kind = TPartnerKind::None;
    if (handler->GetLoadCount() > 0)
        kind = TPartnerKind::Giver;
    else if (handler->GetFreeCapacity() > 0.0)
        kind = TPartnerKind::Taker;
    if (kind == handle.kind)
        return;
    if (TPartnerIndex* partners = PartnerIndexOf(handle.kind))
        partners->erase(handle.partnerEntry);
    handle.kind = kind;
    if (TPartnerIndex* partners = PartnerIndexOf(kind))
        handle.partnerEntry = partners->insert(TPartnerEntry{{handle.entry->first, handle.order}, handler}).first;
}

void TBucketChain::DropEntries(TLoadHandler* handler)
{
    TIndexHandle& handle = handler->indexHandle;
    if (handle.filed) {
        if (farEnd == handle.entry)
            farEnd = positionIndex.end();
        positionIndex.erase(handle.entry);
        if (TPartnerIndex* partners = PartnerIndexOf(handle.kind))
            partners->erase(handle.partnerEntry);
        if (handle.areaFiled)
            homeAreas.erase(handle.areaEntry);
    }
    handle = {};
}

void TBucketChain::HandlerLoadsChanged(TLoadHandler* handler)
{
    FilePartner(handler);
}

void TBucketChain::HandlerAreaChanged(TLoadHandler* handler, bool inArea, double start, double end)
{
    TIndexHandle& handle = handler->indexHandle;
    if (!handle.filed)
        return;
    if (!inArea) {
        if (handle.areaFiled)
            homeAreas.erase(handle.areaEntry);
        handle.areaFiled = false;
        return;
    }
    if (handle.areaFiled)
        MoveEntry(homeAreas, handle.areaEntry, start);
    else
        handle.areaEntry = homeAreas.insert(TIndexEntry{start, handler});
    handle.areaFiled = true;
    if (end - start > longestArea)
        longestArea = end - start;
}

void TBucketChain::FindAreaHolders(double lo, double hi, std::vector<std::int32_t>& out) const
{
    out.clear();
    if (lo > hi)
        std::swap(lo, hi);
    // Twice the longest area: a margin for the rounding of end - start.
    const double from = lo - 2.0 * longestArea;
    for (auto it = homeAreas.lower_bound(from); it != homeAreas.end() && !(hi < it->first); ++it)
        out.push_back(it->second->indexHandle.slot);
    std::sort(out.begin(), out.end());
}

void TBucketChain::HandlerMoving(TLoadHandler* handler, std::uint8_t phase)
{
    if (phase == PhaseMoved)
        Refile(handler);
    for (TBucketChainEventListener* listener : listeners)
        listener->OnHandlerMove(handler, phase);
}

TChainRecord TBucketChain::SaveState() const
{
    TChainRecord record;
    record.handlers.resize(handlers.size());
    for (std::size_t i = 0; i < handlers.size(); ++i)
        handlers[i]->SaveState(record.handlers[i], record);
    record.positionIndex.reserve(positionIndex.size());
    for (const TIndexEntry& entry : positionIndex) {
        const TIndexHandle& handle = entry.second->indexHandle;
        record.positionIndex.push_back({entry.first, handle.order, handle.slot, handle.kind});
    }
    record.homeAreas.reserve(homeAreas.size());
    for (const TIndexEntry& entry : homeAreas)
        record.homeAreas.push_back({entry.first, entry.second->indexHandle.slot});
    record.longestArea = longestArea;
    record.filings = filings;
    record.stepCount = stepCount;
    record.handovers = handovers;
    record.largestCount = largestCount;
    record.draws = draws;
    return record;
}

// The indexes are filed anew in the recorded order, each entry at the end: a
// multiset puts an entry filed at its end last among its equals, so equal
// positions come back in the order they had.
void TBucketChain::RestoreState(const TChainRecord& record)
{
    const auto isSlot = [this](std::int32_t slot) { return slot >= 0 && slot < GetHandlerCount(); };
    const bool fits = record.handlers.size() == handlers.size() && record.positionIndex.size() == handlers.size()
        && std::all_of(record.positionIndex.begin(), record.positionIndex.end(), [&](const auto& f) { return isSlot(f.slot); })
        && std::all_of(record.homeAreas.begin(), record.homeAreas.end(), [&](const auto& a) { return isSlot(a.slot); });
    if (!fits)
        throw std::invalid_argument("the record is of another chain");
    positionIndex.clear();
    takers.clear();
    givers.clear();
    homeAreas.clear();
    farEnd = positionIndex.end();
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        TIndexHandle& handle = handlers[i]->indexHandle;
        handle = {};
        handle.slot = static_cast<std::int32_t>(i);
        handlers[i]->RestoreState(record.handlers[i], record);
    }
    for (const TFilingRecord& filing : record.positionIndex) {
        TLoadHandler* const handler = handlers[static_cast<std::size_t>(filing.slot)];
        TIndexHandle& handle = handler->indexHandle;
        handle.entry = positionIndex.insert(positionIndex.end(), TIndexEntry{filing.position, handler});
        handle.order = filing.order;
        handle.filed = true;
        handle.kind = filing.kind;
        if (TPartnerIndex* partners = PartnerIndexOf(filing.kind))
            handle.partnerEntry = partners->insert(partners->end(), TPartnerEntry{{filing.position, filing.order}, handler});
    }
    for (const TAreaRecord& area : record.homeAreas) {
        TLoadHandler* const handler = handlers[static_cast<std::size_t>(area.slot)];
        handler->indexHandle.areaEntry = homeAreas.insert(homeAreas.end(), TIndexEntry{area.start, handler});
        handler->indexHandle.areaFiled = true;
    }
    longestArea = record.longestArea;
    filings = record.filings;
    stepCount = record.stepCount;
    handovers = record.handovers;
    largestCount = record.largestCount;
    draws = record.draws;
}

std::int32_t TBucketChain::SlotOf(const TLoadHandler* handler) const
{
    return handler && handler->GetChain() == this && handler->indexHandle.filed ? handler->indexHandle.slot : -1;
}

TLoadHandler* TBucketChain::GetHandler(std::int32_t index) const
{
    if (index < 0 || index >= GetHandlerCount())
        return nullptr;
    return handlers[static_cast<std::size_t>(index)];
}

TLoadHandler* TBucketChain::LockHandler(std::int32_t index)
{
    lock.Lock();
    return GetHandler(index);
}

void TBucketChain::UnlockHandler(std::int32_t)
{
    lock.Unlock();
}
