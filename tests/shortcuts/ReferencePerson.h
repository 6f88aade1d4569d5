#pragma once

#include "model/clsPerson.h"

#include <memory>
#include <random>

// A home-area person that draws its overtaking chances from a generator of its
// run, so that two runs stepped side by side on one thread each draw the
// sequence a run of their own would draw.
class TDrawingPerson : public THomeareaPerson
{
public:
    explicit TDrawingPerson(std::shared_ptr<std::mt19937> generator);

    bool WantsToOvertake() override;

private:
    std::shared_ptr<std::mt19937> generator;
};

// The same person walking and founding its home area the straightforward way:
// every handler of the search interval copied out of the chain and visited in
// list order, with no shortcut. What every optimised step must reproduce bit
// for bit.
class TReferencePerson : public TDrawingPerson
{
public:
    using TDrawingPerson::TDrawingPerson;

    bool Step() override;
    void DoWalk() override;

private:
    void TryFoundHomeAreaByScan();

    THandlerList found;
};

// The two walks over the handlers found, in list order, for a person standing
// at its position: hold the target back, and pick the nearest partner.
void KeepDistanceByScan(const TPerson& person, const THandlerList& found, bool empty, double reach, double& target);
TLoadHandler* FindPartnerByScan(const TPerson& person, const THandlerList& found, bool empty, double& distance);
