#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The colours of persons in the pictures of a run, by their place in the
// chain: twenty that stay apart from each other and from the light ground
// on the grey ground of the plot, as 0xRRGGBB. Persons beyond twenty take the
// colours again with a dashed line (PersonDashed). The chain view keeps its
// own colours by object id (HandlerColours.h).
inline constexpr std::array<std::uint32_t, 20> PersonColours = {
    0x222222, 0xe6194b, 0x3cb44b, 0x4363d8, 0xf58231, 0x911eb4, 0x42d4f4, 0xf032e6, 0x9a6324, 0x000075,
    0x800000, 0x469990, 0xbfef45, 0x808000, 0xdcbeff, 0xffd8b1, 0xfabed4, 0xaaffc3, 0xffe119, 0xffffff,
};

constexpr std::uint32_t PersonRgb(std::size_t index)
{
    return PersonColours[index % PersonColours.size()];
}

// Whether the person's line is dashed: every colour's second and later wearers.
constexpr bool PersonDashed(std::size_t index)
{
    return index >= PersonColours.size();
}

// The colours of a chart's lines, curves or series, one per category in the
// order they come, as 0xRRGGBB; more categories than colours take them again.
inline constexpr std::array<std::uint32_t, 8> CategoryColours = {
    0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd, 0xff7f0e, 0x8c564b, 0xe377c2, 0x17becf,
};

constexpr std::uint32_t CategoryRgb(std::size_t index)
{
    return CategoryColours[index % CategoryColours.size()];
}
