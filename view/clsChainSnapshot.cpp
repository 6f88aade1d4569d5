#include "view/clsChainSnapshot.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"

#include <mutex>

namespace {

void CopyHandler(const TLoadHandler& handler, THandlerSnapshot& out)
{
    out.id = handler.GetId();
    out.position = handler.GetPosition();
    out.loadCount = handler.GetLoadCount();

    const auto* person = dynamic_cast<const TPerson*>(&handler);
    out.isPerson = person != nullptr;
    out.fitness = person ? person->GetFitness() : 1.0;
    out.onBreak = person && person->IsOnBreak();
    if (person)
        out.name.assign(person->GetName());
    else
        out.name.clear();

    const auto* homeArea = dynamic_cast<const THomeareaPerson*>(&handler);
    out.inHomeArea = homeArea && homeArea->IsInHomeArea();
    out.homeStart = homeArea ? homeArea->GetHomeStart() : 0.0;
    out.homeEnd = homeArea ? homeArea->GetHomeEnd() : 0.0;
}

} // namespace

void TChainSnapshot::Capture(const TBucketChain& chain)
{
    const std::lock_guard guard(chain.GetStepGuard());
    stepsPerSecond = chain.GetStepsPerSecond();
    overrun = chain.overrun.load();

    const std::int32_t count = chain.GetHandlerCount();
    handlers.resize(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i)
        CopyHandler(*chain.GetHandler(i), handlers[static_cast<std::size_t>(i)]);
}

void TChainSnapshot::Clear()
{
    stepsPerSecond = 0;
    overrun = false;
    handlers.clear();
}
