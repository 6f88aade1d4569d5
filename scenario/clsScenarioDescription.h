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

// A change to the persons of a move under way: a group joins, or the person
// of a name leaves. It takes effect after the chain's step `step` (before the
// first step for 0).
struct TScheduleEntry
{
    enum class TKind { Join, Leave };

    std::int64_t step = 0;
    // Written back as a simulated time h:mm:ss rather than a step number;
    // read as it was given.
    bool atAsTime = false;
    TKind kind = TKind::Join;
    TPersonGroup join;
    std::string leave;

    bool operator==(const TScheduleEntry&) const = default;
};

// Names persons in the order a scenario makes them: a group's own names
// first, then the person-name table, which goes on across the groups and the
// schedule's joins.
class TPersonNames
{
public:
    std::string Next(const TPersonGroup& group, std::int32_t i);

private:
    std::int64_t tableNames = 0;
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
    // In the order written; ScheduleOrder gives the order of effect.
    std::vector<TScheduleEntry> schedule;
    // For planners: what a unit of the trail's length is in metres, and the
    // clock time in seconds after midnight at which the move starts (none
    // below 0). They change no step of the move.
    static constexpr double DefaultMetresPerUnit = 25.0;
    double metresPerUnit = DefaultMetresPerUnit;
    std::int32_t startSecond = -1;

    double GetTrailLength() const;
    std::int64_t GetPersonCount() const;
    // The indexes of the schedule's entries by step, entries at the same
    // step in the order written.
    std::vector<std::size_t> ScheduleOrder() const;

    // Field for field: a scenario written to a file and read back is equal.
    bool operator==(const TScenarioDescription&) const = default;
};

// The built-in move: a plain run-up and five flights of steps, 666 loads and
// eleven home-area persons at the source. More persons than eleven lengthen
// the trail by one copy of its twelve sections and the stock by 666 loads per
// eleven persons; a stock above 0 replaces the scaled one.
TScenarioDescription BuiltInMove(std::int32_t persons = 11, std::int32_t stock = 0);
