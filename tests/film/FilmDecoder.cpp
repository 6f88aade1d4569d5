#include "FilmDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

void Keep(TDecodedFilm& film, const AVFrame& frame)
{
    QImage picture(frame.width, frame.height, QImage::Format_RGB32);
    SwsContext* scaler = sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width,
                                        frame.height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr, nullptr);
    std::uint8_t* const target[] = {picture.bits()};
    const int stride[] = {static_cast<int>(picture.bytesPerLine())};
    sws_scale(scaler, frame.data, frame.linesize, 0, frame.height, target, stride);
    sws_freeContext(scaler);
    film.frames.push_back(picture);
}

void Receive(AVCodecContext& codec, AVFrame& frame, TDecodedFilm& film)
{
    while (avcodec_receive_frame(&codec, &frame) == 0)
        Keep(film, frame);
}

} // namespace

TDecodedFilm DecodeFilm(const std::string& path)
{
    TDecodedFilm film;
    AVFormatContext* container = nullptr;
    if (avformat_open_input(&container, path.c_str(), nullptr, nullptr) < 0)
        return film;
    const AVCodec* decoder = nullptr;
    const int index = avformat_find_stream_info(container, nullptr) < 0
                          ? -1
                          : av_find_best_stream(container, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (index >= 0) {
        const AVStream& stream = *container->streams[index];
        film.width = stream.codecpar->width;
        film.height = stream.codecpar->height;
        film.framesPerSecond = av_q2d(stream.avg_frame_rate);
        AVCodecContext* codec = avcodec_alloc_context3(decoder);
        avcodec_parameters_to_context(codec, stream.codecpar);
        AVFrame* frame = av_frame_alloc();
        AVPacket* packet = av_packet_alloc();
        if (avcodec_open2(codec, decoder, nullptr) == 0) {
            while (av_read_frame(container, packet) >= 0) {
                if (packet->stream_index == index && avcodec_send_packet(codec, packet) == 0)
                    Receive(*codec, *frame, film);
                av_packet_unref(packet);
            }
            avcodec_send_packet(codec, nullptr);
            Receive(*codec, *frame, film);
        }
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
    }
    avformat_close_input(&container);
    return film;
}
