#pragma once

#include "model/clsHomeareaPerson.h"

#include <cstdint>
#include <string>

// A chain's handlers by position as the chain's position index lists them, kept without it: a plain vector,
// equal positions in the order they were filed. A handler is filed when it is added and again after every
// move, coming last among its equals; so the vector starts in chain order, sorted by position, and a handler
// told of as moved is taken out and put back after its new equals. An index that mixed up equal positions
// would show against it.
class TReferenceOrder final : public TBucketChainEventListener
{
public:
    // From the chain as it stands, none of its handlers moved since it was added; to keep up with it
    // afterwards, it must listen to the chain.
    void Start(const TBucketChain& chain);
    void OnHandlerMove(TLoadHandler* handler, std::uint8_t phase) override;
    // The handlers whose position lies in [lo, hi] (bounds swapped if reversed), in ascending position,
    // equal positions in filing order.
    void FindHandlers(double lo, double hi, THandlerList& out) const;

private:
    THandlerList byPosition;
};

// The same person walking and founding its home area the straightforward way: every handler of the search
// interval found by a scan over the whole chain and visited in list order, and every handler of the chain
// visited for the negotiation, with no shortcut and no index. What every optimised step must reproduce bit
// for bit.
class TReferencePerson : public THomeareaPerson
{
public:
    // The order must be started on the person's chain and listen to it.
    TReferencePerson(TObjectIds& ids, std::string theName, const TReferenceOrder& order);

    bool Step() override;
    void DoWalk() override;

private:
    void TryFoundHomeAreaByScan();
    bool NegotiateHomeAreaByScan(double& lo, double& hi);

    const TReferenceOrder& order;
    THandlerList found;
};

// The two walks over the handlers found, in list order, for a person standing
// at its position: hold the target back, and pick the nearest partner.
void KeepDistanceByScan(const TPerson& person, const THandlerList& found, bool empty, double reach, double& target);
TLoadHandler* FindPartnerByScan(const TPerson& person, const THandlerList& found, bool empty, double& distance);
