#include "model/clsChainChecker.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsHandlerState.h"

#include <cmath>
#include <sstream>

namespace {

std::string Describe(const THandlerState& h)
{
    std::ostringstream text;
    text << "handler " << h.id;
    if (h.IsPerson())
        text << " (" << h.name << ")";
    return text.str();
}

std::string CheckPerson(const THandlerState& p)
{
    const std::string who = Describe(p);
    if (!std::isfinite(p.fitness) || p.fitness <= 0.0 || p.fitness > 1.0)
        return who + ": fitness " + std::to_string(p.fitness) + " is outside (0, 1]";
    const auto state = p.state;
    if (state != TPersonState::Walking && state != TPersonState::Giving && state != TPersonState::Receiving)
        return who + ": state " + std::to_string(static_cast<int>(state)) + " is none of 1, 3, 4";
    // A person accepts a load only up to a free capacity of 1.0 with empty hands.
    if (p.loadWeight > 1.0)
        return who + ": holds " + std::to_string(p.loadWeight) + " in weight, more than 1.0";
    if (p.inHomeArea) {
        if (!std::isfinite(p.homeStart) || !std::isfinite(p.homeEnd))
            return who + ": home area borders are not finite";
        if (p.homeEnd - p.homeStart < p.minimumHomeLength)
            return who + ": home area is shorter than the minimum length";
    }
    return {};
}

} // namespace

TChainChecker::TChainChecker(const TBucketChain& theChain, const TLoadSource& theSource, const TLoadSink& theSink,
                             std::int32_t theInitialStock)
    : chain(theChain)
    , source(theSource)
    , sink(theSink)
    , initialStock(theInitialStock)
{
}

std::int64_t TChainChecker::CountLoadsInHands() const
{
    std::int64_t inHands = 0;
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i)
        if (const TLoadHandler* h = chain.GetHandler(i); h != &source && h != &sink)
            inHands += h->GetLoadCount();
    return inHands;
}

std::string TChainChecker::Check() const
{
    const std::int64_t stock = source.GetLoadCount();
    const std::int64_t inHands = CountLoadsInHands();
    const std::int64_t delivered = sink.GetDeliveredCount();
    if (stock < 0 || stock + inHands + delivered != initialStock) {
        std::ostringstream text;
        text << "loads are not conserved: stock " << stock << " + in hands " << inHands
             << " + delivered " << delivered << " != " << initialStock;
        return text.str();
    }

    const auto& index = chain.GetPositionIndex();
    if (index.size() != static_cast<std::size_t>(chain.GetHandlerCount()))
        return "the position index holds " + std::to_string(index.size()) + " entries for "
            + std::to_string(chain.GetHandlerCount()) + " handlers";
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i) {
        const TLoadHandler* h = chain.GetHandler(i);
        state.Read(*h);
        const double position = state.position;
        if (!std::isfinite(position))
            return Describe(state) + ": position is not finite";
        int filed = 0;
        const auto [first, last] = index.equal_range(position);
        for (auto it = first; it != last; ++it)
            filed += it->second == h ? 1 : 0;
        if (filed != 1)
            return Describe(state) + ": filed " + std::to_string(filed) + " times under its position";
        if (state.IsPerson())
            if (std::string fault = CheckPerson(state); !fault.empty())
                return fault;
    }
    return {};
}
