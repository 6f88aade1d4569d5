#include "analysis/FilmSettings.h"

#include <algorithm>
#include <cctype>
#include <cmath>

std::optional<TFilmFormat> FilmFormatOf(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    std::string ending(path.substr(dot));
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const TFilmFormat format : {TFilmFormat::Mp4, TFilmFormat::WebM, TFilmFormat::Gif})
        if (ending == FilmEnding(format))
            return format;
    return std::nullopt;
}

std::string_view FilmEnding(TFilmFormat format)
{
    switch (format) {
    case TFilmFormat::Mp4: return ".mp4";
    case TFilmFormat::WebM: return ".webm";
    case TFilmFormat::Gif: return ".gif";
    }
    return {};
}

std::string FilmSettingsProblem(const TFilmSettings& s)
{
    const auto side = [](std::int32_t n) { return n >= FilmMinimumSide && n <= FilmMaximumSide; };
    if (!side(s.width) || !side(s.height))
        return "a film's sides are " + std::to_string(FilmMinimumSide) + " to " + std::to_string(FilmMaximumSide)
            + " pixels, not " + std::to_string(s.width) + "x" + std::to_string(s.height);
    if (s.format != TFilmFormat::Gif && (s.width % 2 != 0 || s.height % 2 != 0))
        return "an MP4 or WebM film needs even sides, not " + std::to_string(s.width) + "x" + std::to_string(s.height);
    if (s.framesPerSecond < 1 || s.framesPerSecond > FilmMaximumFramesPerSecond)
        return "a film runs at 1 to " + std::to_string(FilmMaximumFramesPerSecond) + " frames a second, not "
            + std::to_string(s.framesPerSecond);
    if (s.format == TFilmFormat::Gif && s.framesPerSecond > GifMaximumFramesPerSecond)
        return "a GIF runs at most " + std::to_string(GifMaximumFramesPerSecond) + " frames a second, not "
            + std::to_string(s.framesPerSecond) + ": browsers slow shorter frame delays down";
    if (s.every < 1)
        return "a film takes every K-th step with K from 1, not " + std::to_string(s.every);
    return {};
}

std::int64_t FilmFrameCount(std::int64_t from, std::int64_t to, std::int64_t every)
{
    return to < from || every < 1 ? 0 : (to - from) / every + 1;
}

std::int64_t EstimatedFilmBytes(const TFilmSettings& settings, std::int64_t frames)
{
    // Bytes per frame per pixel of the picture's diagonal, measured on films
    // of the whole built-in move at K = 147: MP4 and WebM at 1280x720, GIF at
    // 640x360. At every step the frames differ less, and the films are smaller.
    const double perDiagonalPixel = [&] {
        switch (settings.format) {
        case TFilmFormat::Mp4: return 3.5;
        case TFilmFormat::WebM: return 2.2;
        case TFilmFormat::Gif: return 4.1;
        }
        return 0.0;
    }();
    const double diagonal = std::hypot(static_cast<double>(settings.width), static_cast<double>(settings.height));
    return static_cast<std::int64_t>(perDiagonalPixel * diagonal * static_cast<double>(frames));
}
