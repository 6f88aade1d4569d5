#include "app/clsMoveJumper.h"

#include "model/clsMoveLoop.h"

#include <QMetaObject>

#include <chrono>

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
        abandon = true;
    }
    controlChanged.notify_all();
    worker.join();
}

void TMoveJumper::SetScenario(const TScenarioDescription& newDescription,
                              std::shared_ptr<const TMoveKeyframes> newKeyframes)
{
    std::unique_ptr<TSteppedMove> stale;
    {
        const std::lock_guard lock(control);
        description = newDescription;
        keyframes = std::move(newKeyframes);
        ++scenarioEpoch;
        pending = false;
        stale = std::move(ready);
        abandon = true;
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
        overtaken = true;
    }
    controlChanged.notify_all();
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
        overtaken = false;
        abandon = false;
        const std::int64_t step = pendingStep;
        const std::uint64_t request = pendingRequest;
        const std::uint64_t epoch = scenarioEpoch;
        const TScenarioDescription chosen = description;
        const std::shared_ptr<const TMoveKeyframes> frames = keyframes;
        lock.unlock();

        const TKeyframe keyframe = frames ? frames->Nearest(step) : TKeyframe{};
        if (move && moveEpoch == epoch) {
            const std::int64_t at = move->scenario->GetLoop().GetStep();
            if (at > step || at < keyframe.GetStep())
                move.reset();
        } else {
            move.reset();
        }
        if (!move) {
            move = std::make_unique<TSteppedMove>();
            move->scenario = std::make_unique<TScenario>(*move->objects, chosen);
            keyframe.RestoreInto(*move->scenario);
            moveEpoch = epoch;
        }
        const bool arrived = StepTo(*move, step);

        lock.lock();
        // Overtaken: the move stays here to be stepped on or built anew.
        if (!arrived || stopRequested || moveEpoch != scenarioEpoch)
            continue;
        // A finished move the owner has not taken yet stays here instead,
        // to be stepped on or freed outside the lock.
        std::swap(ready, move);
        readyRequest = request;
        QMetaObject::invokeMethod(this, &TMoveJumper::Deliver, Qt::QueuedConnection);
    }
}

bool TMoveJumper::StepTo(TSteppedMove& move, std::int64_t step)
{
    // Every step of the way through the loop, as the window's thread takes
    // them: the loop's outcome and delivery curve come along.
    TMoveLoop& loop = move.scenario->GetLoop();
    const auto started = std::chrono::steady_clock::now();
    loop.RunSteps(step, [&] {
        if (abandon.load())
            return false;
        return !overtaken.load() || std::chrono::steady_clock::now() - started < PictureTime;
    });
    return loop.GetStep() == step;
}

void TMoveJumper::Deliver()
{
    std::unique_ptr<TSteppedMove> move;
    std::uint64_t request = 0;
    {
        const std::lock_guard lock(control);
        if (!ready)
            return;
        move = std::move(ready);
        request = readyRequest;
    }
    delivered = request;
    onArrival(std::move(move));
}
