#pragma once

#include "model/clsChainRecord.h"
#include "model/clsPositionIndex.h"
#include "model/clsRateCounter.h"
#include "model/clsSimulationTime.h"
#include "model/clsZembaObject.h"
#include "model/clsLock.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <random>
#include <vector>

class TLoadHandler;

// Told of every change of a handler's position, synchronously on the
// simulation thread. Listeners must return quickly and never call back into
// the chain.
class TBucketChainEventListener
{
public:
    // phase 0: the handler is about to move (GetPosition still gives the old
    // position); phase 1: it has moved.
    virtual void OnHandlerMove(TLoadHandler* handler, std::uint8_t phase) = 0;

protected:
    ~TBucketChainEventListener() = default;
};

using THandlerList = std::vector<TLoadHandler*>;

// What a person already giving does when another empty person chooses it.
// Restart: it starts its giving afresh to the newcomer, as the rules were
// first written; a crowd of choosers can keep a giving from ever completing.
// Finish: it refuses, and completes the giving it has begun.
enum class THandoverRule : std::uint8_t { Restart, Finish };

// The simulation's centre: the handlers in order of addition (source first,
// sink last), an index of them by position with the indexes of those that can
// take or give a load now, one step of every person, the steps-per-second
// figure, the listeners and the scenario's generator of overtaking draws.
// Owns nothing it points to.
class TBucketChain : public TZembaObject
{
public:
    static constexpr std::uint8_t PhaseMoving = 0;
    static constexpr std::uint8_t PhaseMoved = 1;

    // The generator's own default seed: the draws of a run that never seeds it.
    static constexpr std::uint32_t DefaultSeed = std::mt19937::default_seed;

    explicit TBucketChain(TObjectIds& ids, TRateCounter::TClock clock = TRateCounter::SystemClock);
    // Lets go of the handlers still in the chain, so that none of them later
    // tries to leave a chain that no longer exists.
    ~TBucketChain() override;

    // Set-up, before the simulation runs. Null handlers and listeners are refused.
    void AddHandler(TLoadHandler* handler);
    // Adds the handler at the given place in the order of addition (clamped
    // to the handlers there are); those from there on move one place up.
    // Between steps, for persons who join a move under way before its sink.
    void InsertHandler(TLoadHandler* handler, std::int32_t slot);
    void RemoveHandler(TLoadHandler* handler);
    void AddListener(TBucketChainEventListener* listener);

    // Steps every handler between the first and the last, in order, then counts
    // the step. Before it, and after each handler's own step, the handlers are
    // filed anew as takers or givers: loads and breaks change in steps, and
    // anyone may have changed them between steps.
    void Step();
    void CountStep();
    // Steps taken since the chain was made.
    std::int64_t GetStepCount() const { return stepCount; }

    void SetHandoverRule(THandoverRule rule) { handoverRule = rule; }
    THandoverRule GetHandoverRule() const { return handoverRule; }

    // Counted by the handlers whenever a load changes hands: from the source,
    // between persons, to the sink. A move that counts none for long stands still.
    void CountHandover() { ++handovers; }
    std::int64_t GetHandoverCount() const { return handovers; }

    // Starts the overtaking draws afresh from the seed.
    void SeedDraws(std::uint32_t seed) { draws.seed(seed); }
    // The next number of the overtaking draws, uniform over 32 bits.
    std::uint32_t NextDraw() { return static_cast<std::uint32_t>(draws()); }

    // The handlers whose position lies in [lo, hi] (bounds swapped if reversed),
    // in ascending position, equal positions in filing order. True if any.
    bool FindHandlers(double lo, double hi, THandlerList& out) const;
    // The same query as a stretch of the index itself, for callers that stop
    // early and need not see every handler in the interval.
    THandlerRange FindHandlerRange(double lo, double hi) const;
    // The same stretch; an end at the filed handler's own position is sought
    // from its entry (a walk's interval starts or ends at the walker), the
    // other from where the last such stretch's other end lay. For the
    // simulation thread only: it remembers that end for the next walk.
    THandlerRange FindHandlerRange(double lo, double hi, const TLoadHandler* near) const;
    // Re-files the handler on phase 1, then tells every listener. Its entries
    // keep their place if it passed nobody, else move from there.
    void HandlerMoving(TLoadHandler* handler, std::uint8_t phase);
    // Files the handler anew as a taker (no load, free capacity), a giver (a
    // load) or neither.
    void HandlerLoadsChanged(TLoadHandler* handler);
    // Files the handler's home area [start, end] in the index of areas, or
    // takes it out when the handler holds none.
    void HandlerAreaChanged(TLoadHandler* handler, bool inArea, double start, double end);
    // The chain indexes, ascending, of the handlers whose filed area may hold
    // a point of [lo, hi]: every area that does is among them, some that do
    // not may be too.
    void FindAreaHolders(double lo, double hi, std::vector<std::int32_t>& out) const;

    std::int32_t GetHandlerCount() const { return static_cast<std::int32_t>(handlers.size()); }
    // The most handlers the chain has held at once. Home areas are measured
    // against the chain at its fullest, so that a person who leaves does not
    // make the areas of those who stay too short.
    std::int32_t GetLargestHandlerCount() const { return largestCount; }
    // Null for an index out of range.
    TLoadHandler* GetHandler(std::int32_t index) const;
    // Takes the lock and returns the handler (null for an index out of range;
    // the lock is held either way). Every LockHandler is followed by one UnlockHandler.
    TLoadHandler* LockHandler(std::int32_t index);
    void UnlockHandler(std::int32_t index);

    // The first entry of the position index at or above position, sought
    // outward from near, an entry of the index or its end.
    TPositionIndex::const_iterator LowerBound(double position, TPositionIndex::const_iterator near) const;
    // For checks: the index itself, read between steps.
    const TPositionIndex& GetPositionIndex() const { return positionIndex; }
    // The handler's own entry in the position index; the index's end if it
    // is not filed in this chain.
    TPositionIndex::const_iterator FindEntry(const TLoadHandler* handler) const;
    // The takers or the givers, a subset of the position index in its order.
    // Every partner of a walk is among them; not everyone among them is one.
    const TPartnerIndex& GetPartnerIndex(TPartnerKind kind) const
    {
        return kind == TPartnerKind::Giver ? givers : takers;
    }

    std::int32_t GetStepsPerSecond() const { return stepRate.GetPerSecond(); }

    // Between steps, on the stepping thread: everything a later step reads,
    // its handlers' states included. The same handlers in the same order,
    // restored from it, step on exactly as this chain does from here, bit for
    // bit. Restoring into a chain of other handlers is refused
    // (std::invalid_argument) before anything changes.
    TChainRecord SaveState() const;
    void RestoreState(const TChainRecord& record);
    // The handler's place in the order of addition; -1 if it is not in this chain.
    std::int32_t SlotOf(const TLoadHandler* handler) const;

    // Written by the simulation thread after every step: the step overran its period.
    std::atomic<bool> overrun{false};

private:
    void Refile(TLoadHandler* handler);
    void FilePartner(TLoadHandler* handler);
    void DropEntries(TLoadHandler* handler);
    TPartnerIndex* PartnerIndexOf(TPartnerKind kind);

    std::vector<TLoadHandler*> handlers;
    TPositionIndex positionIndex;
    TPartnerIndex takers;
    TPartnerIndex givers;
    // The filed home areas by their start, and the longest area ever filed,
    // which bounds how far before a point an area holding it can start.
    TPositionIndex homeAreas;
    double longestArea = 0.0;
    // Where the far end of the last walk's interval lay.
    mutable TPositionIndex::const_iterator farEnd = positionIndex.end();
    // Counts every filing into the position index; orders equal positions.
    std::uint64_t filings = 0;
    TLock lock;
    // Sampled per simulated second, however fast that passes.
    TRateCounter stepRate{StepsPerSecond};
    std::int64_t stepCount = 0;
    std::int64_t handovers = 0;
    std::int32_t largestCount = 0;
    THandoverRule handoverRule = THandoverRule::Restart;
    std::mt19937 draws;
    TRateCounter::TClock clock;
    std::list<TBucketChainEventListener*> listeners;
};
