#include "analysis/MoveRecorder.h"

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"

namespace {

std::vector<const TPerson*> PersonsOf(const TBucketChain& chain)
{
    std::vector<const TPerson*> persons;
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i)
        if (const auto* p = dynamic_cast<const TPerson*>(chain.GetHandler(i)))
            persons.push_back(p);
    return persons;
}

TMoveLayout LayoutOfPersons(const std::vector<const TPerson*>& persons, const TTrail& trail, std::int32_t stock)
{
    TMoveLayout layout;
    layout.trailLength = trail.GetLength();
    layout.stock = stock;
    for (int s = 0; s < trail.GetSectionCount(); ++s) {
        const TTrailSection* section = trail.GetSection(s);
        layout.stretches.push_back({.start = trail.GetSectionStart(section),
                                    .length = section->GetLength(),
                                    .steps = section->GetHeight() > 0.0,
                                    .carryingFactor = section->GetSpeedFactor(false)});
    }
    for (const TPerson* p : persons)
        layout.persons.push_back({.id = p->GetId(), .name = p->GetName(), .speed = p->GetSpeed()});
    return layout;
}

TPersonObservation ObservePerson(const TPerson& p)
{
    TPersonObservation seen;
    seen.position = p.GetPosition();
    seen.carriesLoad = p.GetLoadCount() > 0;
    if (p.IsOnBreak())
        seen.activity = TActivity::OnBreak;
    else if (p.GetState() == TPerson::StateGiving)
        seen.activity = TActivity::Giving;
    else if (p.GetState() == TPerson::StateReceiving)
        seen.activity = TActivity::Receiving;
    else
        seen.activity = seen.carriesLoad ? TActivity::Carrying : TActivity::WalkingEmpty;
    if (const auto* home = dynamic_cast<const THomeareaPerson*>(&p); home && home->IsInHomeArea()) {
        seen.inHomeArea = true;
        seen.homeStart = home->GetHomeStart();
        seen.homeEnd = home->GetHomeEnd();
    }
    return seen;
}

} // namespace

TMoveLayout MoveLayoutOf(const TBucketChain& chain, const TTrail& trail, std::int32_t stock)
{
    return LayoutOfPersons(PersonsOf(chain), trail, stock);
}

TMoveRecorder::TMoveRecorder(const TBucketChain& chain, const TTrail& trail, const TLoadSink& sink,
                             std::int32_t stock)
    : sink(sink)
    , persons(PersonsOf(chain))
    , seen(persons.size())
    , record(LayoutOfPersons(persons, trail, stock), ObservePersons())
{
}

const std::vector<TPersonObservation>& TMoveRecorder::ObservePersons()
{
    for (std::size_t i = 0; i < persons.size(); ++i)
        seen[i] = ObservePerson(*persons[i]);
    return seen;
}

void TMoveRecorder::Observe()
{
    record.Add(sink.GetDeliveredCount(), ObservePersons());
}
