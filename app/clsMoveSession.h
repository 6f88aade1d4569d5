#pragma once

#include "analysis/MoveCourse.h"
#include "analysis/MoveReport.h"
#include "dialogs/clsJobPool.h"
#include "runtime/clsChainPublisher.h"
#include "runtime/clsRetirement.h"
#include "scenario/clsScenarioDescription.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

class TBCThread;
class TBucketChain;
class TMoveJumper;
class TMoveKeyframes;
class TScenario;
class TZOManager;
struct TSteppedMove;

// The move in the window, apart from how the window shows it: its
// description, registry, scenario, loop and simulation thread, the publisher
// the view and the dialogs read, the course run in the background, the jumps
// and the pools every background job of the window runs on.
//
// Whatever replaces the move (a start, a restart, an opened file, a quick
// change, the editor, a run of an experiment, a jump) takes one path: the
// thread is told to stop and publishes no more, MoveLeaving lets the readers
// of the old move go, the old move goes to the retirement with its thread,
// the new move takes its place, MoveEntered lets them take it up, and its
// thread starts. The window waits neither for a step under way nor for a
// large move's destruction.
// The publisher lives as long as the session: whoever holds it reads the
// move in place, whichever that is.
class TMoveSession : public QObject
{
    Q_OBJECT

public:
    // At most this many jobs of the window run at once besides the course run.
    static constexpr int WorkThreads = 2;

    explicit TMoveSession(QObject* owner = nullptr);
    // Stops the thread, the jumps and every background job before anything they reach goes.
    ~TMoveSession() override;

    // Runs the description afresh (none: the built-in move), not paused, and
    // finds its course in the background. A move that cannot be built leaves
    // none in place, and BuildFailed says why.
    void Start(const std::optional<TScenarioDescription>& description);
    // The move in place, afresh.
    void Restart() { Start(description); }
    // Puts exactly the chain at a step in place, paused there whatever the
    // speed and whether the move was over: a jump is for looking, and
    // continuing plays on from there. Jumps coalesce, and the window never
    // waits for one.
    void JumpTo(std::int64_t step);
    bool IsJumping() const;
    // The move of a changed description, which runs as the one in place up
    // to the step, put in place at that step as a jump puts it, but running
    // on if the move ran; its course is found afresh.
    void ChangeAt(const TScenarioDescription& changed, std::int64_t step);
    // The step shown, or the one a jump is on its way to.
    std::int64_t GetShownStep();
    // No move in place any more: the window is closing.
    void Halt();

    bool IsRunning() const { return thread != nullptr; }
    bool IsPaused() const;
    void SetPaused(bool paused);
    // While paused: one step.
    void StepOnce();
    void SetSpeed(std::int32_t factor);

    // The move in place, as a description.
    TScenarioDescription GetDescription() const { return description.value_or(BuiltInMove()); }
    // The clock time the move in place starts at, as its description has it; below 0 for none.
    std::int32_t GetStartSecond() const { return description ? description->startSecond : -1; }
    // Null while no move is in place.
    TScenario* GetScenario() const;
    TBucketChain* GetChain() const;
    const TZOManager& GetObjects() const { return *objects; }
    TChainPublisher& GetPublisher() { return publisher; }
    // The report's throughput bound of the move in place, loads per simulated minute.
    double GetBoundPerMinute() const { return boundPerMinute; }

    // How the move goes to its end, once the course run has found it, and
    // the report of the whole move from that run's own record.
    const std::optional<TMoveCourse>& GetCourse() const { return course; }
    const std::optional<TMoveReport>& GetEndReport() const { return endReport; }
    // The exact snapshots the course run keeps of the move in place, for
    // work that starts the move anywhere; filled as that run goes.
    std::shared_ptr<const TMoveKeyframes> GetKeyframes() const { return keyframes; }

    // Reports, exports, comparisons: given up when the session goes.
    TJobPool& GetWork() { return work; }

signals:
    // The move in place is about to go: let go of its trail and chain.
    void MoveLeaving();
    // A move is in place, before its thread steps it: afresh, or a jump's.
    void MoveEntered(bool afresh);
    void BuildFailed(const QString& why);
    // The course run has found the move's end.
    void CourseFound();
    void PausedChanged(bool paused);

private:
    // The one path: stops what runs, swaps the move in (none: none) and starts it again.
    void Replace(std::unique_ptr<TSteppedMove> move, bool paused, bool afresh);
    // Gives up the course run of the move before and starts the one of the move in place, if any.
    void StartCourse();
    // Tells the thread to stop, takes the publisher from it and hands it with
    // the move to the retirement; no move is in place after.
    void RetireMove();

    std::optional<TScenarioDescription> description;
    TChainPublisher publisher;
    // Goes before the publisher its threads may still publish into.
    TRetirement retirement;
    // The scenario goes before the registry it is filed in.
    std::unique_ptr<TZOManager> objects;
    std::unique_ptr<TScenario> scenario;
    std::unique_ptr<TBCThread> thread;
    std::int32_t speedFactor = 1;
    double boundPerMinute = 0.0;

    std::optional<TMoveCourse> course;
    std::optional<TMoveReport> endReport;
    std::shared_ptr<const TMoveKeyframes> keyframes;
    // The course run has a thread of its own: it never queues behind other work.
    TJobPool courseWork{1};
    TJobPool::TFlag courseCancel;
    // The move runs as fast as it goes: the course run hurries.
    std::shared_ptr<std::atomic<bool>> hurry = std::make_shared<std::atomic<bool>>(false);
    TJobPool work{WorkThreads};
    // Goes first: it hands moves to Replace.
    std::unique_ptr<TMoveJumper> jumper;
};
