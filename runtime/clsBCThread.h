#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

class TBucketChain;
class TChainPublisher;

// The clock and the sleep that pace the simulation, injectable so that the
// pacing can be tested without waiting.
struct TPacingTiming
{
    // Monotonic milliseconds.
    std::function<std::int64_t()> now;
    // Sleeps a number of milliseconds; zero yields the processor.
    std::function<void(std::int64_t)> sleep;

    static TPacingTiming System();
};

// Runs one step per 40 ms period. The next period is measured from the moment
// the wait ended, so a late wake-up is never caught up; a step that overruns
// its period is followed at once by the next.
class TStepPacer
{
public:
    static constexpr std::int64_t PeriodMs = 40;

    explicit TStepPacer(TPacingTiming timing);

    // Starts the first period now.
    void Start();
    // Steps once, tells overrun whether the step overran its period, and waits
    // for the period's end unless it did.
    void RunPeriod(const std::function<void()>& step, std::atomic<bool>& overrun);

private:
    TPacingTiming timing;
    std::int64_t last = 0;
};

// The simulation thread: steps the chain every 40 ms at raised priority and
// publishes its state after each step, until a stop is requested. The stop is
// checked once per period; the destructor requests it and joins.
class TBCThread
{
public:
    // Without a publisher the chain is stepped and nobody is shown it.
    TBCThread(bool createSuspended, TBucketChain* chain, TChainPublisher* publisher = nullptr,
              TPacingTiming timing = TPacingTiming::System());
    ~TBCThread();

    TBCThread(const TBCThread&) = delete;
    TBCThread& operator=(const TBCThread&) = delete;

    // Publishes the chain as it stands, then starts a thread created
    // suspended; does nothing once it runs.
    void Resume();
    // The thread ends after the period it is in.
    void RequestStop();
    // Requests the stop and waits for the thread to end.
    void StopAndWait();

private:
    void Execute();

    TBucketChain* const chain;
    TChainPublisher* const publisher;
    TPacingTiming timing;
    std::atomic<bool> stopRequested{false};
    std::thread thread;
};
