#include "app/clsMoveSession.h"

#include "analysis/MoveKeyframes.h"
#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "analysis/MoveRerun.h"
#include "app/clsMoveJumper.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "scenario/clsScenario.h"

#include <QFutureWatcher>

#include <algorithm>
#include <exception>

namespace {

// hurry: the move runs as fast as it goes. The run then takes the move's own
// raised priority, so that the report at the end is not starved behind the
// move it was to be ready for; otherwise it leaves the window the processor.
// It keeps the move's keyframes on the way, for the jumps.
TReportedCourse RunCourse(const TScenarioDescription& chosen, TMoveKeyframes& keyframes, const std::atomic<bool>& cancel,
                          const std::atomic<bool>& hurry)
{
    TZOManager objects;
    TScenario scenario(objects, chosen);
    bool raised = false;
    TReportedCourse run = RunReportedCourse(scenario, cancel, &keyframes, [&] {
        const bool wanted = hurry.load(std::memory_order_relaxed);
        if (wanted != raised)
            SetRaisedPriority(raised = wanted);
    });
    // The pool's thread serves the next run as it found it.
    if (raised)
        SetRaisedPriority(false);
    return run;
}

// What a replaced move leaves behind, let go of in this order: the thread,
// which waits for its step under way, then the move.
struct TLeftMove
{
    TSteppedMove move;
    std::unique_ptr<TBCThread> thread;
};

} // namespace

TMoveSession::TMoveSession(QObject* owner)
    : QObject(owner)
    , objects(std::make_unique<TZOManager>())
    , jumper(std::make_unique<TMoveJumper>(
          [this](std::unique_ptr<TSteppedMove> move) { Replace(std::move(move), IsPaused(), false); }))
{
}

TMoveSession::~TMoveSession()
{
    // Everything is told to stop before anything is waited for, so that the waits overlap.
    RetireMove();
    if (courseCancel)
        *courseCancel = true;
    jumper.reset();
    courseWork.Stop();
    work.Stop();
}

void TMoveSession::Start(const std::optional<TScenarioDescription>& chosen)
{
    description = chosen;
    auto move = std::make_unique<TSteppedMove>();
    try {
        move->scenario = description ? std::make_unique<TScenario>(*move->objects, *description)
                                     : std::make_unique<TScenario>(*move->objects);
    } catch (const std::exception& e) {
        Replace(nullptr, false, true);
        emit BuildFailed(QString::fromLocal8Bit(e.what()));
        return;
    }
    Replace(std::move(move), false, true);
}

void TMoveSession::Replace(std::unique_ptr<TSteppedMove> move, bool paused, bool afresh)
{
    emit MoveLeaving();
    RetireMove();
    objects = move ? std::move(move->objects) : std::make_unique<TZOManager>();
    scenario = move ? std::move(move->scenario) : nullptr;
    if (afresh || !scenario)
        StartCourse();
    if (!scenario) {
        publisher.Clear();
        return;
    }
    thread = std::make_unique<TBCThread>(true, &scenario->GetLoop(), &publisher);
    thread->SetSpeed(speedFactor);
    thread->SetPaused(paused);
    // Still alone with the move: its readers take it up from its own first
    // picture, never from the last one of the move before.
    publisher.Publish(scenario->GetLoop(), paused);
    emit MoveEntered(afresh);
    thread->Resume();
}

void TMoveSession::RetireMove()
{
    // The thread may be in the middle of a long step; it ends that step on
    // the retirement's thread, and nothing it publishes is shown any more.
    if (thread)
        thread->RequestStop();
    publisher.TakeOver();
    auto left = std::make_unique<TLeftMove>();
    left->thread = std::move(thread);
    left->move.scenario = std::move(scenario);
    left->move.objects = std::move(objects);
    retirement.Retire(std::move(left));
}

void TMoveSession::StartCourse()
{
    course.reset();
    endReport.reset();
    if (courseCancel)
        *courseCancel = true;
    // Forgets the jumps asked for in the move before, which would bring it back.
    const TScenarioDescription chosen = GetDescription();
    auto kept = std::make_shared<TMoveKeyframes>();
    keyframes = kept;
    jumper->SetScenario(chosen, kept);
    if (!scenario)
        return;
    // From the description: the chain in place may be a changed move's, well under way.
    boundPerMinute = BoundPerMinute(MoveLayoutOf(chosen));
    auto job = courseWork.Run([chosen, kept, hurry = hurry](const std::atomic<bool>& cancel) {
        return RunCourse(chosen, *kept, cancel, *hurry);
    });
    courseCancel = job.cancel;
    auto* watcher = new QFutureWatcher<TReportedCourse>(this);
    connect(watcher, &QFutureWatcher<TReportedCourse>::finished, this, [this, watcher, chosen, cancel = job.cancel] {
        watcher->deleteLater();
        if (*cancel)
            return;
        const TReportedCourse run = watcher->result();
        course = run.course;
        endReport = run.report;
        if (endReport)
            SetPlannersUnits(*endReport, chosen);
        emit CourseFound();
    });
    watcher->setFuture(job.future);
}

void TMoveSession::JumpTo(std::int64_t step)
{
    if (!scenario)
        return;
    SetPaused(true);
    // Past the end the move would only stand still; before its end is known,
    // a step ahead of the live move is as exact as any other.
    jumper->Request(std::clamp<std::int64_t>(step, 0, course ? course->endStep : CourseStepLimit));
}

void TMoveSession::ChangeAt(const TScenarioDescription& changed, std::int64_t step)
{
    if (!scenario)
        return;
    description = changed;
    // The course run keeps keyframes of the changed move from step 0: those of
    // the move before number their objects without the persons it adds.
    StartCourse();
    jumper->Request(step);
}

bool TMoveSession::IsJumping() const
{
    return jumper->IsBusy();
}

std::int64_t TMoveSession::GetShownStep()
{
    return jumper->IsBusy() ? jumper->GetTarget() : publisher.Latest().step;
}

void TMoveSession::Halt()
{
    Replace(nullptr, false, false);
}

bool TMoveSession::IsPaused() const
{
    return thread && thread->IsPaused();
}

void TMoveSession::SetPaused(bool paused)
{
    if (!thread)
        return;
    thread->SetPaused(paused);
    emit PausedChanged(paused);
}

void TMoveSession::StepOnce()
{
    if (thread)
        thread->StepOnce();
}

void TMoveSession::SetSpeed(std::int32_t factor)
{
    speedFactor = factor;
    *hurry = factor == TStepPacer::AsFastAsPossible;
    if (thread)
        thread->SetSpeed(factor);
}

TScenario* TMoveSession::GetScenario() const
{
    return scenario.get();
}

TBucketChain* TMoveSession::GetChain() const
{
    return scenario ? scenario->GetChain() : nullptr;
}
