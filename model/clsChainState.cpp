#include "model/clsChainState.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsZembaObject.h"

#include <algorithm>

void TChainState::Read(const TBucketChain& chain)
{
    BeginRead(chain);
    handlers.resize(static_cast<std::size_t>(chain.GetHandlerCount()));
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        THandlerState& h = handlers[i];
        h.Read(*chain.GetHandler(static_cast<std::int32_t>(i)));
        CountLoads(h);
    }
}

void TChainState::ReadBounded(const TBucketChain& chain, std::int32_t keptPersons)
{
    BeginRead(chain);
    handlers.clear();
    const std::int32_t count = chain.GetHandlerCount();
    if (count > 0)
        crowd.Begin(chain.GetHandler(0)->GetPosition(), chain.GetHandler(count - 1)->GetPosition());
    std::int32_t kept = 0;
    // Read into the kept slot where there is one, else into a scratch state
    // whose name storage is reused from handler to handler.
    THandlerState scratch;
    for (std::int32_t i = 0; i < count; ++i) {
        const TLoadHandler& handler = *chain.GetHandler(i);
        const bool keep = !handler.IsKind(TZembaObject::KindPerson) || kept < keptPersons;
        THandlerState& h = keep ? handlers.emplace_back() : scratch;
        h.Read(handler);
        CountLoads(h);
        if (h.IsPerson()) {
            kept += keep ? 1 : 0;
            crowd.Add(h);
        }
    }
}

bool TChainState::HoldsEveryPerson() const
{
    return std::count_if(handlers.begin(), handlers.end(), [](const THandlerState& h) { return h.IsPerson(); })
        == personCount;
}

void TChainState::ReadFigures(const TBucketChain& chain, const std::function<void(const THandlerState&)>& visit)
{
    BeginRead(chain);
    handlers.clear();
    THandlerState h;
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i) {
        h.Read(*chain.GetHandler(i));
        CountLoads(h);
        visit(h);
    }
}

void TChainState::BeginRead(const TBucketChain& chain)
{
    step = chain.GetStepCount();
    stepsPerSecond = chain.GetStepsPerSecond();
    overrun = chain.overrun.load(std::memory_order_relaxed);
    stock = inHands = delivered = personCount = 0;
}

void TChainState::CountLoads(const THandlerState& h)
{
    if (h.kind == THandlerState::TKind::Source)
        stock += h.loadCount;
    else if (h.IsPerson()) {
        inHands += h.loadCount;
        ++personCount;
    }
    delivered += h.delivered;
}

const THandlerState* TChainState::Find(std::int32_t id) const
{
    const auto it = std::find_if(handlers.begin(), handlers.end(), [id](const auto& h) { return h.id == id; });
    return it == handlers.end() ? nullptr : &*it;
}
