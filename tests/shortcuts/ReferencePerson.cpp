#include "ReferencePerson.h"

#include "model/clsTrail.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

void TReferenceOrder::Start(const TBucketChain& chain)
{
    byPosition.clear();
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i)
        byPosition.push_back(chain.GetHandler(i));
    std::stable_sort(byPosition.begin(), byPosition.end(),
                     [](const TLoadHandler* a, const TLoadHandler* b) { return a->GetPosition() < b->GetPosition(); });
}

void TReferenceOrder::OnHandlerMove(TLoadHandler* handler, std::uint8_t phase)
{
    if (phase != TBucketChain::PhaseMoved)
        return;
    byPosition.erase(std::find(byPosition.begin(), byPosition.end(), handler));
    const double p = handler->GetPosition();
    const auto after = std::find_if(byPosition.begin(), byPosition.end(),
                                    [p](const TLoadHandler* h) { return p < h->GetPosition(); });
    byPosition.insert(after, handler);
}

void TReferenceOrder::FindHandlers(double lo, double hi, THandlerList& out) const
{
    if (lo > hi)
        std::swap(lo, hi);
    out.clear();
    for (TLoadHandler* h : byPosition)
        if (const double p = h->GetPosition(); lo <= p && p <= hi)
            out.push_back(h);
}

TReferencePerson::TReferencePerson(TObjectIds& ids, std::string theName, const TReferenceOrder& theOrder)
    : THomeareaPerson(ids, std::move(theName))
    , order(theOrder)
{
}

bool TReferencePerson::Step()
{
    if (onBreak) {
        inHomeArea = false;
        FileHomeArea();
    } else if (!inHomeArea) {
        TryFoundHomeAreaByScan();
    }
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
    order.FindHandlers(lo, hi, found);
    for (const TLoadHandler* h : found)
        if (h != this && dynamic_cast<const TPerson*>(h))
            return;
    if (NegotiateHomeAreaByScan(lo, hi)) {
        inHomeArea = true;
        homeStart = lo;
        homeEnd = hi;
        FileHomeArea();
    }
}

bool TReferencePerson::NegotiateHomeAreaByScan(double& lo, double& hi)
{
    TBucketChain* const ownChain = GetChain();
    double newLo = lo;
    double newHi = hi;
    std::vector<std::int32_t> lowList;
    std::vector<std::int32_t> highList;
    bool conflict = false;
    for (std::int32_t i = 0; i < ownChain->GetHandlerCount(); ++i) {
        auto* h = dynamic_cast<THomeareaPerson*>(ownChain->LockHandler(i));
        if (h && h->IsInHomeArea()) {
            const double a = h->GetHomeStart();
            const double b = h->GetHomeEnd();
            if (a <= lo && lo < b) {
                lowList.push_back(i);
                const double cut = (lo + b) / 2;
                conflict = conflict || !h->SetHomeArea(a, cut, true);
                newLo = cut > newLo ? cut : newLo;
            }
            if (a <= hi && hi < b) {
                highList.push_back(i);
                const double cut = a + (hi - a) * 0.5;
                conflict = conflict || !h->SetHomeArea(cut, b, true);
                newHi = cut < newHi ? cut : newHi;
            }
        }
        ownChain->UnlockHandler(i);
    }
    if (conflict || !SetHomeArea(newLo, newHi, true))
        return false;
    lo = newLo;
    hi = newHi;
    for (const std::int32_t i : lowList) {
        auto* h = static_cast<THomeareaPerson*>(ownChain->LockHandler(i));
        h->SetHomeArea(h->GetHomeStart(), lo, false);
        ownChain->UnlockHandler(i);
    }
    for (const std::int32_t i : highList) {
        auto* h = static_cast<THomeareaPerson*>(ownChain->LockHandler(i));
        h->SetHomeArea(hi, h->GetHomeEnd(), false);
        ownChain->UnlockHandler(i);
    }
    return true;
}

void TReferencePerson::DoWalk()
{
    if (!trail)
        return;
    const bool empty = loads.empty();
    const double reach = trail->GetLength() * 0.01;

    const double step = GetStepLength();
    double target = empty ? position - step : position + step;
    const double lo = empty ? target - reach : position;
    const double hi = empty ? position : target + reach;
    ClampPosition(target);

    found.clear();
    if (GetChain())
        order.FindHandlers(lo, hi, found);
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
