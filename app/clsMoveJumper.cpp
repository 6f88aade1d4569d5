#include "app/clsMoveJumper.h"

#include "model/clsMoveLoop.h"

#include <QMetaObject>

namespace {

// Steps between two looks at the requests: a few tenths of a millisecond.
constexpr std::int64_t StepsBetweenLooks = 1024;

} // namespace

TMoveJumper::TMoveJumper(TArrival arrival, QObject* owner)
    : QObject(owner)
    , onArrival(std::move(arrival))
    , worker(&TMoveJumper::Execute, this)
{
}

TMoveJumper::~TMoveJumper()
{
    {
        const std::lock_guard lock(control);
        stopRequested = true;
        interrupt = true;
    }
    controlChanged.notify_all();
    worker.join();
}

void TMoveJumper::SetScenario(const TScenarioDescription& newDescription)
{
    {
        const std::lock_guard lock(control);
        description = newDescription;
        ++scenarioEpoch;
        pending = false;
        ready.reset();
        spare.reset();
        interrupt = true;
    }
    delivered = requested;
}

void TMoveJumper::Request(std::int64_t step)
{
    target = step;
    {
        const std::lock_guard lock(control);
        pending = true;
        pendingStep = step;
        pendingRequest = ++requested;
        // Under the lock: the worker clears it as it takes the request.
        interrupt = true;
    }
    controlChanged.notify_all();
}

void TMoveJumper::Offer(std::unique_ptr<TSteppedMove> move)
{
    const std::lock_guard lock(control);
    spare = std::move(move);
}

void TMoveJumper::Execute()
{
    std::unique_ptr<TSteppedMove> move;
    std::uint64_t moveEpoch = 0;
    std::unique_lock lock(control);
    for (;;) {
        controlChanged.wait(lock, [this] { return stopRequested || pending; });
        if (stopRequested)
            return;
        pending = false;
        interrupt = false;
        const std::int64_t step = pendingStep;
        const std::uint64_t request = pendingRequest;
        if (spare && spare->scenario->GetLoop().GetStep() == step) {
            move = std::move(spare);
            moveEpoch = scenarioEpoch;
            lock.unlock();
        } else if (!move || moveEpoch != scenarioEpoch || move->scenario->GetLoop().GetStep() > step) {
            move.reset();
            const TScenarioDescription chosen = description;
            moveEpoch = scenarioEpoch;
            lock.unlock();
            move = std::make_unique<TSteppedMove>();
            move->scenario = std::make_unique<TScenario>(*move->objects, chosen);
        } else {
            lock.unlock();
        }
        // Every step of the way through the loop, as the window's thread takes
        // them: the loop's outcome and delivery curve come along.
        TMoveLoop& loop = move->scenario->GetLoop();
        std::int64_t look = 0;
        loop.RunSteps(step, [&] { return ++look % StepsBetweenLooks != 0 || !interrupt.load(); });
        lock.lock();
        // Overtaken: the move stays here to be stepped on or built anew.
        if (pending || stopRequested || moveEpoch != scenarioEpoch || loop.GetStep() != step)
            continue;
        ready = std::move(move);
        readyRequest = request;
        QMetaObject::invokeMethod(this, &TMoveJumper::Deliver, Qt::QueuedConnection);
    }
}

void TMoveJumper::Deliver()
{
    std::unique_ptr<TSteppedMove> move;
    {
        const std::lock_guard lock(control);
        if (!ready || readyRequest != requested)
            return;
        move = std::move(ready);
    }
    delivered = readyRequest;
    onArrival(std::move(move));
}
