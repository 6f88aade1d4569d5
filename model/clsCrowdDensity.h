#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct THandlerState;

// What a person is doing, as a crowd too large to draw one by one shows it.
enum class TCrowdActivity : std::uint8_t { Carrying, Empty, Handing, Resting };
inline constexpr std::size_t CrowdActivityCount = 4;

// The persons of a chain counted by where they stand and what they do, in
// equal bins of the trail from `from` to `to`: a picture of a crowd whose
// size does not depend on how many persons it holds. Enough bins for one
// per pixel column of any screen.
struct TCrowdDensity
{
    static constexpr std::int32_t BinCount = 4096;
    using TBin = std::array<std::int32_t, CrowdActivityCount>;

    double from = 0.0;
    double to = 0.0;
    // BinCount bins once counting has begun, none before.
    std::vector<TBin> bins;

    // Empties every bin for counting over [from, to].
    void Begin(double newFrom, double newTo);
    void Add(const THandlerState& person);
    // The trail position in the middle of a bin.
    double PositionOf(std::int32_t bin) const;

    static TCrowdActivity ActivityOf(const THandlerState& person);
};
