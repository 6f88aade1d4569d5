#include "film/FilmRenderer.h"

#include "analysis/OutputFile.h"
#include "film/FilmEncoder.h"
#include "film/FilmFrames.h"
#include "film/FilmPalette.h"

namespace {

// Frames the palette of a GIF is made from: every one of a short film, and
// ever sparser ones across a long film.
constexpr std::int64_t PaletteSamples = 64;

TFilmOutcome Refused(std::string why)
{
    return {TFilmOutcome::TStatus::Refused, 0, std::move(why)};
}

void SamplePalette(const TScenarioDescription& description, const TFilmStretch& stretch, const TFilmSettings& settings,
                   TFilmPalette& palette, const std::atomic<bool>& cancel)
{
    TFilmFrames frames(description, stretch.start, settings, stretch.from, stretch.to);
    std::int64_t apart = 1;
    std::int64_t sampled = 0;
    while (frames.Next(cancel)) {
        if ((frames.GetCount() - 1) % apart != 0)
            continue;
        palette.Sample(frames.Picture());
        if (++sampled % PaletteSamples == 0)
            apart *= 2;
    }
    palette.Close();
}

} // namespace

TFilmOutcome RenderFilm(const TScenarioDescription& description, const TFilmStretch& stretch,
                        const TFilmSettings& settings, const std::string& path, const std::atomic<bool>& cancel,
                        const std::function<void(std::int64_t frames)>& progress)
{
    if (std::string problem = FilmSettingsProblem(settings); !problem.empty())
        return Refused(std::move(problem));
    if (stretch.from < 0 || stretch.to < stretch.from)
        return Refused("a film runs from a step to a later one, not from " + std::to_string(stretch.from) + " to "
                       + std::to_string(stretch.to));
    // Opened first: a path that cannot be written is refused before a frame is painted.
    TOutputFile file(path);
    if (!file.Good())
        return Refused(file.Error());

    TFilmPalette palette;
    if (settings.format == TFilmFormat::Gif)
        SamplePalette(description, stretch, settings, palette, cancel);
    TFilmEncoder encoder(settings, settings.format == TFilmFormat::Gif ? &palette : nullptr);
    TFilmFrames frames(description, stretch.start, settings, stretch.from, stretch.to);
    while (encoder.Good() && frames.Next(cancel)) {
        encoder.Add(frames.Picture());
        if (progress)
            progress(frames.GetCount());
    }
    if (cancel.load(std::memory_order_relaxed))
        return {TFilmOutcome::TStatus::Cancelled, frames.GetCount(), "cancelled: '" + path + "' not written"};
    if (frames.EndedBeforeStart())
        return Refused("the move is over at step " + std::to_string(frames.GetEndStep())
                       + ", before the film's first step " + std::to_string(stretch.from));
    if (!encoder.Finish() || !file.Write(encoder.Bytes()) || !file.Commit())
        return {TFilmOutcome::TStatus::Failed, frames.GetCount(), encoder.Good() ? file.Error() : encoder.Error()};
    return {TFilmOutcome::TStatus::Written, frames.GetCount(), {}};
}
