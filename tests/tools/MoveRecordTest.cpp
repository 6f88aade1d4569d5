#include "analysis/MoveRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TMoveLayout OnePerson()
{
    TMoveLayout layout;
    layout.trailLength = 1.0;
    layout.stock = 10;
    layout.persons = {{.id = 4, .name = "Fred", .speed = 0.01}};
    return layout;
}

TPersonObservation At(double position, TActivity activity = TActivity::WalkingEmpty)
{
    return {.position = position, .activity = activity, .carriesLoad = activity == TActivity::Carrying};
}

// Feeds positions 0.01 × step² mod 1, an irregular walk whose every extreme is known.
TMoveRecord Walk(int steps, std::size_t capacity, std::vector<double>& positions)
{
    const TPersonObservation start = At(0.0);
    TMoveRecord record(OnePerson(), {&start, 1}, capacity);
    for (int s = 1; s <= steps; ++s) {
        const double p = (s * s % 100) / 100.0;
        positions.push_back(p);
        const TPersonObservation seen = At(p, s % 3 == 0 ? TActivity::Carrying : TActivity::WalkingEmpty);
        record.Add(0, {&seen, 1});
    }
    return record;
}

} // namespace

TEST(MoveRecord, ATrackCoversEveryStepOnceInColumnsOfTheAskedStepsEvenBeyondItsCapacity)
{
    std::vector<double> positions;
    const TMoveRecord record = Walk(11, 4, positions);
    ASSERT_EQ(record.GetStepCount(), 11);
    // Eleven steps in at most four bins: the stride has doubled twice.
    EXPECT_EQ(record.GetBinStride(), 4);

    const std::vector<TTrackBin> track = record.GetTrack(0, 1);
    ASSERT_EQ(track.size(), 3u);
    std::int64_t nextStep = 1;
    std::uint32_t carrying = 0;
    for (const TTrackBin& bin : track) {
        EXPECT_EQ(bin.firstStep, nextStep);
        nextStep = bin.lastStep + 1;
        const auto from = positions.begin() + (bin.firstStep - 1);
        const auto to = positions.begin() + bin.lastStep;
        EXPECT_FLOAT_EQ(bin.first, static_cast<float>(*from));
        EXPECT_FLOAT_EQ(bin.last, static_cast<float>(*(to - 1)));
        EXPECT_FLOAT_EQ(bin.low, static_cast<float>(*std::min_element(from, to)));
        EXPECT_FLOAT_EQ(bin.high, static_cast<float>(*std::max_element(from, to)));
        std::uint32_t steps = 0;
        for (const std::uint32_t n : bin.activity)
            steps += n;
        EXPECT_EQ(steps, bin.Steps());
        carrying += bin.carrying;
    }
    EXPECT_EQ(nextStep, 12);
    EXPECT_EQ(carrying, 3u);

    // Columns of the asked number of steps.
    positions.clear();
    const std::vector<TTrackBin> columns = Walk(10, 64, positions).GetTrack(0, 4);
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(std::make_pair(columns[0].firstStep, columns[0].lastStep), std::make_pair(std::int64_t{1}, std::int64_t{4}));
    EXPECT_EQ(std::make_pair(columns[2].firstStep, columns[2].lastStep), std::make_pair(std::int64_t{9}, std::int64_t{10}));
    EXPECT_DOUBLE_EQ(columns[2].Mean(), (positions[8] + positions[9]) / 2.0);
}

TEST(MoveRecord, TheMoveFinishesWithTheStepThatDeliversTheLastLoad)
{
    const TPersonObservation seen = At(0.0);
    TMoveRecord record(OnePerson(), {&seen, 1});
    for (const std::int32_t delivered : {3, 9, 10, 10})
        record.Add(delivered, {&seen, 1});
    EXPECT_EQ(record.GetFinishStep(), 3);
    EXPECT_EQ(record.GetDeliveredAfter(2), 9);
    EXPECT_EQ(record.GetDeliveredAfter(99), 10);
}
