#include "scenario/clsScenario.h"

#include "model/clsBucketChain.h"
#include "model/clsHomeareaPerson.h"
#include "model/clsLoadHandler.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <algorithm>
#include <cstddef>
#include <limits>
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

    TPersonNames names;
    const auto makeGroup = [&](const TPersonGroup& group) {
        std::vector<TPerson*> made;
        for (std::int32_t i = 0; i < group.count; ++i) {
            std::string name = names.Next(group, i);
            TPerson* person = nullptr;
            if (makePerson) {
                std::unique_ptr<TPerson> own = makePerson(ids, std::move(name));
                person = own.get();
                owned.push_back(std::move(own));
            } else if (group.kind == TPersonGroup::TKind::HomeArea) {
                person = Make<THomeareaPerson>(ids, std::move(name));
            } else {
                person = Make<TPerson>(ids, std::move(name));
            }
            person->SetTrail(trail);
            person->SetPosition(group.position);
            person->SetSpeed(group.SpeedOf(i));
            made.push_back(person);
            persons.push_back(person);
        }
        return made;
    };
    for (const TPersonGroup& group : description.persons)
        for (TPerson* person : makeGroup(group))
            chain->AddHandler(person);

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
    if (description.schedule.empty()) {
        loop = std::make_unique<TMoveLoop>(*chain, *sink, initialStock, TMoveLoop::StallSteps(*chain, *trail));
        return;
    }

    // Those who join are made after everything else, in the order they
    // join, and wait off the trail until they do.
    std::vector<TScenarioSchedule::TChange> changes;
    for (const std::size_t i : description.ScheduleOrder()) {
        const TScheduleEntry& entry = description.schedule[i];
        if (entry.kind == TScheduleEntry::TKind::Join) {
            changes.push_back({entry.step, makeGroup(entry.join), entry.join.position, {}});
            for (const TPerson* person : changes.back().joining)
                arrivals.push_back({person->GetId(), entry.step});
        } else
            changes.push_back({entry.step, {}, 0.0, entry.leave});
    }
    double slowest = std::numeric_limits<double>::infinity();
    for (const TPerson* person : persons)
        slowest = std::min(slowest, person->GetSpeed());
    schedule = std::make_unique<TScenarioSchedule>(*chain, persons, std::move(changes));
    schedule->AfterStep(0);
    loop = std::make_unique<TMoveLoop>(*chain, *sink, initialStock, TMoveLoop::StallSteps(slowest, *trail));
    loop->SetChanges(schedule.get());
}

TScenarioSnapshot TScenario::TakeSnapshot() const
{
    return {ids, chain->SaveState(), loop->SaveState(), schedule ? schedule->SaveMembers() : std::vector<std::int32_t>{}};
}

void TScenario::Restore(const TScenarioSnapshot& snapshot, const std::vector<TDeliveryPoint>& curve)
{
    if (snapshot.loop.deliveryCount > curve.size())
        throw std::invalid_argument("the delivery curve is shorter than the snapshot's");
    if (schedule) {
        if (snapshot.chain.handlers.size() != snapshot.members.size() + 2)
            throw std::invalid_argument("the snapshot's persons are not this scenario's");
        schedule->RestoreMembers(snapshot.members);
    }
    chain->RestoreState(snapshot.chain);
    loop->RestoreState(snapshot.loop, curve);
    if (schedule)
        schedule->ResumeAt(snapshot.GetStep());
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
    schedule.reset();
    persons.clear();
    arrivals.clear();
    while (!owned.empty())
        owned.pop_back();
}
