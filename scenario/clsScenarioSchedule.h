#pragma once

#include "model/clsMoveLoop.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TBucketChain;
class TPerson;

// Carries out a scenario's schedule on its chain, between steps. The persons
// who join are made with the scenario and wait off the trail; the leavers are
// looked up by name when their leave takes effect.
//
// After step N (for N = 0, before the first step), the changes at N take
// effect in the order of the schedule: a join files its persons, rested and
// with empty hands, after every person on the trail and before the sink; a
// leave marks the first person of its name on the trail that is not leaving
// yet. Then every leaving person that walks with empty hands leaves the
// trail, in chain order.
class TScenarioSchedule final : public TMoveLoop::TChanges
{
public:
    // A change as it takes effect, in the order of effect.
    struct TChange
    {
        std::int64_t step = 0;
        std::vector<TPerson*> joining;
        // Where those who join stand when they do.
        double position = 0.0;
        std::string leaving;
    };

    // Persons are every person of the move in the order made: those of the
    // groups, then those who join, which must wait off the trail.
    TScenarioSchedule(TBucketChain& chain, std::vector<TPerson*> persons, std::vector<TChange> changes);

    bool IsEmpty() const { return changes.empty(); }
    void AfterStep(std::int64_t step) override;

    // The persons on the trail, as indexes into the persons in chain order.
    std::vector<std::int32_t> SaveMembers() const;
    // Puts exactly those persons on the trail, in that order; their states
    // come from the chain record restored next. Then ResumeAt the record's
    // step. Indexes that are not ascending indexes of persons are refused
    // (std::invalid_argument) with nothing changed.
    void RestoreMembers(const std::vector<std::int32_t>& members);
    void ResumeAt(std::int64_t step);

private:
    void Join(const TChange& change);
    void Leave(const std::string& name);
    void LeaveWhenReady();
    bool OnTrail(const TPerson* person) const;

    TBucketChain& chain;
    const std::vector<TPerson*> persons;
    const std::vector<TChange> changes;
    // The first change not yet in effect.
    std::size_t next = 0;
    // The leaving persons still on the trail, as indexes into the persons:
    // ascending, which is chain order.
    std::vector<std::size_t> leavers;
};
