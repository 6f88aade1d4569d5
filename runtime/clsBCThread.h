#pragma once

#include "model/clsSimulationTime.h"
#include "runtime/clsChainPublisher.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class TMoveLoop;

// Raises the calling thread to the highest priority below real-time, where
// the platform lets an ordinary process ask for it, or lowers it back to
// normal: the simulation thread's priority, and that of a thread stepping a
// move the user waits for.
void SetRaisedPriority(bool raised);

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

// Runs one step per period: at speed 1 the simulated time of a step, divided
// by the speed factor above it. The next period is measured from the moment
// the wait ended, so a late wake-up is never caught up; a step that overruns
// its period is followed at once by the next. As fast as possible steps back
// to back, yielding the processor every few milliseconds, and never overruns.
class TStepPacer
{
public:
    static constexpr std::int64_t PeriodMs = StepMs;
    // The speed factors the window offers; factors above PeriodMs leave no period either.
    static constexpr std::int32_t AsFastAsPossible = 0;
    // As fast as possible, the processor is yielded after a step once this
    // long has passed since the last yield: a yield costs as much as a step,
    // and other threads need the processor only now and then.
    static constexpr std::int64_t YieldEveryMs = 5;

    explicit TStepPacer(TPacingTiming timing);

    // From the next period on.
    void SetSpeed(std::int32_t factor);
    std::int64_t GetPeriod() const { return period; }

    // Starts the first period now.
    void Start();
    // Steps once, tells overrun whether the step overran its period, and waits
    // for the period's end unless it did.
    void RunPeriod(const std::function<void()>& step, std::atomic<bool>& overrun);

private:
    TPacingTiming timing;
    std::int64_t period = PeriodMs;
    std::int64_t last = 0;
};

// The simulation thread: steps a move once a period at raised priority, so
// that its periods keep time, and publishes its state after each step, until
// a stop is requested. As fast as possible it keeps no time and runs at
// normal priority: raised, it would starve the window's thread, which a yield
// does not wake, and the picture would stand still; so does a move whose
// last step overran its period (a large chain's). The stop,
// the pause and the speed are checked once per period, before its step; the
// destructor requests the stop and joins. A move that is over, finished or
// stalled, is held as a paused one is, and steps no more.
class TBCThread
{
public:
    // As fast as possible, the move is published at most this often, and
    // whenever it is paused or over: the view draws ten times a second and
    // the figures four times, and a copy of the chain per step would cost more
    // than the step. At any other speed every step is published.
    static constexpr std::int64_t PublishEveryMs = 10;

    // Without a publisher the move is stepped and nobody is shown it. A
    // thread takes its publisher over: one on it before publishes no more.
    TBCThread(bool createSuspended, TMoveLoop* loop, TChainPublisher* publisher = nullptr,
              TPacingTiming timing = TPacingTiming::System());
    ~TBCThread();

    TBCThread(const TBCThread&) = delete;
    TBCThread& operator=(const TBCThread&) = delete;

    // Publishes the move as it stands, then starts a thread created
    // suspended; does nothing once it runs.
    void Resume();
    // The thread ends after the period it is in.
    void RequestStop();
    // Requests the stop and waits for the thread to end.
    void StopAndWait();

    // Run control, from any thread. A paused thread steps no more, waits
    // without using the processor, and publishes the move once with a rate
    // of 0 steps/s.
    void SetPaused(bool paused);
    bool IsPaused() const;
    // While paused: exactly one more step, published like any other.
    void StepOnce();
    // A speed factor as TStepPacer takes it.
    void SetSpeed(std::int32_t factor);

private:
    void Execute();
    // Waits while paused with no single step asked for, or while the move is
    // over. False once the stop is requested; paused tells whether the step to come is a single step,
    // waited whether the thread has waited for it.
    bool AwaitStep(bool& paused, bool& waited);

    TMoveLoop* const loop;
    TChainPublisher* const publisher;
    const TChainPublisher::TTicket ticket;
    TPacingTiming timing;
    std::atomic<bool> stopRequested{false};
    std::atomic<std::int32_t> speed{1};
    // The pause and the single steps asked for, with the stop wake the waiting thread.
    mutable std::mutex control;
    std::condition_variable controlChanged;
    bool pauseRequested = false;
    std::int32_t singleSteps = 0;
    std::thread thread;
};
