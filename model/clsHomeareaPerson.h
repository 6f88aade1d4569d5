#pragma once

#include "model/clsPerson.h"

#include <cstdint>

// A person that claims a stretch of the trail, its home area, negotiated with
// the neighbours' areas, and keeps every walking target inside it. A break or
// too many pulls back to the borders give the area up.
class THomeareaPerson : public TPerson
{
public:
    // Every this many steps in its area a person reviews its corrections, and
    // gives the area up when they number more than the limit.
    static constexpr std::int32_t ReviewSteps = 1000;
    static constexpr std::int32_t CorrectionsLimit = 750;

    using TPerson::TPerson;

    // Gives the area up during a break, or tries to found one, then steps as a person.
    bool Step() override;
    // Files the area, if any, with the new chain.
    void SetChain(TBucketChain* newChain) override;
    // Gives the home area up, then leaves as a person.
    void LeaveTrail() override;
    // Pulls the target into the home area and keeps the counts behind the satisfaction.
    void ClampPosition(double& target) override;
    // A person's state and the home area with its counts.
    void SaveState(THandlerRecord& record, TChainRecord& chainRecord) const override;
    void RestoreState(const THandlerRecord& record, const TChainRecord& chainRecord) override;

    // Founds a home area of twice the minimum length around the person, if no
    // other person stands within the minimum length.
    void TryFoundHomeArea();
    // Sets the area to [lo, hi] unless check only; false (nothing set) if it
    // would be shorter than the minimum length.
    bool SetHomeArea(double lo, double hi, bool checkOnly);
    // Splits the overlaps at both ends of [lo, hi] with the neighbours' areas;
    // true with lo and hi narrowed and the neighbours cut, false with nothing
    // changed. Only the areas the chain finds near [lo, hi] are looked at, each
    // under the chain's lock, in chain order.
    bool NegotiateHomeArea(double& lo, double& hi);

    // The trail's length over the chain's largest handler count; 0.0 outside a chain.
    double GetMinimumHomeLength() const;
    // 100 − corrections × 100 / steps, truncated; 0 while no step was counted.
    std::int32_t GetSatisfaction() const;

    bool IsInHomeArea() const { return inHomeArea; }
    double GetHomeStart() const { return homeStart; }
    double GetHomeEnd() const { return homeEnd; }
    std::int32_t GetHomeSteps() const { return homeSteps; }
    std::int32_t GetHomeCorrections() const { return homeCorrections; }

protected:
    // Tells the chain where the area lies now, so that negotiations find it.
    // Every change of inHomeArea, homeStart or homeEnd is followed by one.
    void FileHomeArea();

    bool inHomeArea = false;
    double homeStart = 0.0;
    double homeEnd = 0.0;
    std::int32_t homeSteps = 0;
    std::int32_t homeCorrections = 0;

private:
    // Whether a person other than this one stands within [lo, hi].
    bool AnyOtherPersonWithin(const TBucketChain& ownChain, double lo, double hi) const;
};
