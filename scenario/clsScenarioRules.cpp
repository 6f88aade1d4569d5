#include "scenario/clsScenarioRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

using TKind = TScenarioFaultKind;

class TRules
{
public:
    std::vector<TScenarioFault> faults;

    void Add(TKind kind, const std::string& path, std::vector<std::string> values, std::string what)
    {
        faults.push_back({kind, path, 0, 0, std::move(values), std::move(what)});
    }

    void OneLine(const std::string& text, const std::string& path)
    {
        if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
            Add(TKind::NotOneLine, path, {}, "must be one line without control characters");
    }

    void Positive(double number, const std::string& path)
    {
        if (!(number > 0.0))
            Add(TKind::NotPositive, path, {ScenarioNumberText(number)}, ScenarioNumberText(number) + " must be above 0");
    }

    void Count(std::int64_t count, const std::string& path)
    {
        if (count < 1 || count > MaxScenarioCount)
            faults.push_back(WholeNumberFault(path, std::to_string(count), 1, MaxScenarioCount));
    }

    void Trail(const std::vector<TSectionDescription>& trail, double length)
    {
        for (std::size_t i = 0; i < trail.size(); ++i)
            Positive(trail[i].length, "/trail/" + std::to_string(i) + "/length");
        if (trail.empty())
            Add(TKind::NoSection, "/trail", {}, "no trail section; the trail needs at least one");
        else if (!std::isfinite(length))
            Add(TKind::TrailTooLong, "/trail", {ScenarioNumberText(length)},
                "the sections add up to " + ScenarioNumberText(length) + ", beyond any length a move can run on");
    }

    void Source(const TScenarioDescription& scenario)
    {
        Count(scenario.stock, "/source/stock");
        const std::string weight = ScenarioNumberText(scenario.loadWeight);
        Positive(scenario.loadWeight, "/source/load_weight");
        if (scenario.loadWeight > PersonCapacity)
            Add(TKind::TooHeavy, "/source/load_weight", {weight, ScenarioNumberText(PersonCapacity)},
                weight + " is more than a person can carry (" + ScenarioNumberText(PersonCapacity) + ")");
    }

    void Group(const TPersonGroup& group, const std::string& at, double trailLength)
    {
        Count(group.count, at + "/count");
        if (!(group.position >= 0.0 && group.position <= trailLength)) {
            const std::string position = ScenarioNumberText(group.position);
            const std::string length = ScenarioNumberText(trailLength);
            Add(TKind::OffTrail, at + "/position", {position, length},
                position + " is off the trail, which runs from 0 to " + length);
        }
        Positive(group.speed, at + "/speed");
        if (!(group.speedIncrement >= 0.0))
            Add(TKind::Negative, at + "/speed_increment", {ScenarioNumberText(group.speedIncrement)},
                ScenarioNumberText(group.speedIncrement) + " must be 0 or more");
        // A person who crosses the whole trail in one step never stands between
        // the source and the sink: no hand-over could ever be timed.
        const double fastest = group.SpeedOf(std::max(group.count, 1) - 1);
        const bool beyondTrail = std::isfinite(trailLength) && trailLength > 0.0 && fastest >= trailLength;
        if (group.speed > 0.0 && group.speedIncrement >= 0.0 && (!std::isfinite(fastest) || beyondTrail))
            Add(TKind::TooFast, at + (group.count > 1 && group.speedIncrement > 0.0 ? "/speed_increment" : "/speed"),
                {ScenarioNumberText(fastest), ScenarioNumberText(trailLength)},
                "the group's last person would walk at " + ScenarioNumberText(fastest)
                    + " a step, as far as the whole trail (" + ScenarioNumberText(trailLength) + ") or farther");
        for (std::size_t i = 0; i < group.names.size(); ++i) {
            const std::string path = at + "/names/" + std::to_string(i);
            OneLine(group.names[i], path);
            if (group.names[i].empty())
                Add(TKind::EmptyName, path, {}, "a name cannot be empty");
        }
        if (group.names.size() > static_cast<std::size_t>(std::max(group.count, 0)))
            Add(TKind::TooManyNames, at + "/names", {std::to_string(group.names.size()), std::to_string(group.count)},
                std::to_string(group.names.size()) + " names for " + std::to_string(group.count) + " persons");
    }

    void Persons(const std::vector<TPersonGroup>& persons, double trailLength)
    {
        for (std::size_t i = 0; i < persons.size(); ++i) {
            const std::string at = "/persons/" + std::to_string(i);
            Group(persons[i], at, trailLength);
            CountPersons(persons[i], at);
        }
        if (persons.empty())
            Add(TKind::NoPerson, "/persons", {}, "no person; the move needs at least one");
    }

    void Schedule(const TScenarioDescription& scenario, double trailLength)
    {
        for (std::size_t i = 0; i < scenario.schedule.size(); ++i) {
            const TScheduleEntry& entry = scenario.schedule[i];
            const std::string at = "/schedule/" + std::to_string(i);
            if (entry.step < 0 || entry.step > MaxScheduleStep)
                faults.push_back(WholeNumberFault(at + "/at", std::to_string(entry.step), 0, MaxScheduleStep));
            if (entry.kind == TScheduleEntry::TKind::Join) {
                Group(entry.join, at + "/join", trailLength);
                CountPersons(entry.join, at + "/join");
            }
        }
        if (faults.empty())
            Leaves(scenario);
    }

private:
    std::int64_t total = 0;

    // Said once, at the group that passes the bound.
    void CountPersons(const TPersonGroup& group, const std::string& at)
    {
        total += std::max(group.count, 0);
        if (total > MaxScenarioCount && total - group.count <= MaxScenarioCount)
            Add(TKind::TooManyPersons, at + "/count", {std::to_string(total), std::to_string(MaxScenarioCount)},
                std::to_string(total) + " persons in all, more than " + std::to_string(MaxScenarioCount));
    }

    // Walks the schedule in the order of effect with the names of those on
    // the trail, as the move will: a leave must name one of them, and must
    // not leave the trail without anybody to carry what the source still holds.
    void Leaves(const TScenarioDescription& scenario)
    {
        const auto leaves = [](const TScheduleEntry& e) { return e.kind == TScheduleEntry::TKind::Leave; };
        if (std::none_of(scenario.schedule.begin(), scenario.schedule.end(), leaves))
            return;
        TPersonNames names;
        std::vector<std::string> onTrail;
        const auto join = [&](const TPersonGroup& group) {
            for (std::int32_t i = 0; i < group.count; ++i)
                onTrail.push_back(names.Next(group, i));
        };
        for (const TPersonGroup& group : scenario.persons)
            join(group);
        for (const std::size_t i : scenario.ScheduleOrder()) {
            const TScheduleEntry& entry = scenario.schedule[i];
            if (!leaves(entry)) {
                join(entry.join);
                continue;
            }
            const std::string at = "/schedule/" + std::to_string(i) + "/leave/name";
            const auto found = std::find(onTrail.begin(), onTrail.end(), entry.leave);
            if (found == onTrail.end())
                return Add(TKind::NobodyOfName, at, {}, "nobody of that name is on the trail at that time");
            onTrail.erase(found);
            if (onTrail.empty())
                return Add(TKind::LastCannotLeave, at, {},
                           "the last person on the trail cannot leave: the loads left at the source would never move");
        }
    }
};

} // namespace

TScenarioFault WholeNumberFault(const std::string& path, const std::string& number, std::int64_t low, std::int64_t high)
{
    return {TKind::NotWholeInRange, path, 0, 0, {number, std::to_string(low), std::to_string(high)},
            number + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high)};
}

std::vector<TScenarioFault> CheckScenario(const TScenarioDescription& scenario)
{
    TRules rules;
    rules.OneLine(scenario.description, "/description");
    const double length = scenario.GetTrailLength();
    rules.Trail(scenario.trail, length);
    rules.Source(scenario);
    rules.Persons(scenario.persons, length);
    rules.Schedule(scenario, length);
    rules.Positive(scenario.metresPerUnit, "/metres_per_unit");
    return std::move(rules.faults);
}
