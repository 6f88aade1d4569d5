#pragma once

#include "analysis/MoveKeyframes.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioDescription.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// A move built afresh, put at the nearest keyframe and stepped through its
// loop to a step: exactly the chain at that step, for the move runs the same
// every time. The scenario goes before the registry it is filed in.
struct TSteppedMove
{
    std::unique_ptr<TZOManager> objects = std::make_unique<TZOManager>();
    std::unique_ptr<TScenario> scenario;
};

// Builds the move at a chosen step on a worker thread of its own, so that the
// window never waits for the stepping. Requests coalesce: the newest waiting
// one is taken next, and a move under way towards an earlier step of the same
// scenario is stepped on when that is nearer than a keyframe. Every move
// finished is handed over on the owner's thread, unless a newer one is
// finished first: while the knob is dragged, the window shows the move at
// the knob wherever a jump takes a moment. A newer request overtakes a move
// under way only after that has stepped for a picture's time. The destructor
// stops the worker and joins it.
class TMoveJumper : public QObject
{
    Q_OBJECT

public:
    using TArrival = std::function<void(std::unique_ptr<TSteppedMove> move)>;

    // How long a move under way is stepped on before a newer request takes
    // its place: a drag shows 20 pictures a second even of slow moves.
    static constexpr std::chrono::milliseconds PictureTime{50};

    explicit TMoveJumper(TArrival onArrival, QObject* owner = nullptr);
    ~TMoveJumper() override;

    // The scenario to jump in, with the keyframes its background run keeps;
    // forgets every request of the one before.
    void SetScenario(const TScenarioDescription& description, std::shared_ptr<const TMoveKeyframes> keyframes);
    void Request(std::int64_t step);
    // The newest request has not been handed over yet; its step.
    bool IsBusy() const { return requested != delivered; }
    std::int64_t GetTarget() const { return target; }

private:
    void Execute();
    // Steps the move to the step, or until it is to be abandoned or, after a
    // picture's time, overtaken; true if it got there.
    bool StepTo(TSteppedMove& move, std::int64_t step);
    // On the owner's thread: hands the newest finished move over.
    void Deliver();

    TArrival onArrival;
    // The owner's side.
    std::uint64_t requested = 0;
    std::uint64_t delivered = 0;
    std::int64_t target = 0;

    // Shared with the worker.
    std::mutex control;
    std::condition_variable controlChanged;
    bool stopRequested = false;
    bool pending = false;
    TScenarioDescription description;
    std::shared_ptr<const TMoveKeyframes> keyframes;
    // Bumped with every scenario: a move of another one is never stepped on.
    std::uint64_t scenarioEpoch = 0;
    std::int64_t pendingStep = 0;
    std::uint64_t pendingRequest = 0;
    std::unique_ptr<TSteppedMove> ready;
    std::uint64_t readyRequest = 0;
    // Tell a worker in the middle of stepping that a newer request waits, or
    // that the stop or another scenario does, which cannot wait.
    std::atomic<bool> overtaken{false};
    std::atomic<bool> abandon{false};
    std::thread worker;
};
