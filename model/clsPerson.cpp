#include "model/clsPerson.h"

#include "model/clsTrail.h"

#include <iterator>
#include <random>
#include <typeinfo>
#include <vector>

const char* const TPerson::Names[] = {
    "Fred", "Ferdi", "Fritz", "Friedrich", "Linda", "Luna", "Lara", "Lisa",
    "Lene", "Lotte", "Lysanne", "Susi", "Sandra", "Silke", "Sonja", "Sylvia",
    "Silvana", "Heinrich", "Herbert", "Herrmann", "Horst", "Heiner", "Heiko", "Hugo",
    "Marie", "Marta", "Mara", "Melanie", "Manu", "Minna", "Petra", "Paula",
    "Frank", "Ulla", "Usch", "Corinna", "Albert", "Felix", "Nele", "Keno",
    "Kuddel", "Franzi", "Barbara", "Ina", "Stefan", "Kermit", "Bodo Quirlitz", "Seven Of Nine",
};
const int TPerson::NameCount = static_cast<int>(std::size(TPerson::Names));

namespace {

// Where the next person takes its name; persons are made on one thread at a time.
int nextNameIndex = 0;

std::string TakeNextName()
{
    if (nextNameIndex >= TPerson::NameCount)
        nextNameIndex = 0;
    return TPerson::Names[nextNameIndex++];
}

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

TPerson::TPerson()
    : name(TakeNextName())
{
}

TPerson::~TPerson()
{
    for (TZLoad* load : loads)
        delete load;
}

bool TPerson::IsKind(std::uint8_t kind) const
{
    return kind == KindPerson;
}

bool TPerson::PutLoad(TZLoad* load)
{
    if (!load || load->GetWeight() > GetFreeCapacity())
        return false;
    loads.push_back(load);
    return true;
}

std::int32_t TPerson::GetLoadCount() const
{
    return static_cast<std::int32_t>(loads.size());
}

TZLoad* TPerson::GetLoad(std::int32_t index) const
{
    if (index < 0 || index >= GetLoadCount())
        return nullptr;
    return loads[static_cast<std::size_t>(index)];
}

TZLoad* TPerson::TakeLoad(std::int32_t index)
{
    if (index < 0 || index >= GetLoadCount())
        return nullptr;
    const auto it = loads.begin() + index;
    TZLoad* load = *it;
    loads.erase(it);
    return load;
}

double TPerson::GetFreeCapacity() const
{
    if (onBreak)
        return 0.0;
    return loads.empty() ? 1.0 : 0.0;
}

double TPerson::GetPosition() const
{
    return position;
}

bool TPerson::Step()
{
    switch (state) {
    case StateWalking: DoWalk(); break;
    case StateGiving: DoGive(); break;
    case StateReceiving: DoReceive(); break;
    default: break;
    }
    if (!loads.empty())
        fitness = fitness * 0.9999;
    if (onBreak)
        fitness = fitness * 1.0015;
    UpdateBreak();
    return false;
}

void TPerson::GiveLoadTo(TLoadHandler* receiver)
{
    if (!receiver)
        return;
    state = StateGiving;
    stepCounter = 0;
    receiver->BeginReceive();
    partner = receiver;
}

void TPerson::BeginReceive()
{
    state = StateReceiving;
    stepCounter = 0;
}

double TPerson::GetStepLength() const
{
    const TTrailSection* section = trail ? trail->GetSectionAt(position) : nullptr;
    if (onBreak || !section)
        return 0.0;
    const double factor = section->GetSpeedFactor(loads.empty());
    return speed * factor * fitness;
}

void TPerson::SetTrail(TTrail* newTrail)
{
    trail = newTrail;
}

void TPerson::SetPosition(double newPosition)
{
    NotifyMoving();
    position = newPosition;
    NotifyMoved();
}

void TPerson::UpdateBreak()
{
    if (!onBreak) {
        if (fitness < 0.5)
            onBreak = true;
    } else if (fitness > 0.9) {
        onBreak = false;
    }
}

void TPerson::DoWalk()
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

    THandlerRange found{};
    if (GetChain())
        found = GetChain()->FindHandlerRange(lo, hi);
    if (!WantsToOvertake())
        KeepDistance(found, empty, reach, target);

    double distance = 0.0;
    if (TLoadHandler* candidate = FindPartner(found, empty, distance)) {
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

void TPerson::DoGive()
{
    if (stepCounter == 2) {
        TLoadHandler::GiveLoadTo(partner);
        state = StateWalking;
    }
    ++stepCounter;
}

void TPerson::DoReceive()
{
    if (stepCounter == 4)
        state = StateWalking;
    ++stepCounter;
}

void TPerson::ClampPosition(double& target)
{
    if (target < 0.0)
        target = 0.0;
    if (trail && target > trail->GetLength())
        target = trail->GetLength();
}

bool TPerson::WantsToOvertake()
{
    // One generator per thread, never seeded: every run draws the same sequence.
    static thread_local std::mt19937 generator;
    const auto r = generator();
    return r % 1000 < 5;
}

double TPerson::GetLoadWeight() const
{
    double weight = 0.0;
    for (const TZLoad* load : loads)
        weight = weight + load->GetWeight();
    return weight;
}

bool THomeareaPerson::Step()
{
    if (onBreak)
        inHomeArea = false;
    else if (!inHomeArea)
        TryFoundHomeArea();
    return TPerson::Step();
}

void THomeareaPerson::ClampPosition(double& target)
{
    if (inHomeArea && homeSteps >= 1000) {
        if (homeCorrections > 750)
            inHomeArea = false;
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
    TBucketChain* chain = GetChain();
    if (!chain)
        return;
    const double w = GetMinimumHomeLength();
    double lo = position - w;
    double hi = position + w;
    const THandlerRange near = chain->FindHandlerRange(lo, hi);
    for (auto it = near.first; it != near.last; ++it)
        if (it->second != this && AsPerson<const TPerson>(it->second))
            return;
    if (NegotiateHomeArea(lo, hi)) {
        inHomeArea = true;
        homeStart = lo;
        homeEnd = hi;
    }
}

bool THomeareaPerson::SetHomeArea(double lo, double hi, bool checkOnly)
{
    if (GetMinimumHomeLength() * 1.0 > hi - lo)
        return false;
    if (!checkOnly) {
        homeStart = lo;
        homeEnd = hi;
    }
    return true;
}

bool THomeareaPerson::NegotiateHomeArea(double& lo, double& hi)
{
    TBucketChain* chain = GetChain();
    if (!chain)
        return false;
    double newLo = lo;
    double newHi = hi;
    std::vector<std::int32_t> lowList;
    std::vector<std::int32_t> highList;
    bool conflict = false;

    const std::int32_t count = chain->GetHandlerCount();
    for (std::int32_t i = 0; i < count; ++i) {
        auto* h = AsPerson<THomeareaPerson>(chain->LockHandler(i));
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
        chain->UnlockHandler(i);
    }

    if (conflict || !SetHomeArea(newLo, newHi, true))
        return false;
    lo = newLo;
    hi = newHi;

    for (const std::int32_t i : lowList) {
        if (auto* h = AsPerson<THomeareaPerson>(chain->LockHandler(i)))
            h->SetHomeArea(h->homeStart, lo, false);
        chain->UnlockHandler(i);
    }
    for (const std::int32_t i : highList) {
        if (auto* h = AsPerson<THomeareaPerson>(chain->LockHandler(i)))
            h->SetHomeArea(hi, h->homeEnd, false);
        chain->UnlockHandler(i);
    }
    return true;
}

double THomeareaPerson::GetMinimumHomeLength() const
{
    const TBucketChain* chain = GetChain();
    if (!chain || !trail || chain->GetHandlerCount() == 0)
        return 0.0;
    return trail->GetLength() / chain->GetHandlerCount();
}

std::int32_t THomeareaPerson::GetSatisfaction() const
{
    if (homeSteps == 0)
        return 0;
    return 100 - (homeCorrections * 100 / homeSteps);
}
