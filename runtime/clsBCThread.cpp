#include "runtime/clsBCThread.h"

#include "model/clsBucketChain.h"
#include "model/clsMoveLoop.h"
#include "runtime/clsChainPublisher.h"

#include <chrono>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

// Otherwise the thread runs at normal priority.
void SetRaisedPriority(bool raised)
{
#ifdef __linux__
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    (void)::setpriority(PRIO_PROCESS, tid, raised ? -20 : 0);
#else
    (void)raised;
#endif
}

TPacingTiming TPacingTiming::System()
{
    return {
        [] {
            using namespace std::chrono;
            return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
        },
        [](std::int64_t ms) {
            if (ms <= 0)
                std::this_thread::yield();
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        },
    };
}

TStepPacer::TStepPacer(TPacingTiming theTiming)
    : timing(std::move(theTiming))
{
}

void TStepPacer::SetSpeed(std::int32_t factor)
{
    period = factor > 0 ? PeriodMs / factor : 0;
}

void TStepPacer::Start()
{
    last = timing.now();
}

void TStepPacer::RunPeriod(const std::function<void()>& step, std::atomic<bool>& overrun)
{
    step();
    if (period == 0) {
        overrun.store(false, std::memory_order_relaxed);
        if (timing.now() - last >= YieldEveryMs) {
            timing.sleep(0);
            last = timing.now();
        }
        return;
    }
    const std::int64_t target = last + period;
    if (timing.now() >= target) {
        overrun.store(true, std::memory_order_relaxed);
        last = timing.now();
        return;
    }
    overrun.store(false, std::memory_order_relaxed);
    // A coarse sleep that ends 2 ms before the target, then 1 ms at a time.
    const std::int64_t remaining = target - timing.now();
    if (remaining > 2)
        timing.sleep(remaining - 2);
    for (;;) {
        last = timing.now();
        if (last >= target)
            return;
        timing.sleep(1);
    }
}

TBCThread::TBCThread(bool createSuspended, TMoveLoop* theLoop, TChainPublisher* thePublisher,
                     TPacingTiming theTiming)
    : loop(theLoop)
    , publisher(thePublisher)
    , ticket(publisher ? publisher->TakeOver() : TChainPublisher::Newest)
    , timing(std::move(theTiming))
{
    if (!createSuspended)
        Resume();
}

TBCThread::~TBCThread()
{
    StopAndWait();
}

void TBCThread::Resume()
{
    if (thread.joinable() || !loop)
        return;
    // Still alone with the move here, so the window has a picture before the first step.
    if (publisher)
        publisher->Publish(*loop, false, ticket);
    thread = std::thread(&TBCThread::Execute, this);
}

void TBCThread::RequestStop()
{
    {
        const std::lock_guard lock(control);
        stopRequested.store(true);
    }
    controlChanged.notify_all();
}

void TBCThread::StopAndWait()
{
    RequestStop();
    if (thread.joinable())
        thread.join();
}

void TBCThread::SetPaused(bool paused)
{
    {
        const std::lock_guard lock(control);
        pauseRequested = paused;
        singleSteps = 0;
    }
    controlChanged.notify_all();
}

bool TBCThread::IsPaused() const
{
    const std::lock_guard lock(control);
    return pauseRequested;
}

void TBCThread::StepOnce()
{
    {
        const std::lock_guard lock(control);
        if (!pauseRequested)
            return;
        ++singleSteps;
    }
    controlChanged.notify_all();
}

void TBCThread::SetSpeed(std::int32_t factor)
{
    speed.store(factor, std::memory_order_relaxed);
}

bool TBCThread::AwaitStep(bool& paused, bool& waited)
{
    std::unique_lock lock(control);
    // Only this thread steps the move, so only a stop can end its being over.
    const auto held = [this] { return loop->IsOver() || (pauseRequested && singleSteps == 0); };
    waited = held() && !stopRequested.load();
    if (waited) {
        // The chain's own counter keeps its last figure while nothing steps.
        if (publisher)
            publisher->Publish(*loop, true, ticket);
        controlChanged.wait(lock, [&] { return stopRequested.load() || !held(); });
    }
    if (stopRequested.load())
        return false;
    paused = pauseRequested;
    if (paused)
        --singleSteps;
    return true;
}

void TBCThread::Execute()
{
    bool raised = false;
    TStepPacer pacer(timing);
    bool paused = false;
    bool waited = false;
    std::int64_t published = timing.now();
    const auto publishedStep = [&] {
        loop->Step();
        if (!publisher)
            return;
        if (pacer.GetPeriod() == 0 && !paused && !loop->IsOver()) {
            const std::int64_t now = timing.now();
            if (now - published < PublishEveryMs)
                return;
            published = now;
        }
        publisher->Publish(*loop, paused, ticket);
    };
    pacer.Start();
    while (AwaitStep(paused, waited)) {
        pacer.SetSpeed(speed.load(std::memory_order_relaxed));
        // Steps that overrun their period keep no time either, and raised
        // they would take a core from the window and the display for good.
        const bool overran = loop->GetChain().overrun.load(std::memory_order_relaxed);
        if (const bool paced = pacer.GetPeriod() != 0 && !overran; paced != raised)
            SetRaisedPriority(raised = paced);
        // A step after a wait is not late for a period that ran out meanwhile.
        if (waited)
            pacer.Start();
        pacer.RunPeriod(publishedStep, loop->GetChain().overrun);
    }
}
