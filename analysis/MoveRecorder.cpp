#include "analysis/MoveRecorder.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"
#include "scenario/clsScenario.h"

#include <algorithm>
#include <string>

namespace {

std::vector<const TLoadHandler*> PersonsOf(const TBucketChain& chain)
{
    std::vector<const TLoadHandler*> persons;
    THandlerState state;
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i) {
        state.Read(*chain.GetHandler(i));
        if (state.IsPerson())
            persons.push_back(chain.GetHandler(i));
    }
    return persons;
}

TMoveLayout LayoutOfPersons(const std::vector<const TLoadHandler*>& persons, const TTrail& trail, std::int32_t stock,
                            std::int64_t firstStep = 0)
{
    TMoveLayout layout;
    layout.firstStep = firstStep;
    layout.trailLength = trail.GetLength();
    layout.stock = stock;
    for (int s = 0; s < trail.GetSectionCount(); ++s) {
        const TTrailSection* section = trail.GetSection(s);
        layout.stretches.push_back({.start = trail.GetSectionStart(section),
                                    .length = section->GetLength(),
                                    .steps = section->GetHeight() > 0.0,
                                    .carryingFactor = section->GetSpeedFactor(false)});
    }
    THandlerState state;
    for (const TLoadHandler* p : persons) {
        state.Read(*p);
        layout.persons.push_back(
            {.id = state.id, .name = state.name, .speed = state.speed, .atStart = p->GetChain() != nullptr});
    }
    return layout;
}

TPersonObservation ObservePerson(const THandlerState& p, bool onTrail)
{
    TPersonObservation seen;
    seen.onTrail = onTrail;
    seen.position = p.position;
    seen.carriesLoad = p.loadCount > 0;
    if (p.onBreak)
        seen.activity = TActivity::OnBreak;
    else if (p.state == TPersonState::Giving)
        seen.activity = TActivity::Giving;
    else if (p.state == TPersonState::Receiving)
        seen.activity = TActivity::Receiving;
    else
        seen.activity = seen.carriesLoad ? TActivity::Carrying : TActivity::WalkingEmpty;
    if (p.inHomeArea) {
        seen.inHomeArea = true;
        seen.homeStart = p.homeStart;
        seen.homeEnd = p.homeEnd;
    }
    return seen;
}

} // namespace

TMoveLayout MoveLayoutOf(const TBucketChain& chain, const TTrail& trail, std::int32_t stock)
{
    return LayoutOfPersons(PersonsOf(chain), trail, stock);
}

TMoveLayout MoveLayoutOf(const TScenarioDescription& description)
{
    TMoveLayout layout;
    layout.stock = description.stock;
    TObjectIds ids;
    const TTrailSection plain(ids, 1.0);
    const TTrailSectionSteps steps(ids, 1.0);
    for (const TSectionDescription& s : description.trail) {
        const TTrailSection& kind = s.kind == TSectionDescription::TKind::Steps ? steps : plain;
        layout.stretches.push_back({.start = layout.trailLength,
                                    .length = s.length,
                                    .steps = kind.GetHeight() > 0.0,
                                    .carryingFactor = kind.GetSpeedFactor(false)});
        layout.trailLength += s.length;
    }
    // The persons on the trail at the start, in chain order: the groups',
    // then those who join at step 0, less those who leave then (empty-handed
    // as everyone is then, they leave at once).
    TPersonNames names;
    std::vector<std::string> named;
    const auto add = [&](const TPersonGroup& group) {
        for (std::int32_t i = 0; i < group.count; ++i) {
            named.push_back(names.Next(group, i));
            layout.persons.push_back({.id = 0, .name = {}, .speed = group.SpeedOf(i)});
        }
    };
    for (const TPersonGroup& group : description.persons)
        add(group);
    for (const std::size_t i : description.ScheduleOrder()) {
        const TScheduleEntry& entry = description.schedule[i];
        if (entry.step > 0)
            break;
        if (entry.kind == TScheduleEntry::TKind::Join) {
            add(entry.join);
        } else if (const auto left = std::find(named.begin(), named.end(), entry.leave); left != named.end()) {
            layout.persons.erase(layout.persons.begin() + (left - named.begin()));
            named.erase(left);
        }
    }
    return layout;
}

TMoveRecorder::TMoveRecorder(const TBucketChain& chain, const TTrail& trail, const TLoadSink& theSink,
                             std::int32_t stock, std::int64_t firstStep)
    : sink(theSink)
    , persons(PersonsOf(chain))
    , seen(persons.size())
    , record(LayoutOfPersons(persons, trail, stock, firstStep), ObservePersons())
{
}

TMoveRecorder::TMoveRecorder(const TScenario& scenario, std::int64_t firstStep)
    : sink(*scenario.GetSink())
    , persons(scenario.GetPersons().begin(), scenario.GetPersons().end())
    , seen(persons.size())
    , record(LayoutOfPersons(persons, *scenario.GetTrail(), scenario.GetInitialStock(), firstStep), ObservePersons())
{
}

const std::vector<TPersonObservation>& TMoveRecorder::ObservePersons()
{
    for (std::size_t i = 0; i < persons.size(); ++i) {
        state.Read(*persons[i]);
        seen[i] = ObservePerson(state, persons[i]->GetChain() != nullptr);
    }
    return seen;
}

void TMoveRecorder::Observe()
{
    record.Add(sink.GetDeliveredCount(), ObservePersons());
}
