#include "analysis/SweepMove.h"

#include "analysis/MoveRecord.h"
#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsMoveLoop.h"
#include "model/clsPerson.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <vector>

namespace {

// Steps between looks at the stop flag: a fraction of a millisecond.
constexpr std::int64_t StepsBetweenStopChecks = 1024;

} // namespace

// Counts breaks by the rule of the move's record, without keeping a record.
class TSweepRowWatcher::TBreakCounter
{
public:
    explicit TBreakCounter(const TBucketChain& chain)
    {
        for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i)
            if (const auto* p = dynamic_cast<const TPerson*>(chain.GetHandler(i))) {
                persons.push_back(p);
                onBreak.push_back(p->IsOnBreak());
            }
    }

    void Observe()
    {
        for (std::size_t i = 0; i < persons.size(); ++i) {
            const bool now = persons[i]->IsOnBreak();
            breaks += BreakStarts(onBreak[i], now) ? 1 : 0;
            onBreak[i] = now;
        }
    }

    std::int64_t GetBreaks() const { return breaks; }

private:
    std::vector<const TPerson*> persons;
    std::vector<bool> onBreak;
    std::int64_t breaks = 0;
};

TSweepRowWatcher::TSweepRowWatcher(const TScenario& watched)
    : scenario(watched)
    , breaks(std::make_unique<TBreakCounter>(*watched.GetChain()))
    , bound(BoundPerMinute(MoveLayoutOf(*watched.GetChain(), *watched.GetTrail(), watched.GetInitialStock())))
{
}

TSweepRowWatcher::~TSweepRowWatcher() = default;

void TSweepRowWatcher::Observe()
{
    breaks->Observe();
}

TSweepOutcome TSweepRowWatcher::Outcome(TMoveOutcome end, std::int64_t maxSteps) const
{
    TSweepOutcome outcome;
    outcome.end = end;
    outcome.delivered = scenario.GetSink()->GetDeliveredCount();
    outcome.steps = end == TMoveOutcome::Running ? maxSteps : scenario.GetLoop().GetLastHandoverStep();
    outcome.perMinute = LoadsPerMinute(outcome.delivered, outcome.steps);
    outcome.boundShare = bound > 0.0 ? outcome.perMinute / bound : 0.0;
    outcome.breaks = breaks->GetBreaks();
    return outcome;
}

std::optional<TSweepOutcome> RunSweepMove(const TScenarioDescription& description, std::int64_t maxSteps,
                                          const std::atomic<bool>& stop)
{
    TZOManager objects;
    TScenario scenario(objects, description);
    TSweepRowWatcher watcher(scenario);

    if (stop)
        return std::nullopt;
    TMoveLoop& loop = scenario.GetLoop();
    bool stopped = false;
    const TMoveOutcome end = loop.RunUntilOver(maxSteps, [&] {
        watcher.Observe();
        stopped = !loop.IsOver() && loop.GetStep() % StepsBetweenStopChecks == 0 && stop;
        return !stopped;
    });
    if (stopped)
        return std::nullopt;
    return watcher.Outcome(end, maxSteps);
}
