#include "view/clsChainGeometry.h"

#include "model/clsChainState.h"
#include "model/clsTrail.h"

#include <algorithm>
#include <cmath>

namespace {

// Converting a double outside the int range (or NaN) is undefined, so a value
// that cannot be a pixel is pinned far outside any picture instead.
std::int32_t TruncateToPixel(double value)
{
    constexpr double Limit = 1.0e6;
    if (std::isnan(value))
        return 0;
    return static_cast<std::int32_t>(std::clamp(value, -Limit, Limit));
}

} // namespace

TBarRect MapPosition(const TTrail& trail, std::int32_t clientWidth, std::int32_t clientHeight, double position)
{
    constexpr std::int32_t Margin = 3;
    constexpr std::int32_t TopMargin = 3;
    constexpr std::int32_t TextSpace = 23;
    const std::int32_t w = (clientWidth - Margin) - Margin;
    const std::int32_t h = (clientHeight - TextSpace) - TopMargin - BarHeight;
    const double width = w;
    const double height = h;

    const double length = trail.GetLength();
    const std::int32_t x = length > 0.0 ? TruncateToPixel(position / length * width + 0.5) : 0;

    const double heightHere = trail.GetHeightAt(position);
    const double heightMax = trail.GetTotalHeight();
    const double share = heightMax > 0.0 ? heightHere / heightMax : 0.0;
    const std::int32_t y = TruncateToPixel(height - (share * height + 0.5));

    return TBarRect{x, y, x, y + BarHeight};
}

double PositionAt(const TTrail& trail, std::int32_t clientWidth, std::int32_t x)
{
    const double length = trail.GetLength();
    return length > 0.0 ? std::clamp(x * length / DrawnColumns(clientWidth), 0.0, length) : 0.0;
}

std::int32_t TiredBarTop(const TBarRect& r, double fitness)
{
    const double barLength = r.bottom - r.top;
    return TruncateToPixel(barLength * (1.0 - fitness) + r.top);
}

std::int32_t DrawnColumns(std::int32_t clientWidth)
{
    // MapPosition's margins on either side.
    constexpr std::int32_t Margins = 6;
    return std::max(clientWidth - Margins, 1);
}

bool DrawsCrowd(const TChainState& chain, std::int32_t clientWidth)
{
    if (chain.crowd.bins.empty())
        return false;
    return std::int64_t{chain.personCount} * ColumnsPerPerson > DrawnColumns(clientWidth) || !chain.HoldsEveryPerson();
}

bool NamesFit(const TChainState& chain, std::int32_t clientWidth)
{
    return std::int64_t{chain.personCount} * ColumnsPerName <= DrawnColumns(clientWidth);
}

const THandlerState* PersonAt(const TTrail& trail, std::int32_t clientWidth, std::int32_t clientHeight,
                              const TChainState& chain, std::int32_t x, std::int32_t y)
{
    if (DrawsCrowd(chain, clientWidth))
        return nullptr;
    const THandlerState* found = nullptr;
    std::int32_t nearest = HitSlack;
    for (const THandlerState& handler : chain.handlers) {
        if (!handler.IsPerson())
            continue;
        const TBarRect r = MapPosition(trail, clientWidth, clientHeight, handler.position);
        const std::int32_t distance = std::abs(x - r.left);
        if (distance <= nearest && y >= r.top - HitSlack && y <= r.bottom + HitSlack) {
            found = &handler;
            nearest = distance;
        }
    }
    return found;
}
