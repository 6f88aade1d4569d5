#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>

// Counts events per calendar second. The event that first sees a new second is
// counted into the closing second, and the published figure stays until the
// first event in a later second. A clock jump either way publishes one odd
// figure and the next second is counted right again.
class TRateCounter
{
public:
    using TCalendarClock = std::function<std::time_t()>;

    // The calendar clock in whole seconds; tests inject their own.
    static std::time_t SystemCalendarClock() { return std::time(nullptr); }

    void Count(std::time_t now)
    {
        ++countThisSecond;
        if (now != lastSecond) {
            perSecond.store(countThisSecond, std::memory_order_relaxed);
            countThisSecond = 0;
            lastSecond = now;
        }
    }

    // Safe to read from another thread than the counting one.
    std::int32_t GetPerSecond() const { return perSecond.load(std::memory_order_relaxed); }

private:
    std::time_t lastSecond = 0;
    std::int32_t countThisSecond = 0;
    std::atomic<std::int32_t> perSecond{0};
};
