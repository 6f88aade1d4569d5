#pragma once

#include "analysis/MoveRecord.h"
#include "model/clsHandlerState.h"
#include "scenario/clsScenarioDescription.h"

#include <vector>

class TBucketChain;
class TLoadHandler;
class TLoadSink;
class TScenario;
class TTrail;

// The fixed facts of a chain's run: its persons in chain order and the trail's sections.
TMoveLayout MoveLayoutOf(const TBucketChain& chain, const TTrail& trail, std::int32_t stock);
// The same from a description that can run, without building its scenario:
// the sections' own speed factors, the speeds of the persons on the trail at
// the start in chain order, no ids.
TMoveLayout MoveLayoutOf(const TScenarioDescription& description);

// Watches a chain between steps and feeds what it sees into a move record.
// It only reads: a run with a recorder steps exactly as a run without one.
class TMoveRecorder
{
public:
    // Takes the chain's persons (in chain order) and the trail's sections as
    // they are now, and the state before the first step; firstStep is the
    // step the chain has made so far, for a record of a window of the run.
    TMoveRecorder(const TBucketChain& chain, const TTrail& trail, const TLoadSink& sink, std::int32_t stock,
                  std::int64_t firstStep = 0);
    // Every person of the scenario, those who join on its schedule
    // included, seen as off the trail while they are.
    explicit TMoveRecorder(const TScenario& scenario, std::int64_t firstStep = 0);

    // Call after every step.
    void Observe();

    const TMoveRecord& GetRecord() const { return record; }

private:
    const std::vector<TPersonObservation>& ObservePersons();

    const TLoadSink& sink;
    std::vector<const TLoadHandler*> persons;
    // Reused by every observation, so that a step allocates nothing.
    THandlerState state;
    std::vector<TPersonObservation> seen;
    TMoveRecord record;
};
