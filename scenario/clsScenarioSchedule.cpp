#include "scenario/clsScenarioSchedule.h"

#include "model/clsBucketChain.h"
#include "model/clsPerson.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

TScenarioSchedule::TScenarioSchedule(TBucketChain& theChain, std::vector<TPerson*> thePersons,
                                     std::vector<TChange> theChanges)
    : chain(theChain)
    , persons(std::move(thePersons))
    , changes(std::move(theChanges))
{
}

void TScenarioSchedule::AfterStep(std::int64_t step)
{
    for (; next < changes.size() && changes[next].step <= step; ++next) {
        if (changes[next].leaving.empty())
            Join(changes[next]);
        else
            Leave(changes[next].leaving);
    }
    if (!leavers.empty())
        LeaveWhenReady();
}

void TScenarioSchedule::Join(const TChange& change)
{
    // Rested and empty-handed, as at the start: a jump back may have left a
    // newcomer as it was when the move went past its joining before.
    const TChainRecord none;
    for (TPerson* person : change.joining) {
        THandlerRecord fresh;
        fresh.position = change.position;
        fresh.fitness = 1.0;
        fresh.state = static_cast<std::uint8_t>(TPersonState::Walking);
        person->RestoreState(fresh, none);
        chain.InsertHandler(person, chain.GetHandlerCount() - 1);
    }
}

void TScenarioSchedule::Leave(const std::string& name)
{
    const auto found = std::find_if(persons.begin(), persons.end(), [&](const TPerson* person) {
        return person->GetName() == name && OnTrail(person) && !person->IsLeaving();
    });
    if (found == persons.end())
        return;
    (*found)->StartLeaving();
    const auto index = static_cast<std::size_t>(found - persons.begin());
    leavers.insert(std::upper_bound(leavers.begin(), leavers.end(), index), index);
}

void TScenarioSchedule::LeaveWhenReady()
{
    std::erase_if(leavers, [this](std::size_t index) {
        TPerson* const person = persons[index];
        if (!person->IsReadyToLeave())
            return false;
        person->LeaveTrail();
        return true;
    });
}

bool TScenarioSchedule::OnTrail(const TPerson* person) const
{
    return person->GetChain() == &chain;
}

std::vector<std::int32_t> TScenarioSchedule::SaveMembers() const
{
    std::vector<std::int32_t> members;
    for (std::size_t i = 0; i < persons.size(); ++i)
        if (OnTrail(persons[i]))
            members.push_back(static_cast<std::int32_t>(i));
    return members;
}

void TScenarioSchedule::RestoreMembers(const std::vector<std::int32_t>& members)
{
    const auto isIndex = [this](std::int32_t member) {
        return member >= 0 && static_cast<std::size_t>(member) < persons.size();
    };
    if (!std::all_of(members.begin(), members.end(), isIndex) || !std::is_sorted(members.begin(), members.end())
        || std::adjacent_find(members.begin(), members.end()) != members.end())
        throw std::invalid_argument("the recorded persons are not this move's");
    // Everyone between the source and the sink steps off, and the recorded
    // persons step on in their order.
    while (chain.GetHandlerCount() > 2)
        chain.RemoveHandler(chain.GetHandler(chain.GetHandlerCount() - 2));
    for (const std::int32_t member : members)
        chain.InsertHandler(persons[static_cast<std::size_t>(member)], chain.GetHandlerCount() - 1);
}

void TScenarioSchedule::ResumeAt(std::int64_t step)
{
    next = static_cast<std::size_t>(
        std::count_if(changes.begin(), changes.end(), [step](const TChange& change) { return change.step <= step; }));
    leavers.clear();
    for (std::size_t i = 0; i < persons.size(); ++i)
        if (OnTrail(persons[i]) && persons[i]->IsLeaving())
            leavers.push_back(i);
}
