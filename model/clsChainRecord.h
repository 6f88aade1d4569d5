#pragma once

#include "model/clsPositionIndex.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

// A load in a person's hands, as it was made: a restored move makes it again
// with the same id, number and weight.
struct TLoadRecord
{
    std::int32_t id = 0;
    std::int32_t serialNumber = 0;
    double weight = 0.0;
};

// What steps change of one handler, whatever its kind; each kind writes and
// reads the fields it has. What a step never changes (name, speed, trail) is
// not kept: it comes with the scenario the record is restored into.
struct THandlerRecord
{
    double position = 0.0;
    double fitness = 0.0;
    double homeStart = 0.0;
    double homeEnd = 0.0;
    // The source's stock, the sink's deliveries, or the count of a person's
    // loads, which lie in the chain record's loads from firstLoad on.
    std::int32_t count = 0;
    std::int32_t firstLoad = 0;
    std::int32_t stepCounter = 0;
    std::int32_t homeSteps = 0;
    std::int32_t homeCorrections = 0;
    // The chain slot of a person's hand-over partner; -1 for none.
    std::int32_t partner = -1;
    std::uint8_t state = 0;
    bool onBreak = false;
    bool inHomeArea = false;
    // A person leaving the move, which takes no new load.
    bool leaving = false;
};

// An entry of the position index, in the index's order, with the filing
// behind it: its number, which orders equal positions in the partner
// indexes, and which partner index the handler stands in.
struct TFilingRecord
{
    double position = 0.0;
    std::uint64_t order = 0;
    std::int32_t slot = 0;
    TPartnerKind kind = TPartnerKind::None;
};

// An entry of the index of home areas, in that index's order.
struct TAreaRecord
{
    double start = 0.0;
    std::int32_t slot = 0;
};

// Everything of a chain between two steps that a later step reads: its
// handlers' records in chain order, the order of its indexes (equal positions
// among them), its counters and the generator of its overtaking draws.
// Restored into a chain of the same handlers, the chain steps on exactly as
// the recorded one did.
struct TChainRecord
{
    std::vector<THandlerRecord> handlers;
    std::vector<TLoadRecord> loads;
    std::vector<TFilingRecord> positionIndex;
    std::vector<TAreaRecord> homeAreas;
    double longestArea = 0.0;
    std::uint64_t filings = 0;
    std::int64_t stepCount = 0;
    std::int64_t handovers = 0;
    std::int32_t largestCount = 0;
    std::mt19937 draws;

    // What the record occupies, its vectors' storage included.
    std::size_t GetBytes() const;
};
