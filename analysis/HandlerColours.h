#pragma once

#include <array>
#include <cstdint>

// The colour of a handler in the chain view, by its object id modulo 8, as
// 0xRRGGBB. The pictures of a run tell more persons apart (PlotColours.h).
inline constexpr std::array<std::uint32_t, 8> HandlerColours = {
    0x000000, 0x0000ff, 0x008000, 0xffff00, 0x00ffff, 0xffffff, 0x00ff00, 0x800080,
};

// A negative id still picks a colour rather than reading outside the table.
constexpr std::uint32_t HandlerRgb(std::int32_t id)
{
    return HandlerColours[static_cast<std::uint32_t>(id) % HandlerColours.size()];
}
