#include "scenario/clsScenario.h"

#include "model/clsBucketChain.h"
#include "model/clsHomeareaPerson.h"
#include "model/clsLoadHandler.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <cstddef>
#include <stdexcept>

template <typename T, typename... Args>
T* TScenario::Make(Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = object.get();
    owned.push_back(std::move(object));
    return raw;
}

TScenario::TScenario(TZOManager& theObjects)
    : TScenario(theObjects, BuiltInMove())
{
}

TScenario::TScenario(TZOManager& theObjects, const TScenarioDescription& description, const TPersonFactory& makePerson)
    : objects(theObjects)
{
    try {
        Build(description, makePerson);
        Register();
    } catch (...) {
        Unregister();
        Free();
        throw;
    }
}

TScenario::~TScenario()
{
    Unregister();
    Free();
}

void TScenario::Build(const TScenarioDescription& description, const TPersonFactory& makePerson)
{
    initialStock = description.stock;
    chain = Make<TBucketChain>(ids);
    chain->SeedDraws(description.seed);
    chain->SetHandoverRule(description.handover);
    trail = Make<TTrail>(ids);
    source = Make<TLoadSource>(ids, description.loadWeight, initialStock);
    chain->AddHandler(source);

    std::int64_t tableNames = 0;
    for (const TPersonGroup& group : description.persons) {
        for (std::int32_t i = 0; i < group.count; ++i) {
            std::string name = static_cast<std::size_t>(i) < group.names.size()
                                   ? group.names[static_cast<std::size_t>(i)]
                                   : TPerson::TableName(tableNames++);
            TPerson* person = nullptr;
            if (makePerson) {
                std::unique_ptr<TPerson> made = makePerson(ids, std::move(name));
                person = made.get();
                owned.push_back(std::move(made));
            } else if (group.kind == TPersonGroup::TKind::HomeArea) {
                person = Make<THomeareaPerson>(ids, std::move(name));
            } else {
                person = Make<TPerson>(ids, std::move(name));
            }
            person->SetTrail(trail);
            person->SetPosition(group.position);
            person->SetSpeed(group.SpeedOf(i));
            chain->AddHandler(person);
        }
    }

    std::vector<TTrailSection*> sections;
    for (const TSectionDescription& section : description.trail) {
        if (section.kind == TSectionDescription::TKind::Steps)
            sections.push_back(Make<TTrailSectionSteps>(ids, section.length));
        else
            sections.push_back(Make<TTrailSection>(ids, section.length));
    }
    for (TTrailSection* section : sections)
        trail->AddSection(section);

    sink = Make<TLoadSink>(ids, trail->GetLength());
    chain->AddHandler(sink);
    loop = std::make_unique<TMoveLoop>(*chain, *sink, initialStock, TMoveLoop::StallSteps(*chain, *trail));
}

TScenarioSnapshot TScenario::TakeSnapshot() const
{
    return {ids, chain->SaveState(), loop->SaveState()};
}

void TScenario::Restore(const TScenarioSnapshot& snapshot, const std::vector<TDeliveryPoint>& curve)
{
    if (snapshot.loop.deliveryCount > curve.size())
        throw std::invalid_argument("the delivery curve is shorter than the snapshot's");
    chain->RestoreState(snapshot.chain);
    loop->RestoreState(snapshot.loop, curve);
    ids = snapshot.ids;
}

void TScenario::Register()
{
    for (; registered < owned.size(); ++registered)
        objects.Add(owned[registered].get());
}

void TScenario::Unregister()
{
    // In reverse, as they were filed: the registry takes the last out at its end.
    for (; registered > 0; --registered)
        objects.Remove(owned[registered - 1].get());
}

void TScenario::Free()
{
    loop.reset();
    while (!owned.empty())
        owned.pop_back();
}
