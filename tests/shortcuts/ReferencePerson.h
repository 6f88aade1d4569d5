#pragma once

#include "model/clsHomeareaPerson.h"

// The same person walking and founding its home area the straightforward way: every handler of the search
// interval copied out of the chain and visited in list order, and every handler of the chain visited for the
// negotiation, with no shortcut. What every optimised step must reproduce bit for bit.
class TReferencePerson : public THomeareaPerson
{
public:
    using THomeareaPerson::THomeareaPerson;

    bool Step() override;
    void DoWalk() override;

private:
    void TryFoundHomeAreaByScan();
    bool NegotiateHomeAreaByScan(double& lo, double& hi);

    THandlerList found;
};

// The two walks over the handlers found, in list order, for a person standing
// at its position: hold the target back, and pick the nearest partner.
void KeepDistanceByScan(const TPerson& person, const THandlerList& found, bool empty, double reach, double& target);
TLoadHandler* FindPartnerByScan(const TPerson& person, const THandlerList& found, bool empty, double& distance);
