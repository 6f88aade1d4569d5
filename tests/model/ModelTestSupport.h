#pragma once

#include "model/clsBucketChain.h"
#include "model/clsHomeareaPerson.h"
#include "model/clsLoad.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A handler that holds whatever it is given, stands where the test puts it and
// counts its steps and receivings: the neighbour the class under test meets.
class TTestHandler : public TLoadHandler
{
public:
    TTestHandler(TObjectIds& ids, double position = 0.0, double capacity = 1.0)
        : TLoadHandler(ids)
        , capacity(capacity)
        , position(position)
    {
    }
    ~TTestHandler() override
    {
        for (TZLoad* load : loads)
            delete load;
    }

    bool PutLoad(TZLoad* load) override
    {
        if (load)
            loads.push_back(load);
        return load != nullptr;
    }
    std::int32_t GetLoadCount() const override { return static_cast<std::int32_t>(loads.size()); }
    TZLoad* GetLoad(std::int32_t index) const override { return loads.at(static_cast<std::size_t>(index)); }
    TZLoad* TakeLoad(std::int32_t index) override
    {
        TZLoad* load = loads.at(static_cast<std::size_t>(index));
        loads.erase(loads.begin() + index);
        return load;
    }
    double GetFreeCapacity() const override { return capacity; }
    double GetPosition() const override { return position; }
    bool Step() override
    {
        ++steps;
        return true;
    }
    void BeginReceive() override { ++receivings; }

    // A move as every handler must make it: framed by the chain's notifications.
    void MoveTo(double newPosition)
    {
        NotifyMoving();
        position = newPosition;
        NotifyMoved();
    }

    double capacity;
    double position;
    std::deque<TZLoad*> loads;
    int steps = 0;
    int receivings = 0;
};

// A person whose inner state a test can set, and whose overtaking draw is
// fixed (never, unless the test says otherwise) so that walks are repeatable.
template <typename TBase>
class TProbe : public TBase
{
public:
    explicit TProbe(TObjectIds& ids)
        : TBase(ids, "Probe")
    {
    }
    bool WantsToOvertake() override { return overtake ? *overtake : TBase::WantsToOvertake(); }

    void SetFitness(double value) { this->fitness = value; }
    void SetOnBreak(bool value) { this->onBreak = value; }
    void SetPositionQuietly(double value) { this->position = value; }
    void Carry(TObjectIds& ids, double weight = 1.0) { this->loads.push_back(new TZStdLoad(ids, weight)); }

    // nullopt: draw as the person would.
    std::optional<bool> overtake = false;
};

using TPersonProbe = TProbe<TPerson>;

class THomeProbe : public TProbe<THomeareaPerson>
{
public:
    using TProbe::TProbe;
    void SetHome(double lo, double hi)
    {
        inHomeArea = true;
        homeStart = lo;
        homeEnd = hi;
    }
    void SetHomeCounts(std::int32_t steps, std::int32_t corrections)
    {
        homeSteps = steps;
        homeCorrections = corrections;
    }
};

// A trail, a chain and the handlers a test places on it. Members are declared
// so that the handlers go first, then the chain they leave, then the trail.
class TTestWorld
{
public:
    struct TSectionPlan
    {
        double length;
        bool steps;
    };

    explicit TTestWorld(const std::vector<TSectionPlan>& sectionPlans = {{1.0, false}},
                        TRateCounter::TCalendarClock clock = TRateCounter::SystemCalendarClock)
        : chain(ids, std::move(clock))
    {
        for (const TSectionPlan& plan : sectionPlans) {
            if (plan.steps)
                sections.push_back(std::make_unique<TTrailSectionSteps>(ids, plan.length));
            else
                sections.push_back(std::make_unique<TTrailSection>(ids, plan.length));
            trail.AddSection(sections.back().get());
        }
    }

    // Makes a handler from the world's ids and the arguments, places it and adds it to the chain.
    template <typename T, typename... Args>
    T& Add(Args&&... args)
    {
        auto handler = std::make_unique<T>(ids, std::forward<Args>(args)...);
        T& ref = *handler;
        handlers.push_back(std::move(handler));
        chain.AddHandler(&ref);
        return ref;
    }

    // A person on this trail, placed before it joins the chain.
    template <typename T>
    T& AddPerson(double position, double speed = 0.002)
    {
        auto person = std::make_unique<T>(ids);
        T& ref = *person;
        ref.SetTrail(&trail);
        ref.SetPosition(position);
        ref.SetSpeed(speed);
        handlers.push_back(std::move(person));
        chain.AddHandler(&ref);
        return ref;
    }

    // Written out, not taken from the person: a changed reach share must show.
    double Reach() const { return trail.GetLength() * 0.01; }

    TObjectIds ids;
    std::vector<std::unique_ptr<TTrailSection>> sections;
    TTrail trail{ids};
    TBucketChain chain;
    std::vector<std::unique_ptr<TLoadHandler>> handlers;
};
