#include "film/FilmYuv.h"

#include <cstring>

namespace {

// BT.709 in 16-bit fixed point, scaled to limited range: luma 16 to 235,
// chroma 16 to 240 around 128.
constexpr int Shift = 16;
constexpr int Half = 1 << (Shift - 1);
constexpr int YR = 11966, YG = 40254, YB = 4064;
constexpr int UR = -6596, UG = -22189, UB = 28784;
constexpr int VR = 28784, VG = -26145, VB = -2639;

std::uint8_t Luma(QRgb c)
{
    return static_cast<std::uint8_t>(16 + ((YR * qRed(c) + YG * qGreen(c) + YB * qBlue(c) + Half) >> Shift));
}

// Two pixels side by side as one number, to compare them at once.
std::uint64_t PairAt(const QRgb* row, int x)
{
    std::uint64_t pair = 0;
    std::memcpy(&pair, row + x, sizeof pair);
    return pair;
}

} // namespace

void TYuvConverter::Convert(const QImage& picture, std::uint8_t* const planes[3], const int strides[3])
{
    const bool compare = last.size() == picture.size();
    const int width = picture.width();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int y = 0; y + 1 < picture.height(); y += 2) {
        const auto* upper = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* lower = reinterpret_cast<const QRgb*>(picture.constScanLine(y + 1));
        const auto* upperBefore = compare ? reinterpret_cast<const QRgb*>(last.constScanLine(y)) : nullptr;
        const auto* lowerBefore = compare ? reinterpret_cast<const QRgb*>(last.constScanLine(y + 1)) : nullptr;
        // Most rows of the trail's picture stay as they were.
        if (compare && std::memcmp(upper, upperBefore, rowBytes) == 0 && std::memcmp(lower, lowerBefore, rowBytes) == 0)
            continue;
        std::uint8_t* lumaUpper = planes[0] + static_cast<std::ptrdiff_t>(y) * strides[0];
        std::uint8_t* lumaLower = lumaUpper + strides[0];
        std::uint8_t* u = planes[1] + static_cast<std::ptrdiff_t>(y / 2) * strides[1];
        std::uint8_t* v = planes[2] + static_cast<std::ptrdiff_t>(y / 2) * strides[2];
        for (int x = 0; x + 1 < width; x += 2) {
            if (compare && PairAt(upper, x) == PairAt(upperBefore, x) && PairAt(lower, x) == PairAt(lowerBefore, x))
                continue;
            const QRgb a = upper[x];
            const QRgb b = upper[x + 1];
            const QRgb c = lower[x];
            const QRgb d = lower[x + 1];
            lumaUpper[x] = Luma(a);
            lumaUpper[x + 1] = Luma(b);
            lumaLower[x] = Luma(c);
            lumaLower[x + 1] = Luma(d);
            // The block's mean colour, times four.
            const int r = qRed(a) + qRed(b) + qRed(c) + qRed(d);
            const int g = qGreen(a) + qGreen(b) + qGreen(c) + qGreen(d);
            const int bl = qBlue(a) + qBlue(b) + qBlue(c) + qBlue(d);
            u[x / 2] = static_cast<std::uint8_t>(128 + ((UR * r + UG * g + UB * bl + 4 * Half) >> (Shift + 2)));
            v[x / 2] = static_cast<std::uint8_t>(128 + ((VR * r + VG * g + VB * bl + 4 * Half) >> (Shift + 2)));
        }
    }
    // A deep copy: the caller paints the next frame into its picture.
    if (compare)
        std::memcpy(last.bits(), picture.constBits(), static_cast<std::size_t>(picture.sizeInBytes()));
    else
        last = picture.copy();
}
