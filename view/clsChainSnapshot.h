#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TBucketChain;

// What the picture shows of one handler, copied while the chain stands still.
struct THandlerSnapshot
{
    std::int32_t id = 0;
    double position = 0.0;
    // For the source, the loads it still has to give; a sink always shows 0.
    std::int32_t loadCount = 0;

    bool isPerson = false;
    double fitness = 1.0;
    bool onBreak = false;
    std::string name;

    bool inHomeArea = false;
    double homeStart = 0.0;
    double homeEnd = 0.0;
};

// What the picture shows of the chain. The simulation thread changes the
// persons while the user interface draws, so the view copies everything it
// needs in one go and paints from the copy.
struct TChainSnapshot
{
    std::int32_t stepsPerSecond = 0;
    bool overrun = false;
    // In the chain's order, so that later handlers are drawn over earlier ones.
    std::vector<THandlerSnapshot> handlers;

    // Copies the chain under its step guard, which it holds for nothing else.
    // Reuses the storage of the previous copy, so a steady chain allocates nothing.
    void Capture(const TBucketChain& chain);
    void Clear();
};
