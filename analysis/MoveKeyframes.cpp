#include "analysis/MoveKeyframes.h"

#include "model/clsBucketChain.h"

#include <algorithm>
#include <iterator>

void TKeyframe::RestoreInto(TScenario& scenario) const
{
    if (snapshot)
        scenario.Restore(*snapshot, curve);
}

TMoveKeyframes::TMoveKeyframes(std::size_t theBudgetBytes)
    : budgetBytes(theBudgetBytes)
{
}

void TMoveKeyframes::Offer(const TScenario& scenario)
{
    if (interval == 0) {
        const std::lock_guard lock(guard);
        interval = std::max<std::int64_t>(1, HandlerStepsApart / std::max(1, scenario.GetChain()->GetHandlerCount()));
    }
    if (scenario.GetLoop().GetStep() % interval == 0)
        Keep(scenario);
}

void TMoveKeyframes::Keep(const TScenario& scenario)
{
    // Taken outside the guard: jumps read on meanwhile.
    auto snapshot = std::make_shared<const TScenarioSnapshot>(scenario.TakeSnapshot());
    const std::vector<TDeliveryPoint>& deliveries = scenario.GetLoop().GetDeliveries();
    const std::lock_guard lock(guard);
    if (!snapshots.empty() && snapshots.back()->GetStep() >= snapshot->GetStep())
        return;
    if (deliveries.size() > curve.size())
        curve.insert(curve.end(), deliveries.begin() + static_cast<std::ptrdiff_t>(curve.size()), deliveries.end());
    snapshotBytes += snapshot->GetBytes();
    snapshots.push_back(std::move(snapshot));
    if (snapshotBytes + curve.capacity() * sizeof(TDeliveryPoint) > budgetBytes && interval > 0)
        Thin();
}

// Keeps the snapshots at multiples of twice the interval, and the newest,
// which may be where the run ended. A jump in use keeps its own snapshot alive.
void TMoveKeyframes::Thin()
{
    interval *= 2;
    const auto dropped = std::remove_if(snapshots.begin(), std::prev(snapshots.end()),
                                        [this](const auto& snapshot) { return snapshot->GetStep() % interval != 0; });
    snapshots.erase(dropped, std::prev(snapshots.end()));
    snapshotBytes = 0;
    for (const auto& snapshot : snapshots)
        snapshotBytes += snapshot->GetBytes();
}

TKeyframe TMoveKeyframes::Nearest(std::int64_t step) const
{
    const std::lock_guard lock(guard);
    const auto after = std::upper_bound(snapshots.begin(), snapshots.end(), step,
                                        [](std::int64_t s, const auto& snapshot) { return s < snapshot->GetStep(); });
    if (after == snapshots.begin())
        return {};
    const auto& snapshot = *std::prev(after);
    const auto points = static_cast<std::ptrdiff_t>(snapshot->loop.deliveryCount);
    return {snapshot, std::vector<TDeliveryPoint>(curve.begin(), curve.begin() + points)};
}

std::int64_t TMoveKeyframes::GetInterval() const
{
    const std::lock_guard lock(guard);
    return interval;
}

std::size_t TMoveKeyframes::GetCount() const
{
    const std::lock_guard lock(guard);
    return snapshots.size();
}

std::size_t TMoveKeyframes::GetBytes() const
{
    const std::lock_guard lock(guard);
    return snapshotBytes + curve.capacity() * sizeof(TDeliveryPoint);
}
