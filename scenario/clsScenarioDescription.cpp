#include "scenario/clsScenarioDescription.h"

#include <algorithm>

double TScenarioDescription::GetTrailLength() const
{
    // Summed in the trail's own order, so that the sink stands where the trail ends.
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

TScenarioDescription BuiltInMove(std::int32_t persons, std::int32_t stock)
{
    constexpr std::int32_t PersonsPerCopy = 11;
    persons = std::max(persons, 1);
    const std::int32_t trailCopies = (persons + PersonsPerCopy - 1) / PersonsPerCopy;

    TScenarioDescription move;
    move.description = persons == PersonsPerCopy
                           ? "The built-in move: eleven helpers carry 666 loads up five flights of steps"
                           : "The built-in move, scaled";
    move.stock = stock > 0 ? stock : TScenarioDescription::DefaultStock * trailCopies;
    using TKind = TSectionDescription::TKind;
    for (std::int32_t copy = 0; copy < trailCopies; ++copy) {
        move.trail.push_back({TKind::Plain, 0.3});
        for (int flight = 0; flight < 5; ++flight) {
            move.trail.push_back({TKind::Steps, 0.2});
            move.trail.push_back({TKind::Plain, 0.05});
        }
        move.trail.push_back({TKind::Plain, 0.2});
    }
    // Groups of eleven, so that the i-th person of a group walks at i * 0.0003 + 0.002.
    for (std::int32_t made = 0; made < persons; made += PersonsPerCopy)
        move.persons.push_back({.count = std::min(PersonsPerCopy, persons - made),
                                .speed = 0.002,
                                .speedIncrement = 0.0003});
    return move;
}
