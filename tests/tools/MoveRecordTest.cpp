#include "analysis/MoveRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// One person fed positions 0.01 × step² mod 1, an irregular walk whose every extreme is
// known. The report's test reads the deliveries, the picture's columns of many steps.
TMoveRecord Walk(int steps, std::size_t capacity, std::vector<double>& positions)
{
    TMoveLayout layout;
    layout.trailLength = 1.0;
    layout.stock = 10;
    layout.persons = {{.id = 4, .name = "Fred", .speed = 0.01}};
    const TPersonObservation start;
    TMoveRecord record(layout, {&start, 1}, capacity);
    for (int s = 1; s <= steps; ++s) {
        positions.push_back((s * s % 100) / 100.0);
        const TPersonObservation seen{.position = positions.back(),
                                      .activity = s % 3 == 0 ? TActivity::Carrying : TActivity::WalkingEmpty,
                                      .carriesLoad = s % 3 == 0};
        record.Add(0, {&seen, 1});
    }
    return record;
}

} // namespace

TEST(MoveRecord, ATrackCoversEveryStepOnceWithItsExtremesEvenBeyondItsCapacity)
{
    std::vector<double> positions;
    const TMoveRecord record = Walk(11, 4, positions);
    ASSERT_EQ(record.GetStepCount(), 11);
    // Eleven steps in at most four bins: the stride has doubled twice.
    EXPECT_EQ(record.GetBinStride(), 4);
    std::int64_t nextStep = 1;
    for (const TTrackBin& bin : record.GetTrack(0, 1)) {
        EXPECT_EQ(bin.firstStep, nextStep);
        nextStep = bin.lastStep + 1;
        const auto from = positions.begin() + (bin.firstStep - 1);
        const auto to = positions.begin() + bin.lastStep;
        EXPECT_FLOAT_EQ(bin.first, static_cast<float>(*from));
        EXPECT_FLOAT_EQ(bin.last, static_cast<float>(*(to - 1)));
        EXPECT_FLOAT_EQ(bin.low, static_cast<float>(*std::min_element(from, to)));
        EXPECT_FLOAT_EQ(bin.high, static_cast<float>(*std::max_element(from, to)));
        EXPECT_EQ(std::accumulate(bin.activity.begin(), bin.activity.end(), 0u), bin.Steps());
    }
    EXPECT_EQ(nextStep, 12);
}
