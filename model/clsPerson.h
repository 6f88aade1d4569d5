#pragma once

#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"

#include <cstdint>
#include <string>
#include <vector>

class TTrail;

// What a person is doing; the numbers are the ones the trace prints.
enum class TPersonState : std::uint8_t { Walking = 1, Giving = 3, Receiving = 4 };

// A person of the chain: walks towards the sink while it carries a load and
// back towards the source with empty hands, hands loads over to whoever within
// reach can take them, tires while it carries and takes a break to recover.
class TPerson : public TLoadHandler
{
public:
    // Fitness falls by this factor per step carrying and rises by the other
    // per step on a break; a break starts below one fitness and ends above the other.
    static constexpr double TiringFactor = 0.9999;
    static constexpr double RecoveryFactor = 1.0015;
    static constexpr double BreakBelowFitness = 0.5;
    static constexpr double BreakEndsAboveFitness = 0.9;
    // A person reaches this share of the trail's length for hand-overs and keeping distance.
    static constexpr double ReachShare = 0.01;
    // A giver stands this many steps, the load changing hands in the last; a
    // receiver stands this many before it walks on.
    static constexpr std::int32_t GivingSteps = 3;
    static constexpr std::int32_t ReceivingSteps = 5;
    // The chance per step, in thousandths, that a person ignores who is in its way.
    static constexpr std::uint32_t OvertakingPerMille = 5;

    TPerson(TObjectIds& ids, std::string name);
    // Deletes the loads the person still carries.
    ~TPerson() override;

    bool IsKind(std::uint8_t kind) const override;
    // Refuses a load heavier than the free capacity, and a null load.
    bool PutLoad(TZLoad* load) override;
    std::int32_t GetLoadCount() const override;
    TZLoad* GetLoad(std::int32_t index) const override;
    TZLoad* TakeLoad(std::int32_t index) override;
    // 0.0 on a break, and for a leaving person that walks; otherwise 1.0
    // with empty hands and 0.0 while carrying.
    double GetFreeCapacity() const override;
    double GetPosition() const override;
    // The state action, then tiring or recovering, then the break rule.
    bool Step() override;
    // Starts a giving to the receiver, the load changing hands in its last
    // step; a giving already under way is begun afresh or kept, as the
    // chain's hand-over rule says.
    void GiveLoadTo(TLoadHandler* receiver) override;
    // Starts a receiving: the person stands still for its receiving steps.
    void BeginReceive() override;
    // From now on the person takes no new load; a hand-over under way is
    // completed. It is ready to leave the trail once it walks with empty hands.
    void StartLeaving() { leaving = true; }
    bool IsLeaving() const { return leaving; }
    bool IsReadyToLeave() const { return leaving && loads.empty() && state == TPersonState::Walking; }
    // Takes the person out of its chain.
    virtual void LeaveTrail();
    // Position, fitness, break, state and counter, partner and loads; the
    // loads held before a restore are freed, the recorded ones made anew.
    void SaveState(THandlerRecord& record, TChainRecord& chainRecord) const override;
    void RestoreState(const THandlerRecord& record, const TChainRecord& chainRecord) override;

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
    // True with the overtaking odds, drawn from the chain: the person ignores
    // who is in its way this step. Never outside a chain.
    virtual bool WantsToOvertake();

    void SetSpeed(double baseSpeed) { speed = baseSpeed; }
    double GetSpeed() const { return speed; }
    TTrail* GetTrail() const { return trail; }
    double GetLoadWeight() const;
    double GetFitness() const { return fitness; }
    bool IsOnBreak() const { return onBreak; }
    TPersonState GetState() const { return state; }
    const std::string& GetName() const { return name; }
    std::int32_t GetStepCounter() const { return stepCounter; }
    TLoadHandler* GetPartner() const { return partner; }

    // The person-name table, in the order a scenario's persons take their
    // names; the index-th name, cyclically.
    static const char* const Names[];
    static const int NameCount;
    static const char* TableName(std::int64_t index);

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
    // Rarely more than one: a vector costs a pointer's allocation while a
    // person carries, where a deque allocates half a kilobyte per person.
    std::vector<TZLoad*> loads;
    double fitness = 1.0;
    bool onBreak = false;
    bool leaving = false;
    TPersonState state = TPersonState::Walking;
    std::string name;
    std::int32_t stepCounter = 0;
    // Where the trail last found the person's section; a cache for GetStepLength.
    mutable std::int32_t sectionHint = -1;
    TLoadHandler* partner = nullptr;

private:
    // The shortcuts behind KeepDistance and FindPartner. They read the chain's
    // position index and rely on its keys being the handlers' positions.
    void KeepBehind(const THandlerRange& found, double reach, double& target) const;
    void KeepAhead(const THandlerRange& found, double reach, double& target) const;
    bool IsPartner(const TLoadHandler* h, bool empty) const;
};
