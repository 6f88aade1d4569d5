#include "dialogs/clsJobPool.h"

#include <algorithm>

TJobPool::TJobPool(int threads)
{
    pool.setMaxThreadCount(threads);
}

TJobPool::~TJobPool()
{
    Stop();
}

void TJobPool::Stop()
{
    for (const std::weak_ptr<std::atomic<bool>>& flag : flags)
        if (const TFlag held = flag.lock())
            *held = true;
    pool.waitForDone();
    flags.clear();
}

TJobPool::TFlag TJobPool::NewFlag()
{
    std::erase_if(flags, [](const std::weak_ptr<std::atomic<bool>>& flag) { return flag.expired(); });
    TFlag flag = std::make_shared<std::atomic<bool>>(false);
    flags.push_back(flag);
    return flag;
}
