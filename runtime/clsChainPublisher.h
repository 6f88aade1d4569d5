#pragma once

#include "model/clsChainState.h"

#include <array>
#include <atomic>
#include <cstdint>

class TMoveLoop;

// Hands the newest state of a chain from the simulation thread to the user
// interface without either ever waiting on the other, whatever a step costs.
// Three copies: the writer fills one, the reader holds one, and the newest
// finished one waits between them. One publisher serves every move its owner
// puts in place, one after the other, so a reader never holds a stale one.
// A copy stays bounded however large the chain: see KeptPersons.
class TChainPublisher
{
public:
    // A copy holds this many persons in full, the first in the chain's order;
    // beyond them its crowd counts every person. The window copies, lists and
    // draws a million persons no slower than two thousand.
    static constexpr std::int32_t KeptPersons = 2'000;

    // Writer, one thread at a time: reads the loop's chain as it stands
    // between two steps, with how the move stands, and makes that the newest
    // copy. A paused chain is shown at 0 steps/s: its own counter keeps the
    // last figure until it steps again.
    void Publish(const TMoveLoop& loop, bool paused = false);
    // Writer: no move any more; the newest copy is empty, as before the first Publish.
    void Clear();

    // Reader, one thread: the newest published copy (empty before the first
    // Publish). It stays unchanged until this thread calls Latest again.
    const TChainState& Latest();

private:
    // Makes the copy just filled the newest.
    void Release();

    static constexpr std::uint8_t IndexMask = 0x3;
    // Set beside the middle copy's index while the reader has not taken it.
    static constexpr std::uint8_t Fresh = 0x4;

    std::array<TChainState, 3> copies;
    std::uint8_t back = 0;
    std::uint8_t front = 1;
    std::atomic<std::uint8_t> middle{2};
};
