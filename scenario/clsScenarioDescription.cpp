#include "scenario/clsScenarioDescription.h"

#include "model/clsPerson.h"

#include <algorithm>
#include <numeric>
#include <string>

std::string TPersonNames::Next(const TPersonGroup& group, std::int32_t i)
{
    if (i >= 0 && static_cast<std::size_t>(i) < group.names.size())
        return group.names[static_cast<std::size_t>(i)];
    return TPerson::TableName(tableNames++);
}

double TScenarioDescription::GetTrailLength() const
{
    // Summed in the trail's own order, so the sink stands where the trail ends.
    double length = 0.0;
    for (const TSectionDescription& section : trail)
        length = length + section.length;
    return length;
}

std::int64_t TScenarioDescription::GetPersonCount() const
{
    std::int64_t count = 0;
    for (const TPersonGroup& group : persons)
        count += group.count;
    return count;
}

std::vector<std::size_t> TScenarioDescription::ScheduleOrder() const
{
    std::vector<std::size_t> order(schedule.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return schedule[a].step < schedule[b].step; });
    return order;
}

namespace {

constexpr std::int32_t PersonsPerTrailCopy = 11;
constexpr double BuiltInSpeed = 0.002;
constexpr double BuiltInSpeedIncrement = 0.0003;
constexpr int FlightsPerTrailCopy = 5;

// One copy of the trail: a plain run-up, five flights of steps each followed by
// a landing, and a plain stretch to the end.
void AddTrailCopy(std::vector<TSectionDescription>& trail)
{
    using TKind = TSectionDescription::TKind;
    trail.push_back({TKind::Plain, 0.3});
    for (int flight = 0; flight < FlightsPerTrailCopy; ++flight) {
        trail.push_back({TKind::Steps, 0.2});
        trail.push_back({TKind::Plain, 0.05});
    }
    trail.push_back({TKind::Plain, 0.2});
}

} // namespace

TScenarioDescription BuiltInMove(std::int32_t persons, std::int32_t stock)
{
    if (persons <= 0)
        persons = PersonsPerTrailCopy;
    const std::int32_t trailCopies = (persons + PersonsPerTrailCopy - 1) / PersonsPerTrailCopy;

    TScenarioDescription move;
    move.stock = stock > 0 ? stock : TScenarioDescription::DefaultStock * trailCopies;
    move.description = persons == PersonsPerTrailCopy && move.stock == TScenarioDescription::DefaultStock
        ? "The built-in move: eleven helpers, 666 loads, five flights of steps"
        : "The built-in move scaled: " + std::to_string(persons) + " helpers, " + std::to_string(move.stock)
            + " loads, " + std::to_string(FlightsPerTrailCopy * trailCopies) + " flights of steps";
    // Groups of eleven, each speeding up from the slowest, as the persons were
    // always numbered: the i-th walks at (i % 11) * 0.0003 + 0.002.
    for (std::int32_t made = 0; made < persons; made += PersonsPerTrailCopy) {
        TPersonGroup group;
        group.count = std::min(PersonsPerTrailCopy, persons - made);
        group.speed = BuiltInSpeed;
        group.speedIncrement = BuiltInSpeedIncrement;
        move.persons.push_back(group);
    }
    for (std::int32_t copy = 0; copy < trailCopies; ++copy)
        AddTrailCopy(move.trail);
    return move;
}
