#pragma once

#include "model/clsChainState.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

class TMoveLoop;

// Hands the newest state of a chain from the simulation thread to the user
// interface without either ever waiting on the other, whatever a step costs.
// Three copies: the writer fills one, the reader holds one, and the newest
// finished one waits between them. One publisher serves every move its owner
// puts in place, one after the other, so a reader never holds a stale one:
// each move's writer takes the publisher over with a ticket of its own, and
// a writer whose move has been replaced, still in its step, publishes no
// more. A copy stays bounded however large the chain: see KeptPersons.
class TChainPublisher
{
public:
    // A copy holds this many persons in full, the first in the chain's order;
    // beyond them its crowd counts every person. The window copies, lists and
    // draws a million persons no slower than two thousand.
    static constexpr std::int32_t KeptPersons = 2'000;

    using TTicket = std::uint64_t;
    // Stands for the ticket last taken: the writer that took it publishes without one.
    static constexpr TTicket Newest = 0;

    // The move to be shown from now on takes the publisher over, without
    // waiting: a publish under a ticket taken before that starts from here on
    // is dropped, and one under way ends before the next publish begins, so
    // a picture of the move replaced never overwrites the new one's.
    TTicket TakeOver();
    // Writer: reads the loop's chain as it stands between two steps, with
    // how the move stands, and makes that the newest copy, unless ticket has
    // been taken over. A paused chain is shown at 0 steps/s: its own counter
    // keeps the last figure until it steps again. Writers take turns: one
    // waits for another's reading under way.
    void Publish(const TMoveLoop& loop, bool paused = false, TTicket ticket = Newest);
    // Writer: no move any more; the newest copy is empty, as before the first Publish.
    void Clear();

    // Reader, one thread: the newest published copy (empty before the first
    // Publish). It stays unchanged until this thread calls Latest again.
    const TChainState& Latest();

private:
    bool IsTakenOver(TTicket ticket) const { return ticket != Newest && ticket != newest.load(); }
    // Makes the copy just filled the newest.
    void Release();

    static constexpr std::uint8_t IndexMask = 0x3;
    // Set beside the middle copy's index while the reader has not taken it.
    static constexpr std::uint8_t Fresh = 0x4;

    std::atomic<TTicket> newest{Newest};
    // Writers take turns at back and the copy it names.
    std::mutex writing;
    std::array<TChainState, 3> copies;
    std::uint8_t back = 0;
    std::uint8_t front = 1;
    std::atomic<std::uint8_t> middle{2};
};
