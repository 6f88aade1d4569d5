#include "runtime/clsBCThread.h"

#include "model/clsBucketChain.h"
#include "runtime/clsChainPublisher.h"

#include <chrono>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// The highest priority below real-time, where the platform lets an ordinary
// process ask for it; otherwise the thread runs at normal priority.
void RaisePriority()
{
#ifdef __linux__
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    (void)::setpriority(PRIO_PROCESS, tid, -20);
#endif
}

} // namespace

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

void TStepPacer::Start()
{
    last = timing.now();
}

void TStepPacer::RunPeriod(const std::function<void()>& step, std::atomic<bool>& overrun)
{
    step();
    const std::int64_t target = last + PeriodMs;
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

TBCThread::TBCThread(bool createSuspended, TBucketChain* theChain, TChainPublisher* thePublisher,
                     TPacingTiming theTiming)
    : chain(theChain)
    , publisher(thePublisher)
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
    if (thread.joinable() || !chain)
        return;
    // Still alone with the chain here, so the window has a picture before the first step.
    if (publisher)
        publisher->Publish(*chain);
    thread = std::thread(&TBCThread::Execute, this);
}

void TBCThread::RequestStop()
{
    stopRequested.store(true);
}

void TBCThread::StopAndWait()
{
    RequestStop();
    if (thread.joinable())
        thread.join();
}

void TBCThread::Execute()
{
    RaisePriority();
    TStepPacer pacer(timing);
    const auto publishedStep = [this] {
        chain->Step();
        if (publisher)
            publisher->Publish(*chain);
    };
    pacer.Start();
    while (!stopRequested.load())
        pacer.RunPeriod(publishedStep, chain->overrun);
}
