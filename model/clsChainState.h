#pragma once

#include "model/clsCrowdDensity.h"
#include "model/clsHandlerState.h"
#include "model/clsMoveOutcome.h"

#include <cstdint>
#include <functional>
#include <vector>

class TBucketChain;

// A point of a move's delivery curve: the loads delivered after a step.
struct TDeliveryPoint
{
    std::int64_t step = 0;
    std::int32_t delivered = 0;

    bool operator==(const TDeliveryPoint&) const = default;
};

// The whole chain at one moment: every handler's state in the chain's order
// and the figures the window shows. The simulation thread reads one after each
// step and publishes it; the user interface draws and lists from such a copy.
struct TChainState
{
    std::int64_t step = 0;
    std::int32_t stepsPerSecond = 0;
    bool overrun = false;
    // Loads at the source, in the persons' hands, and delivered to the sink.
    std::int32_t stock = 0;
    std::int32_t inHands = 0;
    std::int32_t delivered = 0;
    // Set by whoever steps the move; a chain alone cannot tell.
    TMoveOutcome outcome = TMoveOutcome::Running;
    std::int64_t lastHandoverStep = 0;
    // The move's delivery curve so far, as its loop samples it.
    std::vector<TDeliveryPoint> deliveries;
    std::vector<THandlerState> handlers;
    // Every person of the chain, whether handlers holds it or not.
    std::int32_t personCount = 0;
    // Every person counted where it stands, by what it does; empty unless
    // read by ReadBounded.
    TCrowdDensity crowd;

    // Reads the chain anew, reusing the storage of the previous read.
    void Read(const TBucketChain& chain);
    // Reads the chain for a watcher whose copy must not grow with the chain:
    // handlers holds the source, the first keptPersons persons and the sink
    // (all persons of a smaller chain), and crowd counts every person, over
    // the stretch from the first handler to the last (the source and the sink).
    void ReadBounded(const TBucketChain& chain, std::int32_t keptPersons);
    // Whether handlers holds every person of the chain.
    bool HoldsEveryPerson() const;
    // Reads the figures only, handing each handler's state to visit in the
    // chain's order instead of keeping it: the handlers stay empty. For
    // readers of a large chain that need totals, not a copy.
    void ReadFigures(const TBucketChain& chain, const std::function<void(const THandlerState&)>& visit);
    // The state of the handler with the id, or null.
    const THandlerState* Find(std::int32_t id) const;

private:
    void BeginRead(const TBucketChain& chain);
    void CountLoads(const THandlerState& handler);
};
