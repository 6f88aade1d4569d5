#pragma once

#include <QImage>

#include <cstdint>

// RGB32 pictures as yuv420p in BT.709 limited range, the planes FFmpeg's
// H.264 and VP9 encoders take: a luma sample per pixel, a chroma pair per
// two by two pixels from their mean colour; in integers, the same bytes on
// every machine. Even sides only.
//
// A film's frames differ from the one before in a few places only, and its
// planes are written into the same buffers frame after frame: a block of two
// by two pixels that has not changed since the last picture keeps its samples.
class TYuvConverter
{
public:
    // Writes the picture's samples into planes, which hold the last picture's.
    void Convert(const QImage& picture, std::uint8_t* const planes[3], const int strides[3]);

private:
    QImage last;
};
