#include "runtime/clsChainPublisher.h"

#include "model/clsMoveLoop.h"

TChainPublisher::TTicket TChainPublisher::TakeOver()
{
    return newest.fetch_add(1) + 1;
}

void TChainPublisher::Publish(const TMoveLoop& loop, bool paused, TTicket ticket)
{
    const std::lock_guard lock(writing);
    if (IsTakenOver(ticket))
        return;
    TChainState& copy = copies[back];
    copy.ReadBounded(loop.GetChain(), KeptPersons);
    copy.outcome = loop.GetOutcome();
    copy.lastHandoverStep = loop.GetLastHandoverStep();
    // The curve only grows: each copy takes the points it has not seen. A
    // move put in place of another (a jump back) starts its own curve.
    const std::vector<TDeliveryPoint>& curve = loop.GetDeliveries();
    const std::size_t seen = copy.deliveries.size();
    if (seen > curve.size() || (seen > 0 && copy.deliveries.back() != curve[seen - 1]))
        copy.deliveries.clear();
    copy.deliveries.insert(copy.deliveries.end(), curve.begin() + static_cast<std::ptrdiff_t>(copy.deliveries.size()),
                           curve.end());
    if (paused)
        copy.stepsPerSecond = 0;
    Release();
}

void TChainPublisher::Clear()
{
    const std::lock_guard lock(writing);
    copies[back] = TChainState();
    Release();
}

void TChainPublisher::Release()
{
    // Release the filled copy to the reader, acquire the one the reader gave back.
    back = middle.exchange(static_cast<std::uint8_t>(back | Fresh), std::memory_order_acq_rel) & IndexMask;
}

const TChainState& TChainPublisher::Latest()
{
    if (middle.load(std::memory_order_relaxed) & Fresh)
        front = middle.exchange(front, std::memory_order_acq_rel) & IndexMask;
    return copies[front];
}
