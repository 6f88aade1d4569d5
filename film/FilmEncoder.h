#pragma once

#include "analysis/FilmSettings.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

class TFilmPalette;

// Encodes a film's frames with FFmpeg's libraries, in memory: MP4 as H.264
// and WebM as VP9, both in yuv420p so that common players and browsers play
// them, or GIF through the film's palette. The container is written into
// memory because MP4 goes back to its start to finish its index, and the
// project's file writer only writes forwards; the caller writes Bytes() as
// the whole file once Finish succeeds.
class TFilmEncoder
{
public:
    // A GIF film needs its palette, closed, for as long as frames come.
    explicit TFilmEncoder(const TFilmSettings& settings, TFilmPalette* palette = nullptr);
    ~TFilmEncoder();
    TFilmEncoder(const TFilmEncoder&) = delete;
    TFilmEncoder& operator=(const TFilmEncoder&) = delete;

    // False once opening or any frame has failed; Error() says why in one line.
    bool Good() const { return error.empty(); }
    const std::string& Error() const { return error; }

    // The next frame: an RGB32 picture of the film's size.
    bool Add(const QImage& picture);
    // Drains the encoder and closes the container.
    bool Finish();
    // The whole film once Finish has succeeded.
    const std::string& Bytes() const { return bytes; }

private:
    struct TState;
    bool Fail(const std::string& what, int code);
    bool Drain();

    std::unique_ptr<TState> state;
    TFilmPalette* palette = nullptr;
    std::string bytes;
    std::int64_t position = 0;
    std::int64_t frames = 0;
    std::string error;
};
