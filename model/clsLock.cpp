#include "model/clsLock.h"

#include <thread>

bool TLock::TryLock()
{
    if (count.fetch_add(1, std::memory_order_acquire) + 1 == 1)
        return true;
    count.fetch_sub(1, std::memory_order_relaxed);
    return false;
}

void TLock::Lock()
{
    while (!TryLock())
        std::this_thread::yield();
}

void TLock::Unlock()
{
    count.fetch_sub(1, std::memory_order_release);
}
