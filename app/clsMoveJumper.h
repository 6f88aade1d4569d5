#pragma once

#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioDescription.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// A move built afresh and stepped through its loop to a step: exactly the
// chain at that step, for the move runs the same every time. The scenario
// goes before the registry it is filed in.
struct TSteppedMove
{
    std::unique_ptr<TZOManager> objects = std::make_unique<TZOManager>();
    std::unique_ptr<TScenario> scenario;
};

// Builds the move at a chosen step on a worker thread of its own, so that the
// window never waits for the stepping. Requests coalesce: the newest wins, a
// move under way towards an earlier step of the same scenario is stepped on
// rather than built again, and only the move at the newest step is handed
// over, on the owner's thread. The destructor stops the worker and joins it.
class TMoveJumper : public QObject
{
    Q_OBJECT

public:
    using TArrival = std::function<void(std::unique_ptr<TSteppedMove> move)>;

    explicit TMoveJumper(TArrival onArrival, QObject* owner = nullptr);
    ~TMoveJumper() override;

    // The scenario to jump in; forgets every request of the one before.
    void SetScenario(const TScenarioDescription& description);
    void Request(std::int64_t step);
    // A move of the current scenario already at some step, such as its end
    // found in the background: a request for that step takes it at once.
    void Offer(std::unique_ptr<TSteppedMove> move);
    // A request has not been handed over yet; its step.
    bool IsBusy() const { return requested != delivered; }
    std::int64_t GetTarget() const { return target; }

private:
    void Execute();
    // On the owner's thread: hands the newest move over, unless a newer request overtook it.
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
    // Bumped with every scenario: a move of another one is never stepped on.
    std::uint64_t scenarioEpoch = 0;
    std::int64_t pendingStep = 0;
    std::uint64_t pendingRequest = 0;
    std::unique_ptr<TSteppedMove> spare;
    std::unique_ptr<TSteppedMove> ready;
    std::uint64_t readyRequest = 0;
    // Tells a worker in the middle of stepping that a newer request or the stop waits.
    std::atomic<bool> interrupt{false};
    std::thread worker;
};
