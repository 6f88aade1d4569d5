#include "model/clsHomeareaPerson.h"

#include "model/clsTrail.h"

#include <iterator>
#include <typeinfo>
#include <vector>

namespace {

// A run-time type test that asks for the exact class first: a home-area
// person, by far the most common handler, is then recognised without a walk
// over the class hierarchy.
template <typename T, typename THandler>
T* AsPerson(THandler* h)
{
    if (h && typeid(*h) == typeid(THomeareaPerson))
        return static_cast<T*>(h);
    return dynamic_cast<T*>(h);
}

} // namespace

bool THomeareaPerson::Step()
{
    if (onBreak) {
        if (inHomeArea) {
            inHomeArea = false;
            FileHomeArea();
        }
    } else if (!inHomeArea) {
        TryFoundHomeArea();
    }
    return TPerson::Step();
}

void THomeareaPerson::SetChain(TBucketChain* newChain)
{
    TPerson::SetChain(newChain);
    if (inHomeArea)
        FileHomeArea();
}

void THomeareaPerson::LeaveTrail()
{
    if (inHomeArea) {
        inHomeArea = false;
        FileHomeArea();
    }
    TPerson::LeaveTrail();
}

void THomeareaPerson::SaveState(THandlerRecord& record, TChainRecord& chainRecord) const
{
    TPerson::SaveState(record, chainRecord);
    record.inHomeArea = inHomeArea;
    record.homeStart = homeStart;
    record.homeEnd = homeEnd;
    record.homeSteps = homeSteps;
    record.homeCorrections = homeCorrections;
}

void THomeareaPerson::RestoreState(const THandlerRecord& record, const TChainRecord& chainRecord)
{
    TPerson::RestoreState(record, chainRecord);
    inHomeArea = record.inHomeArea;
    homeStart = record.homeStart;
    homeEnd = record.homeEnd;
    homeSteps = record.homeSteps;
    homeCorrections = record.homeCorrections;
}

void THomeareaPerson::FileHomeArea()
{
    if (TBucketChain* const ownChain = GetChain())
        ownChain->HandlerAreaChanged(this, inHomeArea, homeStart, homeEnd);
}

void THomeareaPerson::ClampPosition(double& target)
{
    if (inHomeArea && homeSteps >= ReviewSteps) {
        if (homeCorrections > CorrectionsLimit) {
            inHomeArea = false;
            FileHomeArea();
        }
        homeSteps = 0;
        homeCorrections = 0;
    }
    if (inHomeArea) {
        ++homeSteps;
        if (target < homeStart) {
            ++homeCorrections;
            target = homeStart;
        } else if (target > homeEnd) {
            ++homeCorrections;
            target = homeEnd;
        }
    }
    TPerson::ClampPosition(target);
}

void THomeareaPerson::TryFoundHomeArea()
{
    TBucketChain* const ownChain = GetChain();
    if (!ownChain)
        return;
    const double w = GetMinimumHomeLength();
    double lo = position - w;
    double hi = position + w;
    if (AnyOtherPersonWithin(*ownChain, lo, hi))
        return;
    if (NegotiateHomeArea(lo, hi)) {
        inHomeArea = true;
        homeStart = lo;
        homeEnd = hi;
        FileHomeArea();
    }
}

bool THomeareaPerson::AnyOtherPersonWithin(const TBucketChain& ownChain, double lo, double hi) const
{
    const auto isOtherPerson = [this](TPositionIndex::const_iterator it) {
        return it->second != this && AsPerson<const TPerson>(it->second) != nullptr;
    };
    // Where no order can matter, the index is walked outward from the
    // person's own entry, which lies within [lo, hi]: the nearest neighbours
    // decide at once, and no descent from the root is needed.
    const TPositionIndex& index = ownChain.GetPositionIndex();
    const auto own = ownChain.FindEntry(this);
    if (own != index.end() && own->first == position && lo <= position && position <= hi) {
        for (auto it = own; it != index.begin() && !(std::prev(it)->first < lo);)
            if (isOtherPerson(--it))
                return true;
        for (auto it = std::next(own); it != index.end() && !(hi < it->first); ++it)
            if (isOtherPerson(it))
                return true;
        return false;
    }
    const THandlerRange near = ownChain.FindHandlerRange(lo, hi);
    for (auto it = near.first; it != near.last; ++it)
        if (isOtherPerson(it))
            return true;
    return false;
}

bool THomeareaPerson::SetHomeArea(double lo, double hi, bool checkOnly)
{
    if (GetMinimumHomeLength() * 1.0 > hi - lo)
        return false;
    if (!checkOnly) {
        homeStart = lo;
        homeEnd = hi;
        FileHomeArea();
    }
    return true;
}

bool THomeareaPerson::NegotiateHomeArea(double& lo, double& hi)
{
    TBucketChain* const ownChain = GetChain();
    if (!ownChain)
        return false;
    double newLo = lo;
    double newHi = hi;
    std::vector<std::int32_t> lowList;
    std::vector<std::int32_t> highList;
    bool conflict = false;

    std::vector<std::int32_t> near;
    ownChain->FindAreaHolders(lo, hi, near);
    for (const std::int32_t i : near) {
        auto* h = AsPerson<THomeareaPerson>(ownChain->LockHandler(i));
        if (h && h->inHomeArea) {
            const double a = h->homeStart;
            const double b = h->homeEnd;
            if (a <= lo && lo < b) {
                lowList.push_back(i);
                const double cut = (lo + b) / 2;
                if (!h->SetHomeArea(a, cut, true))
                    conflict = true;
                if (cut > newLo)
                    newLo = cut;
            }
            if (a <= hi && hi < b) {
                highList.push_back(i);
                const double cut = a + (hi - a) * 0.5;
                if (!h->SetHomeArea(cut, b, true))
                    conflict = true;
                if (cut < newHi)
                    newHi = cut;
            }
        }
        ownChain->UnlockHandler(i);
    }

    if (conflict || !SetHomeArea(newLo, newHi, true))
        return false;
    lo = newLo;
    hi = newHi;

    for (const std::int32_t i : lowList) {
        if (auto* h = AsPerson<THomeareaPerson>(ownChain->LockHandler(i)))
            h->SetHomeArea(h->homeStart, lo, false);
        ownChain->UnlockHandler(i);
    }
    for (const std::int32_t i : highList) {
        if (auto* h = AsPerson<THomeareaPerson>(ownChain->LockHandler(i)))
            h->SetHomeArea(hi, h->homeEnd, false);
        ownChain->UnlockHandler(i);
    }
    return true;
}

double THomeareaPerson::GetMinimumHomeLength() const
{
    const TBucketChain* const ownChain = GetChain();
    if (!ownChain || !trail || ownChain->GetLargestHandlerCount() == 0)
        return 0.0;
    return trail->GetLength() / ownChain->GetLargestHandlerCount();
}

std::int32_t THomeareaPerson::GetSatisfaction() const
{
    if (homeSteps == 0)
        return 0;
    return 100 - (homeCorrections * 100 / homeSteps);
}
