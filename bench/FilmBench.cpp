// What a film costs per frame: stepping and painting the frames, encoding
// them, and the two together as the film is rendered, at 1280x720 over the
// built-in move at K = 147 (the whole move as a minute of film).
#include "film/FilmEncoder.h"
#include "film/FilmFrames.h"
#include "film/FilmRenderer.h"

#include <QDir>

#include <benchmark/benchmark.h>

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

void CountFrames(benchmark::State& state, std::int64_t frames)
{
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_FilmPaint(benchmark::State& state)
{
    const std::atomic<bool> never{false};
    std::int64_t frames = 0;
    for (auto _ : state) {
        TFilmFrames film(BuiltInMove(), {}, Settings(TFilmFormat::Mp4), 0, SpeedUp * (Frames - 1));
        while (film.Next(never))
            ++frames;
    }
    CountFrames(state, frames);
}
BENCHMARK(BM_FilmPaint)->Unit(benchmark::kMillisecond);

void BM_FilmEncode(benchmark::State& state)
{
    const auto format = static_cast<TFilmFormat>(state.range(0));
    const std::atomic<bool> never{false};
    TFilmFrames film(BuiltInMove(), {}, Settings(format), 50'000, 50'000);
    film.Next(never);
    const QImage picture = film.Picture();
    std::int64_t frames = 0;
    for (auto _ : state) {
        TFilmEncoder encoder(Settings(format));
        for (std::int64_t i = 0; i < Frames; ++i)
            encoder.Add(picture);
        encoder.Finish();
        frames += Frames;
    }
    CountFrames(state, frames);
}
BENCHMARK(BM_FilmEncode)->Arg(static_cast<int>(TFilmFormat::Mp4))->Arg(static_cast<int>(TFilmFormat::WebM))
    ->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_FilmRender)->Unit(benchmark::kMillisecond);

} // namespace
