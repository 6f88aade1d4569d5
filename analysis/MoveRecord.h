#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What a person was doing at the end of a step. A person on a break counts as
// on a break whatever its hand-over state; otherwise giving and receiving
// count as such, and a walking person as carrying or walking empty.
enum class TActivity : std::uint8_t { Carrying, WalkingEmpty, Giving, Receiving, OnBreak };
inline constexpr std::size_t ActivityCount = 5;

// A break is counted as it starts: in a step after which the person is on a
// break and before which it was not.
constexpr bool BreakStarts(bool onBreakBefore, bool onBreakAfter)
{
    return onBreakAfter && !onBreakBefore;
}

// One person seen between two steps.
struct TPersonObservation
{
    double position = 0.0;
    TActivity activity = TActivity::WalkingEmpty;
    bool carriesLoad = false;
    // False while a person of the schedule has not joined yet or has left.
    bool onTrail = true;
    bool inHomeArea = false;
    double homeStart = 0.0;
    double homeEnd = 0.0;
};

// The fixed facts of a run: what the trail and the persons are like.
struct TMoveLayout
{
    struct TStretch
    {
        double start = 0.0;
        double length = 0.0;
        bool steps = false;
        // Walking-speed factor while carrying a load.
        double carryingFactor = 1.0;
    };
    struct TPersonInfo
    {
        std::int32_t id = 0;
        std::string name;
        // Distance per step on plain ground at full fitness.
        double speed = 0.0;
        // On the trail at the record's first step; a person who joins later
        // adds nothing to the throughput bound.
        bool atStart = true;
    };

    // The step the record starts after: 0 for a whole run, A for a window A:B.
    std::int64_t firstStep = 0;
    double trailLength = 0.0;
    std::vector<TStretch> stretches;
    std::vector<TPersonInfo> persons;
    std::int32_t stock = 0;
};

// A stretch of consecutive steps of one person, condensed to what a picture
// needs: the first, last, lowest and highest position and what the person did.
struct TTrackBin
{
    // The steps covered are firstStep..lastStep, both included.
    std::int64_t firstStep = 0;
    std::int64_t lastStep = 0;
    float first = 0.0f;
    float last = 0.0f;
    float low = 0.0f;
    float high = 0.0f;
    // Sum of the positions at the ends of the steps, for the mean.
    double sum = 0.0;
    std::array<std::uint32_t, ActivityCount> activity{};
    // Steps in the bin at whose end the person held a load.
    std::uint32_t carrying = 0;
    std::uint32_t breakStarts = 0;

    std::int64_t Steps() const { return lastStep - firstStep + 1; }
    double Mean() const { return sum / static_cast<double>(Steps()); }
    void Merge(const TTrackBin& later);
};

// Everything a run's report and picture are made of, fed one step at a time.
// Exact totals are kept for the whole run; the persons' tracks are kept at a
// resolution that halves whenever they fill their capacity, so that a run of
// any length costs a bounded amount of memory.
class TMoveRecord
{
public:
    struct TPersonTotals
    {
        std::array<std::int64_t, ActivityCount> activity{};
        // Home-area changes as seen between steps: founded (none before, one
        // after), given up (one before, none after), moved (one before and
        // after, with other borders: a neighbour's negotiation cut it).
        std::int64_t founded = 0;
        std::int64_t givenUp = 0;
        std::int64_t moved = 0;
        std::int64_t breaks = 0;
        // Steps at whose end the person stood on the trail; the activities
        // and changes above count only those.
        std::int64_t stepsOnTrail = 0;
    };

    // initial: the persons before the first step, in the layout's order.
    // binCapacity: the most track bins kept per person, at least 2 (rounded up to even).
    TMoveRecord(TMoveLayout layout, std::span<const TPersonObservation> initial, std::size_t binCapacity = 4096);

    // One step: the sink's delivered count and every person, in the layout's order,
    // after the step. Observations for a different number of persons are ignored.
    void Add(std::int32_t deliveredSoFar, std::span<const TPersonObservation> persons);

    const TMoveLayout& GetLayout() const { return layout; }
    std::int64_t GetStepCount() const { return static_cast<std::int64_t>(delivered.size()); }
    // Loads delivered up to the end of the step; 0 for step 0.
    std::int32_t GetDeliveredAfter(std::int64_t step) const;
    // The first step after which every load of the stock was delivered, or -1.
    std::int64_t GetFinishStep() const { return finishStep; }
    const TPersonTotals& GetTotals(std::size_t person) const { return totals[person]; }
    const std::vector<TPersonObservation>& GetInitial() const { return initial; }
    // The persons after the last step added.
    const std::vector<TPersonObservation>& GetLatest() const { return previous; }

    // The person's track in bins of stepsPerBin steps or more: the bins kept,
    // merged so that no two consecutive bins start within stepsPerBin steps.
    std::vector<TTrackBin> GetTrack(std::size_t person, std::int64_t stepsPerBin) const;
    std::int64_t GetBinStride() const { return stride; }

private:
    void Halve();

    TMoveLayout layout;
    std::vector<TPersonObservation> initial;
    std::vector<TPersonObservation> previous;
    std::vector<std::int32_t> delivered;
    std::int64_t finishStep = -1;
    std::vector<TPersonTotals> totals;

    std::size_t binCapacity;
    std::int64_t stride = 1;
    std::vector<std::vector<TTrackBin>> tracks;
};
