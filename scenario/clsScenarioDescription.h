#pragma once

#include "model/clsBucketChain.h"

#include <cstdint>
#include <string>
#include <vector>

// What a scenario is made of, before any object exists: the trail's sections,
// the source's stock, the groups of persons and the seed of the overtaking
// draws. A scenario file reads into one and writes out from one; the built-in
// move is one too.
struct TSectionDescription
{
    enum class TKind { Plain, Steps };

    TKind kind = TKind::Plain;
    double length = 0.0;

    bool operator==(const TSectionDescription&) const = default;
};

struct TPersonGroup
{
    enum class TKind { HomeArea, Plain };

    std::int32_t count = 1;
    TKind kind = TKind::HomeArea;
    double position = 0.0;
    double speed = 0.0;
    double speedIncrement = 0.0;
    // Overrides the person-name table for the group's first persons, in order,
    // at most count names; empty for the table's names.
    std::vector<std::string> names;

    // The speed of the group's i-th person, i from 0.
    double SpeedOf(std::int32_t i) const { return i * speedIncrement + speed; }

    bool operator==(const TPersonGroup&) const = default;
};

struct TScenarioDescription
{
    static constexpr std::uint32_t DefaultSeed = 5489;
    static constexpr std::int32_t DefaultStock = 666;

    // One line for people choosing a file; empty for none.
    std::string description;
    std::uint32_t seed = DefaultSeed;
    std::vector<TSectionDescription> trail;
    std::int32_t stock = DefaultStock;
    double loadWeight = 1.0;
    std::vector<TPersonGroup> persons;
    THandoverRule handover = THandoverRule::Restart;

    double GetTrailLength() const;
    std::int64_t GetPersonCount() const;

    // Field for field: a scenario written to a file and read back is equal.
    bool operator==(const TScenarioDescription&) const = default;
};

// The built-in move: a plain run-up and five flights of steps, 666 loads and
// eleven home-area persons at the source. More persons than eleven lengthen
// the trail by one copy of its twelve sections and the stock by 666 loads per
// eleven persons; a stock above 0 replaces the scaled one.
TScenarioDescription BuiltInMove(std::int32_t persons = 11, std::int32_t stock = 0);
