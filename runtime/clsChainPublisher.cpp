#include "runtime/clsChainPublisher.h"

void TChainPublisher::Publish(const TBucketChain& chain, bool paused)
{
    TChainState& copy = copies[back];
    copy.Read(chain);
    if (paused)
        copy.stepsPerSecond = 0;
    if (finishStep.load(std::memory_order_relaxed) < 0 && copy.stock == 0 && copy.inHands == 0)
        finishStep.store(copy.step, std::memory_order_relaxed);
    // Release the filled copy to the reader, acquire the one the reader gave back.
    back = middle.exchange(static_cast<std::uint8_t>(back | Fresh), std::memory_order_acq_rel) & IndexMask;
}

const TChainState& TChainPublisher::Latest()
{
    if (middle.load(std::memory_order_relaxed) & Fresh)
        front = middle.exchange(front, std::memory_order_acq_rel) & IndexMask;
    return copies[front];
}
