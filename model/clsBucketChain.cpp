#include "model/clsBucketChain.h"

#include "model/clsLoadHandler.h"

#include <algorithm>
#include <utility>

TBucketChain::TBucketChain(TObjectIds& ids, TRateCounter::TCalendarClock theCalendarClock)
    : TZembaObject(ids)
    , calendarClock(std::move(theCalendarClock))
{
}

TBucketChain::~TBucketChain()
{
    for (TLoadHandler* handler : handlers)
        if (handler->GetChain() == this)
            handler->SetChain(nullptr);
}

void TBucketChain::AddHandler(TLoadHandler* handler)
{
    if (!handler)
        return;
    lock.Lock();
    handlers.push_back(handler);
    positionIndex.emplace(handler->GetPosition(), handler);
    lock.Unlock();
    // Outside the lock: it is not re-entrant.
    handler->SetChain(this);
}

void TBucketChain::RemoveHandler(TLoadHandler* handler)
{
    if (!handler)
        return;
    handler->SetChain(nullptr);
    lock.Lock();
    // Found by value, not under the handler's position: a handler leaves from
    // its base destructor, where its position can no longer be asked.
    const auto entry = std::find_if(positionIndex.begin(), positionIndex.end(),
                                    [handler](const auto& e) { return e.second == handler; });
    if (entry != positionIndex.end())
        positionIndex.erase(entry);
    const auto it = std::find(handlers.begin(), handlers.end(), handler);
    if (it != handlers.end())
        handlers.erase(it);
    lock.Unlock();
}

void TBucketChain::AddListener(TBucketChainEventListener* listener)
{
    if (listener)
        listeners.push_back(listener);
}

void TBucketChain::Step()
{
    const std::size_t count = handlers.size();
    for (std::size_t i = 1; i + 1 < count; ++i)
        handlers[i]->Step();
    ++stepCount;
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

void TBucketChain::RemoveIndexEntry(TLoadHandler* handler)
{
    // Start at the first entry with exactly the handler's key; its own entry
    // may stand further on, among entries of the same or a greater key.
    auto it = positionIndex.lower_bound(handler->GetPosition());
    if (it == positionIndex.end() || it->first != handler->GetPosition())
        return;
    for (; it != positionIndex.end(); ++it) {
        if (it->second == handler) {
            // Kept for the re-filing that follows, which then needs no allocation.
            spareEntry = positionIndex.extract(it);
            return;
        }
    }
}

void TBucketChain::InsertIndexEntry(TLoadHandler* handler)
{
    // Inserting a node files it after the entries of equal key, as emplace does.
    if (!spareEntry.empty() && spareEntry.mapped() == handler) {
        spareEntry.key() = handler->GetPosition();
        positionIndex.insert(std::move(spareEntry));
    } else {
        positionIndex.emplace(handler->GetPosition(), handler);
    }
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
