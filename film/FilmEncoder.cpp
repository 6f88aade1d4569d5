#include "film/FilmEncoder.h"

#include "film/FilmPalette.h"
#include "film/FilmYuv.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstring>

namespace {

struct TCodecChoice
{
    const char* muxer;
    const char* encoder;
    AVPixelFormat pixels;
};

TCodecChoice ChoiceFor(TFilmFormat format)
{
    switch (format) {
    case TFilmFormat::Mp4: return {"mp4", "libx264", AV_PIX_FMT_YUV420P};
    case TFilmFormat::WebM: return {"webm", "libvpx-vp9", AV_PIX_FMT_YUV420P};
    case TFilmFormat::Gif: return {"gif", "gif", AV_PIX_FMT_PAL8};
    }
    return {};
}

// How each encoder trades time for bytes: the picture is flat colours that
// mostly stand still, which every one of them codes in few bytes at its
// fastest settings.
void SetEncoderOptions(TFilmFormat format, AVDictionary** options)
{
    switch (format) {
    case TFilmFormat::Mp4:
        // The fastest preset: a minute of the whole move at 1280x720 is about
        // 8 MB, where the slower ones save a few MB at twice the time.
        av_dict_set(options, "preset", "ultrafast", 0);
        av_dict_set(options, "crf", "23", 0);
        break;
    case TFilmFormat::WebM:
        av_dict_set(options, "deadline", "realtime", 0);
        av_dict_set(options, "cpu-used", "8", 0);
        av_dict_set(options, "row-mt", "1", 0);
        av_dict_set(options, "crf", "32", 0);
        av_dict_set(options, "b", "0", 0);
        break;
    case TFilmFormat::Gif:
        break;
    }
}

std::string Reason(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace

struct TFilmEncoder::TState
{
    AVFormatContext* container = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVIOContext* io = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    TYuvConverter converter;

    ~TState()
    {
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&codec);
        if (container)
            avformat_free_context(container);
        if (io)
            av_freep(&io->buffer);
        avio_context_free(&io);
    }
};

TFilmEncoder::TFilmEncoder(const TFilmSettings& settings, TFilmPalette* thePalette)
    : state(std::make_unique<TState>()), palette(thePalette)
{
    // Whatever goes wrong comes back as a return code and is said in one line here.
    av_log_set_level(AV_LOG_QUIET);
    const TCodecChoice choice = ChoiceFor(settings.format);
    TState& s = *state;
    const AVCodec* encoder = avcodec_find_encoder_by_name(choice.encoder);
    if (!encoder) {
        error = std::string("this FFmpeg has no ") + choice.encoder + " encoder";
        return;
    }
    if (int code = avformat_alloc_output_context2(&s.container, nullptr, choice.muxer, nullptr); code < 0) {
        Fail("cannot make a container", code);
        return;
    }
    s.codec = avcodec_alloc_context3(encoder);
    s.codec->width = settings.width;
    s.codec->height = settings.height;
    s.codec->pix_fmt = choice.pixels;
    s.codec->time_base = AVRational{1, settings.framesPerSecond};
    s.codec->framerate = AVRational{settings.framesPerSecond, 1};
    s.codec->thread_count = 0;
    // The colours as ConvertToYuv420 makes them, said in the stream: a player
    // that had to guess might take another matrix.
    if (choice.pixels == AV_PIX_FMT_YUV420P) {
        s.codec->colorspace = AVCOL_SPC_BT709;
        s.codec->color_primaries = AVCOL_PRI_BT709;
        s.codec->color_trc = AVCOL_TRC_BT709;
        s.codec->color_range = AVCOL_RANGE_MPEG;
    }
    if (s.container->oformat->flags & AVFMT_GLOBALHEADER)
        s.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    SetEncoderOptions(settings.format, &options);
    const int opened = avcodec_open2(s.codec, encoder, &options);
    av_dict_free(&options);
    if (opened < 0) {
        Fail(std::string("cannot open the ") + choice.encoder + " encoder", opened);
        return;
    }

    s.stream = avformat_new_stream(s.container, nullptr);
    avcodec_parameters_from_context(s.stream->codecpar, s.codec);
    s.stream->time_base = s.codec->time_base;
    s.stream->avg_frame_rate = s.codec->framerate;

    constexpr int IoBufferBytes = 1 << 16;
    auto* buffer = static_cast<unsigned char*>(av_malloc(IoBufferBytes));
    s.io = avio_alloc_context(
        buffer, IoBufferBytes, 1, this, nullptr,
        [](void* opaque, std::uint8_t* data, int size) {
            auto& self = *static_cast<TFilmEncoder*>(opaque);
            const auto end = static_cast<std::size_t>(self.position) + static_cast<std::size_t>(size);
            if (self.bytes.size() < end)
                self.bytes.resize(end);
            std::memcpy(self.bytes.data() + self.position, data, static_cast<std::size_t>(size));
            self.position = static_cast<std::int64_t>(end);
            return size;
        },
        [](void* opaque, std::int64_t offset, int whence) -> std::int64_t {
            auto& self = *static_cast<TFilmEncoder*>(opaque);
            const auto size = static_cast<std::int64_t>(self.bytes.size());
            switch (whence & ~AVSEEK_FORCE) {
            case AVSEEK_SIZE: return size;
            case SEEK_SET: break;
            case SEEK_CUR: offset += self.position; break;
            case SEEK_END: offset += size; break;
            default: return AVERROR(EINVAL);
            }
            if (offset < 0)
                return AVERROR(EINVAL);
            self.position = offset;
            return offset;
        });
    s.container->pb = s.io;
    if (int code = avformat_write_header(s.container, nullptr); code < 0) {
        Fail("cannot begin the film", code);
        return;
    }

    s.frame = av_frame_alloc();
    s.frame->format = choice.pixels;
    s.frame->width = settings.width;
    s.frame->height = settings.height;
    s.packet = av_packet_alloc();
}

TFilmEncoder::~TFilmEncoder() = default;

bool TFilmEncoder::Fail(const std::string& what, int code)
{
    if (error.empty())
        error = what + ": " + Reason(code);
    return false;
}

bool TFilmEncoder::Add(const QImage& picture)
{
    if (!Good())
        return false;
    TState& s = *state;
    // One frame's buffers serve every frame, unless the encoder still holds
    // them: then they are copied, and the converter finds the last picture's
    // samples in them all the same.
    if (int code = s.frame->buf[0] ? av_frame_make_writable(s.frame) : av_frame_get_buffer(s.frame, 0); code < 0)
        return Fail("cannot hold a frame", code);
    if (palette) {
        palette->Map(picture, s.frame->data[0], s.frame->linesize[0]);
        std::memcpy(s.frame->data[1], palette->Colours().data(), AVPALETTE_SIZE);
    } else {
        s.converter.Convert(picture, s.frame->data, s.frame->linesize);
    }
    s.frame->pts = frames++;
    if (int code = avcodec_send_frame(s.codec, s.frame); code < 0)
        return Fail("cannot encode a frame", code);
    return Drain();
}

bool TFilmEncoder::Drain()
{
    TState& s = *state;
    for (;;) {
        const int code = avcodec_receive_packet(s.codec, s.packet);
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return true;
        if (code < 0)
            return Fail("cannot encode a frame", code);
        av_packet_rescale_ts(s.packet, s.codec->time_base, s.stream->time_base);
        s.packet->stream_index = s.stream->index;
        if (int written = av_interleaved_write_frame(s.container, s.packet); written < 0)
            return Fail("cannot write a frame", written);
    }
}

bool TFilmEncoder::Finish()
{
    if (!Good())
        return false;
    TState& s = *state;
    if (int code = avcodec_send_frame(s.codec, nullptr); code < 0)
        return Fail("cannot end the film", code);
    if (!Drain())
        return false;
    if (int code = av_write_trailer(s.container); code < 0)
        return Fail("cannot end the film", code);
    avio_flush(s.io);
    return true;
}
