#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <unordered_map>

// The colour table of a GIF film, made for the film: the colours of sample
// frames, the most frequent first, up to 255, so that the encoder keeps one
// index free to mark pixels that did not change. The chain view paints few
// colours, so a film whose samples are all its frames is usually exact; a
// colour not in the table takes its nearest.
class TFilmPalette
{
public:
    static constexpr int MaximumColours = 255;

    // Counts the colours of a sample frame (RGB32).
    void Sample(const QImage& picture);
    // Fixes the table from the samples; call once, before Map.
    void Close();

    // The picture's pixels as indices into the table, row by row with stride bytes apart.
    void Map(const QImage& picture, std::uint8_t* indices, int stride);
    // The table as FFmpeg's paletted frames take it (0xAARRGGBB), unused entries transparent black.
    const std::array<std::uint32_t, 256>& Colours() const { return colours; }
    int Count() const { return count; }

private:
    std::uint8_t IndexOf(QRgb colour);
    std::uint8_t Nearest(QRgb colour) const;

    std::unordered_map<QRgb, std::uint64_t> frequency;
    std::unordered_map<QRgb, std::uint8_t> index;
    std::array<std::uint32_t, 256> colours{};
    int count = 0;
};
