#include "runtime/clsRetirement.h"

TRetirement::TRetirement()
    : thread(&TRetirement::Execute, this)
{
}

TRetirement::~TRetirement()
{
    {
        const std::lock_guard lock(control);
        stopRequested = true;
    }
    controlChanged.notify_all();
    thread.join();
}

void TRetirement::Hand(std::unique_ptr<TLeaving> leaving)
{
    {
        std::unique_lock lock(control);
        controlChanged.wait(lock, [this] { return waiting.size() < MaxWaiting; });
        waiting.push_back(std::move(leaving));
    }
    controlChanged.notify_all();
}

void TRetirement::Drain()
{
    std::unique_lock lock(control);
    controlChanged.wait(lock, [this] { return waiting.empty() && !busy; });
}

void TRetirement::Execute()
{
    std::unique_lock lock(control);
    for (;;) {
        // A stop lets go of everything waiting first.
        controlChanged.wait(lock, [this] { return stopRequested || !waiting.empty(); });
        if (waiting.empty())
            return;
        std::unique_ptr<TLeaving> leaving = std::move(waiting.front());
        waiting.pop_front();
        busy = true;
        lock.unlock();
        controlChanged.notify_all();
        leaving.reset();
        lock.lock();
        busy = false;
        controlChanged.notify_all();
    }
}
