#include "runtime/clsChainPublisher.h"

void TChainPublisher::Publish(const TBucketChain& chain)
{
    copies[back].Read(chain);
    // Release the filled copy to the reader, acquire the one the reader gave back.
    back = middle.exchange(static_cast<std::uint8_t>(back | Fresh), std::memory_order_acq_rel) & IndexMask;
}

const TChainState& TChainPublisher::Latest()
{
    if (middle.load(std::memory_order_relaxed) & Fresh)
        front = middle.exchange(front, std::memory_order_acq_rel) & IndexMask;
    return copies[front];
}
