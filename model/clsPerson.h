#pragma once

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"

#include <cstdint>
#include <deque>
#include <string>

class TTrail;

// A person of the chain: walks towards the sink while it carries a load and
// back towards the source with empty hands, hands loads over to whoever within
// reach can take them, tires while it carries and takes a break to recover.
class TPerson : public TLoadHandler
{
public:
    static constexpr std::uint8_t StateWalking = 1;
    static constexpr std::uint8_t StateGiving = 3;
    static constexpr std::uint8_t StateReceiving = 4;

    // Takes the next name of the person-name table, cyclically.
    TPerson();
    // Deletes the loads the person still carries.
    ~TPerson() override;

    bool IsKind(std::uint8_t kind) const override;
    // Refuses a load heavier than the free capacity, and a null load.
    bool PutLoad(TZLoad* load) override;
    std::int32_t GetLoadCount() const override;
    TZLoad* GetLoad(std::int32_t index) const override;
    TZLoad* TakeLoad(std::int32_t index) override;
    // 0.0 on a break; otherwise 1.0 with empty hands and 0.0 while carrying.
    double GetFreeCapacity() const override;
    double GetPosition() const override;
    // The state action, then tiring or recovering, then the break rule.
    bool Step() override;
    // Starts a giving to the receiver: three steps, the load changing hands in the third.
    void GiveLoadTo(TLoadHandler* receiver) override;
    // Starts a receiving: the person stands still for five steps.
    void BeginReceive() override;

    // Base speed × section speed factor × fitness; 0.0 on a break.
    virtual double GetStepLength() const;
    // Keeps the pointer only: the trail may not have its sections yet.
    virtual void SetTrail(TTrail* newTrail);
    // Moves the person, framed by the chain's move notifications.
    virtual void SetPosition(double newPosition);
    virtual void UpdateBreak();
    virtual void DoWalk();
    virtual void DoGive();
    virtual void DoReceive();
    // Limits a target position to the trail.
    virtual void ClampPosition(double& target);
    // True with probability 5 in 1000: the person ignores who is in its way this step.
    virtual bool WantsToOvertake();

    void SetSpeed(double baseSpeed) { speed = baseSpeed; }
    double GetSpeed() const { return speed; }
    TTrail* GetTrail() const { return trail; }
    double GetLoadWeight() const;
    double GetFitness() const { return fitness; }
    bool IsOnBreak() const { return onBreak; }
    std::uint8_t GetState() const { return state; }
    const std::string& GetName() const { return name; }
    std::int32_t GetStepCounter() const { return stepCounter; }
    TLoadHandler* GetPartner() const { return partner; }

    // The person-name table, in the order persons take their names.
    static const char* const Names[];
    static const int NameCount;

protected:
    // Holds the walking target back behind whoever stands within reach ahead
    // (carrying) or behind (empty), as a walk over found in list order would.
    void KeepDistance(const THandlerRange& found, bool empty, double reach, double& target) const;
    // The nearest handler of found that can take the person's load (carrying)
    // or give it one (empty), the first in list order among equally near ones;
    // distance is set to its distance, or the trail's length.
    TLoadHandler* FindPartner(const THandlerRange& found, bool empty, double& distance) const;

    TTrail* trail = nullptr;
    double position = 0.0;
    double speed = 0.01;
    std::deque<TZLoad*> loads;
    double fitness = 1.0;
    bool onBreak = false;
    std::uint8_t state = StateWalking;
    std::string name;
    std::int32_t stepCounter = 0;
    TLoadHandler* partner = nullptr;

private:
    // The shortcuts behind KeepDistance and FindPartner. They read the chain's
    // position index and rely on its keys being the handlers' positions.
    void KeepBehind(const THandlerRange& found, double reach, double& target) const;
    void KeepAhead(const THandlerRange& found, double reach, double& target) const;
    bool IsPartner(const TLoadHandler* h, bool empty) const;
};

// A person that claims a stretch of the trail, its home area, negotiated with
// the neighbours' areas, and keeps every walking target inside it. A break or
// too many pulls back to the borders give the area up.
class THomeareaPerson : public TPerson
{
public:
    // Gives the area up during a break, or tries to found one, then steps as a person.
    bool Step() override;
    // Pulls the target into the home area and keeps the counts behind the satisfaction.
    void ClampPosition(double& target) override;

    // Founds a home area of twice the minimum length around the person, if no
    // other person stands within the minimum length.
    void TryFoundHomeArea();
    // Sets the area to [lo, hi] unless check only; false (nothing set) if it
    // would be shorter than the minimum length.
    bool SetHomeArea(double lo, double hi, bool checkOnly);
    // Splits the overlaps at both ends of [lo, hi] with the neighbours' areas;
    // true with lo and hi narrowed and the neighbours cut, false with nothing changed.
    bool NegotiateHomeArea(double& lo, double& hi);

    // The trail's length over the chain's handler count; 0.0 outside a chain.
    double GetMinimumHomeLength() const;
    // 100 − corrections × 100 / steps, truncated; 0 while no step was counted.
    std::int32_t GetSatisfaction() const;

    bool IsInHomeArea() const { return inHomeArea; }
    double GetHomeStart() const { return homeStart; }
    double GetHomeEnd() const { return homeEnd; }
    std::int32_t GetHomeSteps() const { return homeSteps; }
    std::int32_t GetHomeCorrections() const { return homeCorrections; }

protected:
    bool inHomeArea = false;
    double homeStart = 0.0;
    double homeEnd = 0.0;
    std::int32_t homeSteps = 0;
    std::int32_t homeCorrections = 0;
};
