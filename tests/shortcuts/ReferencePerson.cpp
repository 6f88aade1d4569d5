#include "ReferencePerson.h"

#include "model/clsTrail.h"

#include <cmath>

bool TReferencePerson::Step()
{
    if (onBreak)
        inHomeArea = false;
    else if (!inHomeArea)
        TryFoundHomeAreaByScan();
    return TPerson::Step();
}

void TReferencePerson::TryFoundHomeAreaByScan()
{
    TBucketChain* const ownChain = GetChain();
    if (!ownChain)
        return;
    const double w = GetMinimumHomeLength();
    double lo = position - w;
    double hi = position + w;
    ownChain->FindHandlers(lo, hi, found);
    for (const TLoadHandler* h : found)
        if (h != this && dynamic_cast<const TPerson*>(h))
            return;
    if (NegotiateHomeArea(lo, hi)) {
        inHomeArea = true;
        homeStart = lo;
        homeEnd = hi;
    }
}

void TReferencePerson::DoWalk()
{
    if (!trail)
        return;
    const bool empty = loads.empty();
    const double reach = trail->GetLength() * 0.01;

    double target = 0.0;
    double lo = 0.0;
    double hi = 0.0;
    if (!empty) {
        target = position + GetStepLength();
        lo = position;
        hi = target + reach;
    } else {
        target = position - GetStepLength();
        lo = target - reach;
        hi = position;
    }
    ClampPosition(target);

    found.clear();
    if (GetChain())
        GetChain()->FindHandlers(lo, hi, found);
    if (!WantsToOvertake())
        KeepDistanceByScan(*this, found, empty, reach, target);

    double distance = 0.0;
    if (TLoadHandler* candidate = FindPartnerByScan(*this, found, empty, distance)) {
        if (!empty)
            GiveLoadTo(candidate);
        else
            candidate->GiveLoadTo(this);
        if (distance > reach) {
            const double p = candidate->GetPosition();
            if (!empty && p > position)
                target = p - reach;
            if (empty && p < position)
                target = p + reach;
        }
    }

    NotifyMoving();
    position = target;
    NotifyMoved();
}

void KeepDistanceByScan(const TPerson& person, const THandlerList& found, bool empty, double reach, double& target)
{
    const double position = person.GetPosition();
    for (const TLoadHandler* h : found) {
        if (h == &person)
            continue;
        const double p = h->GetPosition();
        if (!empty) {
            if (p - reach < target) {
                target = p - reach;
                if (target < position)
                    target = position + reach * 0.1;
            }
        } else if (p + reach > target) {
            target = p + reach;
            if (target > position)
                target = position - reach * 0.1;
        }
    }
}

TLoadHandler* FindPartnerByScan(const TPerson& person, const THandlerList& found, bool empty, double& distance)
{
    const double position = person.GetPosition();
    TLoadHandler* best = nullptr;
    distance = person.GetTrail() ? person.GetTrail()->GetLength() : 0.0;
    for (TLoadHandler* h : found) {
        if (h == &person)
            continue;
        const bool candidate = !empty
            ? h->GetLoadCount() == 0 && person.FindHeaviestLoad(h->GetFreeCapacity()) >= 0
            : h->GetLoadCount() > 0 && h->FindHeaviestLoad(person.GetFreeCapacity()) >= 0;
        if (!candidate)
            continue;
        const double d = std::fabs(position - h->GetPosition());
        if (!best || d < distance) {
            best = h;
            distance = d;
        }
    }
    return best;
}
