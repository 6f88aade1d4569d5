#pragma once

#include <QImage>

#include <string>
#include <vector>

// A film file read back through libavformat and libavcodec, as a player would.
struct TDecodedFilm
{
    int width = 0;
    int height = 0;
    // The stream's average frame rate, frames per second.
    double framesPerSecond = 0.0;
    // Every frame as RGB32.
    std::vector<QImage> frames;
};

// Empty (no frames, size 0) when the file cannot be read as a film.
TDecodedFilm DecodeFilm(const std::string& path);
