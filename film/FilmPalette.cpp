#include "film/FilmPalette.h"

#include <algorithm>
#include <limits>
#include <vector>

void TFilmPalette::Sample(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        // The picture is mostly runs of one colour: count a run at once.
        for (int x = 0; x < picture.width();) {
            const QRgb colour = row[x] | 0xff000000u;
            int end = x + 1;
            while (end < picture.width() && (row[end] | 0xff000000u) == colour)
                ++end;
            frequency[colour] += static_cast<std::uint64_t>(end - x);
            x = end;
        }
    }
}

void TFilmPalette::Close()
{
    std::vector<std::pair<QRgb, std::uint64_t>> byCount(frequency.begin(), frequency.end());
    // Ties by colour, so that the table does not depend on the hash's order.
    std::sort(byCount.begin(), byCount.end(),
              [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
    count = static_cast<int>(std::min<std::size_t>(byCount.size(), MaximumColours));
    for (int i = 0; i < count; ++i) {
        colours[static_cast<std::size_t>(i)] = byCount[static_cast<std::size_t>(i)].first;
        index.emplace(byCount[static_cast<std::size_t>(i)].first, static_cast<std::uint8_t>(i));
    }
    frequency.clear();
}

void TFilmPalette::Map(const QImage& picture, std::uint8_t* indices, int stride)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::uint8_t* out = indices + static_cast<std::ptrdiff_t>(y) * stride;
        QRgb last = row[0] | 0xff000000u;
        std::uint8_t lastIndex = IndexOf(last);
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = row[x] | 0xff000000u;
            if (colour != last) {
                last = colour;
                lastIndex = IndexOf(colour);
            }
            out[x] = lastIndex;
        }
    }
}

std::uint8_t TFilmPalette::IndexOf(QRgb colour)
{
    const auto found = index.find(colour);
    if (found != index.end())
        return found->second;
    const std::uint8_t nearest = Nearest(colour);
    index.emplace(colour, nearest);
    return nearest;
}

std::uint8_t TFilmPalette::Nearest(QRgb colour) const
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < count; ++i) {
        const QRgb c = colours[static_cast<std::size_t>(i)];
        const int r = qRed(c) - qRed(colour);
        const int g = qGreen(c) - qGreen(colour);
        const int b = qBlue(c) - qBlue(colour);
        const int distance = r * r + g * g + b * b;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}
