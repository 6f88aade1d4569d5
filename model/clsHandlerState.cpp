#include "model/clsHandlerState.h"

#include "model/clsHomeareaPerson.h"
#include "model/clsLoadHandler.h"

#include <utility>

namespace {

THandlerState::TKind KindOf(const TLoadHandler& handler)
{
    using TKind = THandlerState::TKind;
    if (dynamic_cast<const THomeareaPerson*>(&handler))
        return TKind::HomeareaPerson;
    if (dynamic_cast<const TPerson*>(&handler))
        return TKind::Person;
    if (dynamic_cast<const TLoadSink*>(&handler))
        return TKind::Sink;
    if (dynamic_cast<const TLoadSource*>(&handler))
        return TKind::Source;
    return TKind::Other;
}

} // namespace

void THandlerState::Read(const TLoadHandler& handler)
{
    std::string nameStorage = std::move(name);
    *this = THandlerState{};
    kind = KindOf(handler);
    id = handler.GetId();
    position = handler.GetPosition();
    loadCount = handler.GetLoadCount();
    if (kind == TKind::Sink)
        delivered = static_cast<const TLoadSink&>(handler).GetDeliveredCount();
    if (!IsPerson())
        return;

    const auto& person = static_cast<const TPerson&>(handler);
    nameStorage.assign(person.GetName());
    name = std::move(nameStorage);
    speed = person.GetSpeed();
    stepLength = person.GetStepLength();
    fitness = person.GetFitness();
    onBreak = person.IsOnBreak();
    state = person.GetState();
    stepCounter = person.GetStepCounter();
    loadWeight = person.GetLoadWeight();
    freeCapacity = person.GetFreeCapacity();
    if (kind != TKind::HomeareaPerson)
        return;

    const auto& home = static_cast<const THomeareaPerson&>(handler);
    inHomeArea = home.IsInHomeArea();
    homeStart = home.GetHomeStart();
    homeEnd = home.GetHomeEnd();
    minimumHomeLength = home.GetMinimumHomeLength();
    homeSteps = home.GetHomeSteps();
    homeCorrections = home.GetHomeCorrections();
    satisfaction = home.GetSatisfaction();
}
