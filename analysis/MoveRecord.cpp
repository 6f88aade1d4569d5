#include "analysis/MoveRecord.h"

#include <algorithm>
#include <utility>

void TTrackBin::Merge(const TTrackBin& later)
{
    lastStep = later.lastStep;
    last = later.last;
    low = std::min(low, later.low);
    high = std::max(high, later.high);
    sum += later.sum;
    for (std::size_t a = 0; a < ActivityCount; ++a)
        activity[a] += later.activity[a];
    carrying += later.carrying;
    breakStarts += later.breakStarts;
}

TMoveRecord::TMoveRecord(TMoveLayout theLayout, std::span<const TPersonObservation> theInitial, std::size_t theBinCapacity)
    : layout(std::move(theLayout))
    , initial(theInitial.begin(), theInitial.end())
    , previous(theInitial.begin(), theInitial.end())
    , totals(this->layout.persons.size())
    , binCapacity(std::max<std::size_t>(2, theBinCapacity + theBinCapacity % 2))
    , tracks(this->layout.persons.size())
{
    // Without a picture of the start, every person starts fresh at the source.
    previous.resize(this->layout.persons.size());
    this->initial.resize(this->layout.persons.size());
}

void TMoveRecord::Add(std::int32_t deliveredSoFar, std::span<const TPersonObservation> persons)
{
    if (persons.size() != layout.persons.size())
        return;
    delivered.push_back(deliveredSoFar);
    const std::int64_t step = GetStepCount();
    if (finishStep < 0 && deliveredSoFar >= layout.stock)
        finishStep = step;

    const bool newBin = tracks.empty() || tracks[0].empty() || tracks[0].back().Steps() == stride;
    if (newBin && !tracks.empty() && tracks[0].size() == binCapacity)
        Halve();

    for (std::size_t i = 0; i < persons.size(); ++i) {
        const TPersonObservation& now = persons[i];
        const TPersonObservation& before = previous[i];
        TPersonTotals& t = totals[i];
        const auto activity = static_cast<std::size_t>(now.activity);
        const bool breakStarts = BreakStarts(before.activity == TActivity::OnBreak, now.activity == TActivity::OnBreak);
        if (now.onTrail) {
            ++t.stepsOnTrail;
            ++t.activity[activity];
            t.breaks += breakStarts ? 1 : 0;
            if (now.inHomeArea && !before.inHomeArea)
                ++t.founded;
            else if (!now.inHomeArea && before.inHomeArea)
                ++t.givenUp;
            else if (now.inHomeArea && (now.homeStart != before.homeStart || now.homeEnd != before.homeEnd))
                ++t.moved;
        }

        const auto position = static_cast<float>(now.position);
        std::vector<TTrackBin>& track = tracks[i];
        if (newBin) {
            TTrackBin bin;
            bin.firstStep = step;
            bin.lastStep = step - 1;
            bin.first = bin.low = bin.high = position;
            track.push_back(bin);
        }
        TTrackBin& bin = track.back();
        bin.lastStep = step;
        bin.last = position;
        bin.low = std::min(bin.low, position);
        bin.high = std::max(bin.high, position);
        bin.sum += now.position;
        ++bin.activity[activity];
        bin.carrying += now.carriesLoad ? 1 : 0;
        bin.breakStarts += breakStarts ? 1 : 0;
        previous[i] = now;
    }
}

void TMoveRecord::Halve()
{
    // Every bin is full here, so pairs merge into full bins of twice the stride.
    for (std::vector<TTrackBin>& track : tracks) {
        for (std::size_t j = 0; j < track.size() / 2; ++j) {
            TTrackBin merged = track[2 * j];
            merged.Merge(track[2 * j + 1]);
            track[j] = merged;
        }
        track.resize(track.size() / 2);
    }
    stride *= 2;
}

std::int32_t TMoveRecord::GetDeliveredAfter(std::int64_t step) const
{
    if (step <= 0 || delivered.empty())
        return 0;
    return delivered[static_cast<std::size_t>(std::min(step, GetStepCount()) - 1)];
}

std::vector<TTrackBin> TMoveRecord::GetTrack(std::size_t person, std::int64_t stepsPerBin) const
{
    std::vector<TTrackBin> result;
    if (person >= tracks.size())
        return result;
    stepsPerBin = std::max<std::int64_t>(1, stepsPerBin);
    // Bins are grouped by the column of stepsPerBin steps their first step falls in,
    // so that groups line up with the same columns however fine the bins are.
    const auto column = [&](const TTrackBin& bin) { return (bin.firstStep - 1) / stepsPerBin; };
    for (const TTrackBin& bin : tracks[person]) {
        if (!result.empty() && column(result.back()) == column(bin))
            result.back().Merge(bin);
        else
            result.push_back(bin);
    }
    return result;
}
