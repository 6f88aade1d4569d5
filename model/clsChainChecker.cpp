#include "model/clsChainChecker.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"

#include <cmath>
#include <sstream>

namespace {

std::string Describe(const TLoadHandler* h)
{
    std::ostringstream text;
    text << "handler " << h->GetId();
    if (const auto* p = dynamic_cast<const TPerson*>(h))
        text << " (" << p->GetName() << ")";
    return text.str();
}

std::string CheckPerson(const TPerson& p)
{
    const std::string who = Describe(&p);
    if (!std::isfinite(p.GetFitness()) || p.GetFitness() <= 0.0 || p.GetFitness() > 1.0)
        return who + ": fitness " + std::to_string(p.GetFitness()) + " is outside (0, 1]";
    const std::uint8_t state = p.GetState();
    if (state != TPerson::StateWalking && state != TPerson::StateGiving && state != TPerson::StateReceiving)
        return who + ": state " + std::to_string(state) + " is none of 1, 3, 4";
    // A person accepts a load only up to a free capacity of 1.0 with empty hands.
    if (p.GetLoadWeight() > 1.0)
        return who + ": holds " + std::to_string(p.GetLoadWeight()) + " in weight, more than 1.0";
    if (const auto* h = dynamic_cast<const THomeareaPerson*>(&p); h && h->IsInHomeArea()) {
        if (!std::isfinite(h->GetHomeStart()) || !std::isfinite(h->GetHomeEnd()))
            return who + ": home area borders are not finite";
        if (h->GetHomeEnd() - h->GetHomeStart() < h->GetMinimumHomeLength())
            return who + ": home area is shorter than the minimum length";
    }
    return {};
}

} // namespace

TChainChecker::TChainChecker(const TBucketChain& chain, const TLoadSource& source, const TLoadSink& sink,
                             std::int32_t initialStock)
    : chain(chain)
    , source(source)
    , sink(sink)
    , initialStock(initialStock)
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
        const double position = h->GetPosition();
        if (!std::isfinite(position))
            return Describe(h) + ": position is not finite";
        int filed = 0;
        const auto [first, last] = index.equal_range(position);
        for (auto it = first; it != last; ++it)
            filed += it->second == h ? 1 : 0;
        if (filed != 1)
            return Describe(h) + ": filed " + std::to_string(filed) + " times under its position";
        if (const auto* p = dynamic_cast<const TPerson*>(h))
            if (std::string fault = CheckPerson(*p); !fault.empty())
                return fault;
    }
    return {};
}
