#pragma once

#include <cstdint>

class TTrail;
struct TChainState;
struct THandlerState;

// Where a handler stands in the picture: its pixel column (left = right), the
// top of a full-height bar and, 30 pixels below, its baseline on the trail.
struct TBarRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// Height of a fully fit handler's bar, in pixels.
inline constexpr std::int32_t BarHeight = 30;

// Maps a trail position onto a client area of the given size. The trail's
// start falls on column 0 and its end on column width − 6; its top height on
// row 0 and height 0 on row height − 57, leaving room below the lowest
// baseline for the names. Every step truncates toward zero.
//
// A trail that does not rise at all is drawn flat along the bottom, and one
// without length puts everything in column 0: neither divides by zero.
TBarRect MapPosition(const TTrail& trail, std::int32_t clientWidth, std::int32_t clientHeight, double position);

// The trail position drawn at a pixel column of a client area of the given
// width, MapPosition's column undone: within the trail, 0 for one without length.
double PositionAt(const TTrail& trail, std::int32_t clientWidth, std::int32_t x);

// The top of a person's bar lowered by its tiredness: a fully fit person keeps
// the full bar, a person with fitness 0 has none.
std::int32_t TiredBarTop(const TBarRect& r, double fitness);

// The pixel columns the trail spans in a client area of the given width, at least one.
std::int32_t DrawnColumns(std::int32_t clientWidth);

// A person drawn on its own needs a column for its bar and room beside it;
// fewer columns each, and the persons are drawn as a crowd.
inline constexpr std::int32_t ColumnsPerPerson = 4;
// Names are written under the bars while every person has this many columns
// on average, about a short name's width; beyond that they would only overlap.
inline constexpr std::int32_t ColumnsPerName = 24;

// Whether a picture of the given width draws the persons as a crowd, a bar
// per pixel column counted from chain.crowd, rather than one by one: when
// they are more than fit side by side, or the copy does not hold them all.
// A copy without a crowd (read in full) is always drawn person by person.
bool DrawsCrowd(const TChainState& chain, std::int32_t clientWidth);
// Whether the persons' names fit under their bars.
bool NamesFit(const TChainState& chain, std::int32_t clientWidth);

// Pixels of grace on either side of a bar and above and below it for a click.
inline constexpr std::int32_t HitSlack = 3;

// The person whose full-height bar, widened by the grace, holds the point in
// a picture of the given size; where bars overlap, the one nearest in column,
// and of equally near ones the one drawn last. Null if none, and for a
// crowd, whose bars are no persons. Points into chain.
const THandlerState* PersonAt(const TTrail& trail, std::int32_t clientWidth, std::int32_t clientHeight,
                              const TChainState& chain, std::int32_t x, std::int32_t y);
