// What a film costs per frame, phase by phase, at 1280x720 over the built-in
// move at K = 147 (the whole move as a minute of film): stepping and painting
// the frames, converting them to yuv420p, encoding them, and all of it as the
// film is rendered. Converting and encoding take the film's own frames in
// turn, each painted with the clock paused, since a film's cost lies in how
// its frames differ. Each reports frames per second of wall time; the
// encoders' own threads make processor time differ from it, which
// MeasureProcessCPUTime gives.
#include "film/FilmEncoder.h"
#include "film/FilmFrames.h"
#include "film/FilmRenderer.h"
#include "film/FilmYuv.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr std::int64_t SpeedUp = 147;
constexpr std::int64_t Frames = 150;

TFilmSettings Settings(TFilmFormat format)
{
    TFilmSettings settings;
    settings.format = format;
    settings.every = SpeedUp;
    return settings;
}

TFilmFrames FirstFrames(TFilmFormat format)
{
    return TFilmFrames(BuiltInMove(), {}, Settings(format), 0, SpeedUp * (Frames - 1));
}

void CountFrames(benchmark::State& state, std::int64_t frames)
{
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

// Each frame of the stretch, painted while the clock is paused, then handed to phase.
template <typename TPhase>
std::int64_t EachFrameUntimed(benchmark::State& state, TFilmFrames& film, TPhase phase)
{
    const std::atomic<bool> never{false};
    std::int64_t frames = 0;
    for (;;) {
        state.PauseTiming();
        const bool more = film.Next(never);
        state.ResumeTiming();
        if (!more)
            return frames;
        phase(film.Picture());
        ++frames;
    }
}

void BM_FilmPaint(benchmark::State& state)
{
    const std::atomic<bool> never{false};
    std::int64_t frames = 0;
    for (auto _ : state) {
        TFilmFrames film = FirstFrames(TFilmFormat::Mp4);
        while (film.Next(never))
            ++frames;
    }
    CountFrames(state, frames);
}
BENCHMARK(BM_FilmPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_FilmConvert(benchmark::State& state)
{
    const TFilmSettings settings = Settings(TFilmFormat::Mp4);
    std::vector<std::uint8_t> luma(static_cast<std::size_t>(settings.width * settings.height));
    std::vector<std::uint8_t> chroma(luma.size() / 2);
    std::uint8_t* const planes[3] = {luma.data(), chroma.data(), chroma.data() + chroma.size() / 2};
    const int strides[3] = {settings.width, settings.width / 2, settings.width / 2};
    std::int64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TFilmFrames film = FirstFrames(TFilmFormat::Mp4);
        TYuvConverter converter;
        state.ResumeTiming();
        frames += EachFrameUntimed(state, film, [&](const QImage& picture) { converter.Convert(picture, planes, strides); });
    }
    CountFrames(state, frames);
}
BENCHMARK(BM_FilmConvert)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// Converting and encoding together, as the encoder takes a frame.
void BM_FilmEncode(benchmark::State& state)
{
    const auto format = static_cast<TFilmFormat>(state.range(0));
    std::int64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TFilmFrames film = FirstFrames(format);
        state.ResumeTiming();
        TFilmEncoder encoder(Settings(format));
        frames += EachFrameUntimed(state, film, [&](const QImage& picture) { encoder.Add(picture); });
        encoder.Finish();
    }
    CountFrames(state, frames);
}
BENCHMARK(BM_FilmEncode)->Arg(static_cast<int>(TFilmFormat::Mp4))->Arg(static_cast<int>(TFilmFormat::WebM))
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_FilmRender(benchmark::State& state)
{
    const std::atomic<bool> never{false};
    const std::string path = QDir::temp().filePath(QStringLiteral("zemba-film-bench.mp4")).toStdString();
    std::int64_t frames = 0;
    for (auto _ : state)
        frames += RenderFilm(BuiltInMove(), {0, SpeedUp * (Frames - 1), {}}, Settings(TFilmFormat::Mp4), path, never).frames;
    QFile::remove(QString::fromStdString(path));
    CountFrames(state, frames);
}
BENCHMARK(BM_FilmRender)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

} // namespace
