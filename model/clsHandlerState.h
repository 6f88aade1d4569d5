#pragma once

#include "model/clsPerson.h"

#include <cstdint>
#include <string>

class TLoadHandler;

// What can be seen of a load handler at one moment, read in one go. Every
// observer reads handlers this way: the picture, the persons list, the trace,
// the record of a run and the checker. Plain values, so a copy can cross
// threads.
struct THandlerState
{
    enum class TKind : std::uint8_t { Other, Source, Sink, Person, HomeareaPerson };

    TKind kind = TKind::Other;
    std::int32_t id = 0;
    double position = 0.0;
    // For the source, the loads still in stock; the sink holds none.
    std::int32_t loadCount = 0;
    // The sink's loads accepted so far.
    std::int32_t delivered = 0;

    // Persons only.
    std::string name;
    double speed = 0.0;
    double stepLength = 0.0;
    double fitness = 1.0;
    bool onBreak = false;
    TPersonState state = TPersonState::Walking;
    std::int32_t stepCounter = 0;
    double loadWeight = 0.0;
    double freeCapacity = 0.0;

    // Home-area persons only.
    bool inHomeArea = false;
    double homeStart = 0.0;
    double homeEnd = 0.0;
    double minimumHomeLength = 0.0;
    std::int32_t homeSteps = 0;
    std::int32_t homeCorrections = 0;
    std::int32_t satisfaction = 0;

    bool IsPerson() const { return kind == TKind::Person || kind == TKind::HomeareaPerson; }

    // Reads every field anew; keeps the name's storage, so a steady reader allocates nothing.
    void Read(const TLoadHandler& handler);
};
