#include "model/clsPerson.h"

#include "model/clsTrail.h"

#include <iterator>
#include <utility>

const char* const TPerson::Names[] = {
    "Fred", "Ferdi", "Fritz", "Friedrich", "Linda", "Luna", "Lara", "Lisa",
    "Lene", "Lotte", "Lysanne", "Susi", "Sandra", "Silke", "Sonja", "Sylvia",
    "Silvana", "Heinrich", "Herbert", "Herrmann", "Horst", "Heiner", "Heiko", "Hugo",
    "Marie", "Marta", "Mara", "Melanie", "Manu", "Minna", "Petra", "Paula",
    "Frank", "Ulla", "Usch", "Corinna", "Albert", "Felix", "Nele", "Keno",
    "Kuddel", "Franzi", "Barbara", "Ina", "Stefan", "Kermit", "Bodo Quirlitz", "Seven Of Nine",
};
const int TPerson::NameCount = static_cast<int>(std::size(TPerson::Names));


TPerson::TPerson(TObjectIds& ids, std::string theName)
    : TLoadHandler(ids)
    , name(std::move(theName))
{
}

const char* TPerson::TableName(std::int64_t index)
{
    return Names[index % NameCount];
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
    if (onBreak || (leaving && state == TPersonState::Walking))
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
    case TPersonState::Walking: DoWalk(); break;
    case TPersonState::Giving: DoGive(); break;
    case TPersonState::Receiving: DoReceive(); break;
    }
    if (!loads.empty())
        fitness = fitness * TiringFactor;
    if (onBreak)
        fitness = fitness * RecoveryFactor;
    UpdateBreak();
    return false;
}

void TPerson::GiveLoadTo(TLoadHandler* receiver)
{
    if (!receiver)
        return;
    if (state == TPersonState::Giving && GetChain() && GetChain()->GetHandoverRule() == THandoverRule::Finish)
        return;
    state = TPersonState::Giving;
    stepCounter = 0;
    receiver->BeginReceive();
    partner = receiver;
}

void TPerson::BeginReceive()
{
    state = TPersonState::Receiving;
    stepCounter = 0;
}

void TPerson::SaveState(THandlerRecord& record, TChainRecord& chainRecord) const
{
    record.position = position;
    record.fitness = fitness;
    record.onBreak = onBreak;
    record.leaving = leaving;
    record.state = static_cast<std::uint8_t>(state);
    record.stepCounter = stepCounter;
    record.partner = partner && GetChain() ? GetChain()->SlotOf(partner) : -1;
    record.count = GetLoadCount();
    record.firstLoad = static_cast<std::int32_t>(chainRecord.loads.size());
    for (const TZLoad* load : loads)
        chainRecord.loads.push_back({load->GetId(), load->GetSerialNumber(), load->GetWeight()});
}

void TPerson::RestoreState(const THandlerRecord& record, const TChainRecord& chainRecord)
{
    position = record.position;
    fitness = record.fitness;
    onBreak = record.onBreak;
    leaving = record.leaving;
    state = static_cast<TPersonState>(record.state);
    stepCounter = record.stepCounter;
    partner = GetChain() ? GetChain()->GetHandler(record.partner) : nullptr;
    for (TZLoad* load : loads)
        delete load;
    loads.clear();
    for (std::int32_t i = 0; i < record.count; ++i) {
        const TLoadRecord& made = chainRecord.loads[static_cast<std::size_t>(record.firstLoad + i)];
        TObjectIds numbering(made.id, made.serialNumber);
        loads.push_back(new TZStdLoad(numbering, made.weight));
    }
}

void TPerson::LeaveTrail()
{
    if (TBucketChain* const ownChain = GetChain())
        ownChain->RemoveHandler(this);
}

double TPerson::GetStepLength() const
{
    const TTrailSection* section = trail ? trail->GetSectionAt(position, sectionHint) : nullptr;
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
        if (fitness < BreakBelowFitness)
            onBreak = true;
    } else if (fitness > BreakEndsAboveFitness) {
        onBreak = false;
    }
}

void TPerson::DoWalk()
{
    if (!trail)
        return;
    const bool empty = loads.empty();
    const double reach = trail->GetLength() * ReachShare;

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
        found = GetChain()->FindHandlerRange(lo, hi, this);
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
    if (stepCounter == GivingSteps - 1) {
        TLoadHandler::GiveLoadTo(partner);
        state = TPersonState::Walking;
    }
    ++stepCounter;
}

void TPerson::DoReceive()
{
    if (stepCounter == ReceivingSteps - 1)
        state = TPersonState::Walking;
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
    // The chain's generator: each scenario draws its own sequence from its seed.
    TBucketChain* const ownChain = GetChain();
    return ownChain && ownChain->NextDraw() % 1000 < OvertakingPerMille;
}

double TPerson::GetLoadWeight() const
{
    double weight = 0.0;
    for (const TZLoad* load : loads)
        weight = weight + load->GetWeight();
    return weight;
}
