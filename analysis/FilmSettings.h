#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How a film of the move is made: its kind, picture, pace and caption. The
// frame for step s is the chain view's picture of step s at this size.
enum class TFilmFormat { Mp4, WebM, Gif };

struct TFilmSettings
{
    TFilmFormat format = TFilmFormat::Mp4;
    std::int32_t width = 1280;
    std::int32_t height = 720;
    // At one frame a step and 25 frames a second the film runs at the move's own pace.
    std::int32_t framesPerSecond = 25;
    // Every K-th step is a frame: the speed-up over that pace.
    std::int64_t every = 1;
    // The simulated time, the step and the loads delivered in the top left corner.
    bool caption = false;
};

inline constexpr std::int32_t FilmMinimumSide = 16;
inline constexpr std::int32_t FilmMaximumSide = 4096;
inline constexpr std::int32_t FilmMaximumFramesPerSecond = 120;
// A GIF's frame delays are hundredths of a second, and browsers play a delay
// below 2 as 10: faster, its frames would crawl.
inline constexpr std::int32_t GifMaximumFramesPerSecond = 50;

// The kind a file name's ending asks for (.mp4, .webm, .gif, in any case); none for another.
std::optional<TFilmFormat> FilmFormatOf(std::string_view path);
// ".mp4", ".webm", ".gif".
std::string_view FilmEnding(TFilmFormat format);

// Why a film cannot be made so, in one English line; empty when it can.
// MP4 and WebM keep colour at half resolution and need even sides; a GIF
// runs at most GifMaximumFramesPerSecond.
std::string FilmSettingsProblem(const TFilmSettings& settings);

// The frames of a stretch from step from to step to: from, from + K, ... up to to.
std::int64_t FilmFrameCount(std::int64_t from, std::int64_t to, std::int64_t every);
// What the film's file will about weigh, from films of the built-in move:
// the picture is mostly still background, so the bytes grow with the pixels
// that move, roughly with the picture's side times the frames.
std::int64_t EstimatedFilmBytes(const TFilmSettings& settings, std::int64_t frames);
