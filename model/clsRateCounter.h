#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

// Counts events per second over samples of a monotonic clock. A sample closes
// at the first multiple of sampleEvents events at least SampleMs after it
// opened: the figure follows the events' own progress (a step counter's
// sample is a simulated second at 1×) and is right for a burst shorter than a
// second too. It stays until the next sample closes. When more than IdleMs
// have passed since the clock was last read, a fresh sample opens: a pause is
// not counted as slowness.
class TRateCounter
{
public:
    // Monotonic milliseconds; tests inject their own.
    using TClock = std::function<std::int64_t()>;

    static constexpr std::int64_t SampleMs = 250;
    static constexpr std::int64_t IdleMs = 5000;

    static std::int64_t SystemClock()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    explicit TRateCounter(std::int32_t theSampleEvents = 1) : sampleEvents(theSampleEvents) {}

    // Reads the clock only at every sampleEvents-th event: a step costs not
    // much more than a reading of the clock.
    void Count(const TClock& clock)
    {
        if (opened >= 0 && ++counted % sampleEvents != 0)
            return;
        const std::int64_t now = clock();
        if (opened < 0 || now - last > IdleMs) {
            opened = last = now;
            counted = 0;
            return;
        }
        last = now;
        const std::int64_t elapsed = now - opened;
        if (elapsed < SampleMs)
            return;
        perSecond.store(static_cast<std::int32_t>((counted * 1000 + elapsed / 2) / elapsed), std::memory_order_relaxed);
        opened = now;
        counted = 0;
    }

    // Safe to read from another thread than the counting one.
    std::int32_t GetPerSecond() const { return perSecond.load(std::memory_order_relaxed); }

private:
    const std::int32_t sampleEvents;
    // The sample opens at an event and counts the ones after it; none yet: -1.
    std::int64_t opened = -1;
    // When the clock was last read.
    std::int64_t last = 0;
    std::int64_t counted = 0;
    std::atomic<std::int32_t> perSecond{0};
};
