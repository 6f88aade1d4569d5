#include "model/clsBucketChain.h"

#include "model/clsLoadHandler.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// How far a move's new place is sought from its old one before the search
// starts again from the root: a step moves past few others, a crowd past many.
constexpr int NearbySteps = 8;

double PositionOf(const TPositionIndex::value_type& entry)
{
    return entry.first;
}

double PositionOf(const TPartnerIndex::value_type& entry)
{
    return entry.first.position;
}

// The first entry above position, where an entry filed there goes last among
// its equals; sought outward from near.
template <typename TIndex>
typename TIndex::const_iterator UpperBoundFrom(const TIndex& index, typename TIndex::const_iterator near,
                                               double position)
{
    auto it = near;
    for (int steps = 0; it != index.end() && !(position < PositionOf(*it)); ++it)
        if (++steps > NearbySteps)
            return index.upper_bound(position);
    for (int steps = 0; it != index.begin() && position < PositionOf(*std::prev(it)); --it)
        if (++steps > NearbySteps)
            return index.upper_bound(position);
    return it;
}

} // namespace

TBucketChain::TBucketChain(TRateCounter::TCalendarClock calendarClock)
    : calendarClock(std::move(calendarClock))
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
    if (!handler)
        return;
    // Its entries can stand in one chain only.
    if (TBucketChain* previous = handler->GetChain())
        previous->RemoveHandler(handler);
    lock.Lock();
    handlers.push_back(handler);
    TIndexHandle& handle = handler->indexHandle;
    handle = {};
    handle.entry = positionIndex.emplace(handler->GetPosition(), handler);
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
    if (it != handlers.rend())
        handlers.erase(std::next(it).base());
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
    CountStep();
}

void TBucketChain::CountStep()
{
    stepRate.Count(calendarClock());
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

TPartnerIndex* TBucketChain::PartnerIndexOf(TPartnerKind kind)
{
    switch (kind) {
    case TPartnerKind::Taker: return &takers;
    case TPartnerKind::Giver: return &givers;
    default: return nullptr;
    }
}

void TBucketChain::RemoveIndexEntry(TLoadHandler* handler)
{
    // A move of another handler left unfinished: file it where it stands now.
    if (!spareEntry.empty() && spareEntry.mapped() != handler)
        InsertIndexEntry(spareEntry.mapped());
    TIndexHandle& handle = handler->indexHandle;
    if (!handle.filed)
        return;
    // Kept for the re-filing that follows, which then needs no allocation.
    spareNext = std::next(TPositionIndex::const_iterator(handle.entry));
    spareEntry = positionIndex.extract(handle.entry);
    handle.filed = false;
    if (TPartnerIndex* partners = PartnerIndexOf(handle.kind)) {
        sparePartnerNext = std::next(TPartnerIndex::const_iterator(handle.partnerEntry));
        sparePartner = partners->extract(handle.partnerEntry);
    }
}

void TBucketChain::InsertIndexEntry(TLoadHandler* handler)
{
    TIndexHandle& handle = handler->indexHandle;
    // A move announced only once it happened is filed anew all the same.
    if (spareEntry.empty() || spareEntry.mapped() != handler)
        RemoveIndexEntry(handler);
    const double position = handler->GetPosition();
    // Inserting at the upper bound files the entry after those of equal key, as emplace does.
    if (!spareEntry.empty()) {
        spareEntry.key() = position;
        handle.entry = positionIndex.insert(UpperBoundFrom(positionIndex, spareNext, position), std::move(spareEntry));
    } else {
        handle.entry = positionIndex.emplace(position, handler);
    }
    handle.order = ++filings;
    handle.filed = true;
    if (!sparePartner.empty()) {
        TPartnerIndex& partners = *PartnerIndexOf(handle.kind);
        sparePartner.key() = {position, handle.order};
        handle.partnerEntry =
            partners.insert(UpperBoundFrom(partners, sparePartnerNext, position), std::move(sparePartner));
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
        handle.partnerEntry = partners->emplace(TFiling{handle.entry->first, handle.order}, handler).first;
}

void TBucketChain::DropEntries(TLoadHandler* handler)
{
    TIndexHandle& handle = handler->indexHandle;
    if (!spareEntry.empty() && spareEntry.mapped() == handler) {
        spareEntry = {};
        sparePartner = {};
    } else if (handle.filed) {
        positionIndex.erase(handle.entry);
        if (TPartnerIndex* partners = PartnerIndexOf(handle.kind))
            partners->erase(handle.partnerEntry);
    }
    handle = {};
}

void TBucketChain::HandlerLoadsChanged(TLoadHandler* handler)
{
    FilePartner(handler);
}

void TBucketChain::HandlerMoving(TLoadHandler* handler, std::uint8_t phase)
{
    if (phase == PhaseMoving)
        RemoveIndexEntry(handler);
    else if (phase == PhaseMoved)
        InsertIndexEntry(handler);
    for (TBucketChainEventListener* listener : listeners)
        listener->OnHandlerMove(handler, phase);
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
