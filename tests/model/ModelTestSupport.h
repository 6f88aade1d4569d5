#pragma once

#include "model/clsBucketChain.h"
#include "model/clsHomeareaPerson.h"
#include "model/clsLoad.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A handler that holds whatever it is given, stands where the test puts it and
// counts its steps: the neighbour the class under test meets.
class TTestHandler : public TLoadHandler
{
public:
    TTestHandler(TObjectIds& ids, double at = 0.0, double room = 1.0)
        : TLoadHandler(ids)
        , capacity(room)
        , position(at)
    {
    }

    bool PutLoad(TZLoad* load) override { return load && loads.emplace_back(load); }
    std::int32_t GetLoadCount() const override { return static_cast<std::int32_t>(loads.size()); }
    TZLoad* GetLoad(std::int32_t index) const override { return loads.at(static_cast<std::size_t>(index)).get(); }
    TZLoad* TakeLoad(std::int32_t index) override
    {
        TZLoad* load = loads.at(static_cast<std::size_t>(index)).release();
        loads.erase(loads.begin() + index);
        return load;
    }
    double GetFreeCapacity() const override { return capacity; }
    double GetPosition() const override { return position; }
    bool Step() override { return ++steps > 0; }

    // A move as every handler must make it: framed by the chain's notifications.
    void MoveTo(double newPosition)
    {
        NotifyMoving();
        position = newPosition;
        NotifyMoved();
    }

    double capacity;
    double position;
    std::vector<std::unique_ptr<TZLoad>> loads;
    int steps = 0;
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
    void Carry(TObjectIds& ids) { this->loads.push_back(new TZStdLoad(ids, 1.0)); }

    // nullopt: draw as the person would.
    std::optional<bool> overtake = false;
};

using TPersonProbe = TProbe<TPerson>;

class THomeProbe : public TProbe<THomeareaPerson>
{
public:
    using TProbe::TProbe;
    void SetHome(double lo, double hi, std::int32_t steps = 0, std::int32_t corrections = 0)
    {
        inHomeArea = true;
        homeStart = lo;
        homeEnd = hi;
        homeSteps = steps;
        homeCorrections = corrections;
        FileHomeArea();
    }
};

// Lengths of a trail's sections, each plain or a flight of steps.
using TSectionPlan = std::vector<std::pair<double, bool>>;

// A trail, a chain and the handlers a test places on it. Members are declared
// so that the handlers go first, then the chain they leave, then the trail.
class TTestWorld
{
public:
    explicit TTestWorld(const TSectionPlan& plan = {{1.0, false}},
                        TRateCounter::TClock clock = TRateCounter::SystemClock)
        : chain(ids, std::move(clock))
    {
        for (const auto& [length, steps] : plan) {
            sections.push_back(steps ? std::make_unique<TTrailSectionSteps>(ids, length)
                                     : std::make_unique<TTrailSection>(ids, length));
            trail.AddSection(sections.back().get());
        }
    }

    // Makes a handler from the world's ids and the arguments and adds it to the chain.
    template <typename T, typename... Args>
    T& Add(Args&&... args)
    {
        handlers.push_back(std::make_unique<T>(ids, std::forward<Args>(args)...));
        T& ref = static_cast<T&>(*handlers.back());
        chain.AddHandler(&ref);
        return ref;
    }

    // A person on this trail.
    template <typename T>
    T& AddPerson(double position, double speed = 0.002)
    {
        T& person = Add<T>();
        person.SetTrail(&trail);
        person.SetPosition(position);
        person.SetSpeed(speed);
        return person;
    }

    // Written out, not taken from the person: a changed reach share must show.
    double Reach() const { return trail.GetLength() * 0.01; }

    TObjectIds ids;
    std::vector<std::unique_ptr<TTrailSection>> sections;
    TTrail trail{ids};
    TBucketChain chain;
    std::vector<std::unique_ptr<TLoadHandler>> handlers;
};
