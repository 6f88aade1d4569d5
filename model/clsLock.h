#pragma once

#include <atomic>
#include <cstdint>

// The model's counting spin lock: yields the processor while it waits.
// Not re-entrant and records no owner: a holder that locks again waits for ever.
class TLock
{
public:
    // One attempt; true when the caller now holds the lock.
    bool TryLock();
    // Waits as long as it takes; no timeout, no queue, no fairness.
    void Lock();
    // Called only by the holder, once per successful acquisition.
    void Unlock();

    // 0 while free, 1 while held; for an instant higher while a contender tests it.
    std::int32_t GetCount() const { return count.load(); }

private:
    std::atomic<std::int32_t> count{0};
};
