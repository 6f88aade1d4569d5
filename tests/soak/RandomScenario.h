#pragma once

#include "scenario/clsScenarioDescription.h"

#include <cstdint>
#include <random>

// A scenario drawn from a seed: 1 to 60 persons (plain and home-area) at
// random places and speeds, on 1 to 40 plain and steps sections of random
// lengths, with a random stock. The same seed always draws the same scenario.
inline TScenarioDescription RandomScenario(std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

    TScenarioDescription d;
    d.seed = static_cast<std::uint32_t>(seed);
    for (int i = between(1, 40); i > 0; --i)
        d.trail.push_back({between(0, 1) == 0 ? TSectionDescription::TKind::Plain : TSectionDescription::TKind::Steps,
                           uniform(0.01, 0.5)});
    d.stock = between(0, 2000);
    for (int i = between(1, 60); i > 0; --i) {
        TPersonGroup person;
        person.kind = between(0, 3) == 0 ? TPersonGroup::TKind::Plain : TPersonGroup::TKind::HomeArea;
        person.position = between(0, 2) == 0 ? 0.0 : uniform(0.0, d.GetTrailLength());
        person.speed = uniform(0.0005, 0.02);
        d.persons.push_back(person);
    }
    return d;
}
