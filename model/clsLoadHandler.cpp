#include "model/clsLoadHandler.h"

#include "model/clsBucketChain.h"

TLoadHandler::~TLoadHandler()
{
    if (chain)
        chain->RemoveHandler(this);
}

bool TLoadHandler::PutLoad(TZLoad*)
{
    return false;
}

std::int32_t TLoadHandler::GetLoadCount() const
{
    return 0;
}

TZLoad* TLoadHandler::GetLoad(std::int32_t) const
{
    return nullptr;
}

TZLoad* TLoadHandler::TakeLoad(std::int32_t)
{
    return nullptr;
}

double TLoadHandler::GetFreeCapacity() const
{
    return 0.0;
}

bool TLoadHandler::Step()
{
    return true;
}

void TLoadHandler::SetChain(TBucketChain* newChain)
{
    chain = newChain;
}

void TLoadHandler::GiveLoadTo(TLoadHandler* receiver)
{
    if (!receiver)
        return;
    const double capacity = receiver->GetFreeCapacity();
    std::int32_t best = -1;
    double bestWeight = 0.0;
    const std::int32_t count = GetLoadCount();
    for (std::int32_t i = 0; i < count; ++i) {
        const double w = GetLoad(i)->GetWeight();
        if (w > capacity)
            continue;
        if (best < 0 || bestWeight < w) {
            best = i;
            bestWeight = w;
        }
    }
    if (best >= 0) {
        receiver->PutLoad(TakeLoad(best));
        NotifyLoadsChanged();
        receiver->NotifyLoadsChanged();
        if (chain)
            chain->CountHandover();
    }
}

void TLoadHandler::BeginReceive()
{
}

void TLoadHandler::SaveState(THandlerRecord&, TChainRecord&) const
{
}

void TLoadHandler::RestoreState(const THandlerRecord&, const TChainRecord&)
{
}

void TLoadHandler::NotifyMoving()
{
    if (chain)
        chain->HandlerMoving(this, TBucketChain::PhaseMoving);
}

void TLoadHandler::NotifyMoved()
{
    if (chain)
        chain->HandlerMoving(this, TBucketChain::PhaseMoved);
}

void TLoadHandler::NotifyLoadsChanged()
{
    if (chain)
        chain->HandlerLoadsChanged(this);
}

std::int32_t TLoadHandler::FindHeaviestLoad(double capacity) const
{
    std::int32_t bestIndex = -1;
    double bestWeight = 0.0;
    const std::int32_t count = GetLoadCount();
    for (std::int32_t i = 0; i < count; ++i) {
        const double w = GetLoad(i)->GetWeight();
        if (w <= capacity && w > bestWeight) {
            bestIndex = i;
            bestWeight = w;
        }
    }
    return bestIndex;
}

TLoadSource::TLoadSource(TObjectIds& theIds, double sampleWeight, std::int32_t theStock)
    : TLoadHandler(theIds)
    , ids(theIds)
    , sampleLoad(theIds, sampleWeight)
    , stock(theStock)
{
}

std::int32_t TLoadSource::GetLoadCount() const
{
    return stock.load(std::memory_order_relaxed);
}

TZLoad* TLoadSource::GetLoad(std::int32_t index) const
{
    // Every load in stock looks like the sample load.
    if (index < 0 || index >= GetLoadCount())
        return nullptr;
    return const_cast<TZStdLoad*>(&sampleLoad);
}

TZLoad* TLoadSource::TakeLoad(std::int32_t index)
{
    // Refusing an index beyond the stock keeps the stock from going negative.
    if (index < 0 || index >= GetLoadCount())
        return nullptr;
    stock.fetch_sub(1, std::memory_order_relaxed);
    return new TZStdLoad(ids, sampleLoad.GetWeight());
}

double TLoadSource::GetPosition() const
{
    return 0.0;
}

// Every load in stock looks like the sample load, so the first index is the
// one a walk over the stock would settle on: it wins every tie.
void TLoadSource::GiveLoadTo(TLoadHandler* receiver)
{
    if (receiver && GetLoadCount() > 0 && !(sampleLoad.GetWeight() > receiver->GetFreeCapacity())) {
        receiver->PutLoad(TakeLoad(0));
        NotifyLoadsChanged();
        receiver->NotifyLoadsChanged();
        if (TBucketChain* owner = GetChain())
            owner->CountHandover();
    }
}

std::int32_t TLoadSource::FindHeaviestLoad(double capacity) const
{
    const double w = sampleLoad.GetWeight();
    return GetLoadCount() > 0 && w <= capacity && w > 0.0 ? 0 : -1;
}

void TLoadSource::SaveState(THandlerRecord& record, TChainRecord&) const
{
    record.count = GetLoadCount();
}

void TLoadSource::RestoreState(const THandlerRecord& record, const TChainRecord&)
{
    stock.store(record.count, std::memory_order_relaxed);
}

TLoadSink::TLoadSink(TObjectIds& ids, double thePosition)
    : TLoadHandler(ids)
    , position(thePosition)
{
}

bool TLoadSink::PutLoad(TZLoad* load)
{
    if (!load)
        return false;
    delete load;
    delivered.fetch_add(1, std::memory_order_relaxed);
    return true;
}

double TLoadSink::GetFreeCapacity() const
{
    return 100.0;
}

double TLoadSink::GetPosition() const
{
    return position;
}

void TLoadSink::SaveState(THandlerRecord& record, TChainRecord&) const
{
    record.count = GetDeliveredCount();
}

void TLoadSink::RestoreState(const THandlerRecord& record, const TChainRecord&)
{
    delivered.store(record.count, std::memory_order_relaxed);
}
