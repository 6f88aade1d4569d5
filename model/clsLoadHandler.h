#pragma once

#include "model/clsChainRecord.h"
#include "model/clsLoad.h"
#include "model/clsPositionIndex.h"
#include "model/clsZembaObject.h"

#include <atomic>
#include <cstdint>

class TBucketChain;

// Anything on the trail that holds loads and passes them on: the source, the
// sink and the persons. Every change of a handler's position is framed by
// NotifyMoving and NotifyMoved, so that the chain keeps its position index
// right; every change of its loads or free capacity within a chain step is
// followed by NotifyLoadsChanged, so that the chain knows who can take or
// give a load.
class TLoadHandler : public TZembaObject
{
public:
    using TZembaObject::TZembaObject;
    // Leaves the chain, if the handler belongs to one.
    ~TLoadHandler() override;

    // Accepts the load (true, the handler owns it now) or refuses it (false,
    // it stays with the caller). A null load is refused.
    virtual bool PutLoad(TZLoad* load);
    virtual std::int32_t GetLoadCount() const;
    // A look at a load, not a take; null for an index out of range.
    virtual TZLoad* GetLoad(std::int32_t index) const;
    // The load leaves the handler and the caller owns it; null for an index out of range.
    virtual TZLoad* TakeLoad(std::int32_t index);
    // The heaviest load weight the handler would accept now.
    virtual double GetFreeCapacity() const;
    virtual double GetPosition() const = 0;
    // One simulation step; the chain ignores the result.
    virtual bool Step();
    virtual void SetChain(TBucketChain* newChain);
    // Hands the heaviest own load that fits the receiver's free capacity over
    // at once. Persons override it to start a hand-over that takes time.
    virtual void GiveLoadTo(TLoadHandler* receiver);
    // A giver calls this on the receiver when a hand-over starts that takes time.
    virtual void BeginReceive();

    TBucketChain* GetChain() const { return chain; }

    void NotifyMoving();
    void NotifyMoved();
    void NotifyLoadsChanged();

    // Index of the heaviest own load with a weight in (0, capacity], or -1.
    // Ties keep the earlier index.
    virtual std::int32_t FindHeaviestLoad(double capacity) const;

    // What steps change of the handler, into its record (its loads into the
    // chain's record) and back, for the chain's SaveState and RestoreState.
    // Restoring sends no notification: the chain files the handler itself.
    virtual void SaveState(THandlerRecord& record, TChainRecord& chainRecord) const;
    virtual void RestoreState(const THandlerRecord& record, const TChainRecord& chainRecord);

private:
    friend class TBucketChain;

    TBucketChain* chain = nullptr;
    // Written and read by the chain only.
    TIndexHandle indexHandle;
};

// The old home: hands out a new load of the sample's weight per take while its
// stock lasts. The loads are numbered from the scenario's ids.
class TLoadSource : public TLoadHandler
{
public:
    TLoadSource(TObjectIds& ids, double sampleWeight, std::int32_t stock);

    std::int32_t GetLoadCount() const override;
    // The sample load for every index within the stock, else null.
    TZLoad* GetLoad(std::int32_t index) const override;
    // A new load like the sample and one less in stock, for an index within the stock; else null.
    TZLoad* TakeLoad(std::int32_t index) override;
    double GetPosition() const override;
    // As for any handler, answered from the sample load instead of a walk over the whole stock.
    void GiveLoadTo(TLoadHandler* receiver) override;
    std::int32_t FindHeaviestLoad(double capacity) const override;
    // The stock.
    void SaveState(THandlerRecord& record, TChainRecord& chainRecord) const override;
    void RestoreState(const THandlerRecord& record, const TChainRecord& chainRecord) override;

private:
    TObjectIds& ids;
    TZStdLoad sampleLoad;
    // Read by the view and the tools while the simulation thread hands out loads.
    std::atomic<std::int32_t> stock;
};

// The new home: accepts every load and destroys it at once. Its load count
// stays 0; GetDeliveredCount counts what it has accepted.
class TLoadSink : public TLoadHandler
{
public:
    TLoadSink(TObjectIds& ids, double position);

    bool PutLoad(TZLoad* load) override;
    double GetFreeCapacity() const override;
    double GetPosition() const override;

    std::int32_t GetDeliveredCount() const { return delivered.load(std::memory_order_relaxed); }
    // The loads delivered.
    void SaveState(THandlerRecord& record, TChainRecord& chainRecord) const override;
    void RestoreState(const THandlerRecord& record, const TChainRecord& chainRecord) override;

private:
    const double position;
    std::atomic<std::int32_t> delivered{0};
};
