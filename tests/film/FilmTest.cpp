#include "FilmDecoder.h"

#include "film/FilmRenderer.h"
#include "model/clsChainState.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "view/clsChainPainter.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const std::atomic<bool> Never{false};

// The chain view's picture of a step of the built-in move, as the window
// shows it at that size, without its rates.
QImage ViewAt(std::int64_t step, QSize size)
{
    TZOManager objects;
    TScenario scenario(objects);
    scenario.GetLoop().RunSteps(step, [] { return true; });
    TChainState state;
    state.Read(*scenario.GetChain());
    TChainPainter painter;
    painter.SetRatesShown(false);
    return painter.Render(size, scenario.GetTrail(), state, 0);
}

// The keyframe of the built-in move at a step.
TKeyframe KeyframeAt(std::int64_t step)
{
    TZOManager objects;
    TScenario scenario(objects);
    scenario.GetLoop().RunSteps(step, [] { return true; });
    return {std::make_shared<const TScenarioSnapshot>(scenario.TakeSnapshot()), scenario.GetLoop().GetDeliveries()};
}

std::string Bytes(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Film : public testing::Test
{
protected:
    QString PathOf(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    QTemporaryDir folder;
};

} // namespace

TEST_F(Film, AGifFrameIsTheViewsPictureOfItsStepPixelForPixelFromAKeyframeOrFromTheStart)
{
    const QSize size(320, 180);
    TFilmSettings settings{TFilmFormat::Gif, size.width(), size.height(), 25, 8, false};
    const struct { const char* name; TKeyframe start; } rows[] = {{"start.gif", {}}, {"keyframe.gif", KeyframeAt(2000)}};
    for (const auto& row : rows) {
        const TFilmOutcome outcome = RenderFilm(BuiltInMove(), {3000, 3040, row.start}, settings, PathOf(row.name).toStdString(), Never);
        ASSERT_EQ(outcome.status, TFilmOutcome::TStatus::Written) << outcome.error;
        EXPECT_EQ(outcome.frames, 6);
    }
    EXPECT_EQ(Bytes(PathOf("start.gif")), Bytes(PathOf("keyframe.gif")));

    const TDecodedFilm film = DecodeFilm(PathOf("start.gif").toStdString());
    EXPECT_EQ(std::make_tuple(film.width, film.height, film.framesPerSecond), std::make_tuple(320, 180, 25.0));
    ASSERT_EQ(film.frames.size(), 6u);
    for (std::size_t i = 0; i < film.frames.size(); ++i) {
        const std::int64_t step = 3000 + 8 * static_cast<std::int64_t>(i);
        EXPECT_EQ(film.frames[i].convertToFormat(QImage::Format_RGB32), ViewAt(step, size)) << "step " << step;
    }
}

TEST_F(Film, EveryFormatDecodesBackWithItsFramesSizeAndRate)
{
    const struct { TFilmFormat format; const char* name; int width; int height; int rate; } rows[] = {
        {TFilmFormat::Mp4, "f.mp4", 96, 64, 30},
        {TFilmFormat::WebM, "f.webm", 128, 72, 25},
        {TFilmFormat::Gif, "f.gif", 75, 41, 50},
    };
    for (const auto& row : rows) {
        const TFilmSettings settings{row.format, row.width, row.height, row.rate, 50, true};
        const TFilmOutcome outcome = RenderFilm(BuiltInMove(), {100, 550, {}}, settings, PathOf(row.name).toStdString(), Never);
        ASSERT_EQ(outcome.status, TFilmOutcome::TStatus::Written) << row.name << ": " << outcome.error;
        const TDecodedFilm film = DecodeFilm(PathOf(row.name).toStdString());
        EXPECT_EQ(std::make_tuple(film.width, film.height, film.frames.size()),
                  std::make_tuple(row.width, row.height, std::size_t{10}))
            << row.name;
        EXPECT_NEAR(film.framesPerSecond, row.rate, 0.01) << row.name;
    }
}

// As a browser plays it: a GIF89a that loops for ever, each frame shown for
// its share of a second in hundredths, never below the 2 that browsers keep.
TEST_F(Film, AGifLoopsForEverAtItsFrameRate)
{
    for (const int rate : {25, 50}) {
        const QString path = PathOf("loop.gif");
        const TFilmSettings settings{TFilmFormat::Gif, 160, 90, rate, 1, false};
        ASSERT_EQ(RenderFilm(BuiltInMove(), {1000, 1020, {}}, settings, path.toStdString(), Never).status,
                  TFilmOutcome::TStatus::Written);
        EXPECT_EQ(Bytes(path).substr(0, 6), "GIF89a");
        QImageReader reader(path);
        EXPECT_EQ(reader.loopCount(), -1) << "for ever";
        int frames = 0;
        for (QImage frame; reader.read(&frame); ++frames)
            EXPECT_EQ(reader.nextImageDelay(), 1000 / rate) << rate << " frames a second, frame " << frames;
        EXPECT_EQ(frames, 21);
    }
}

TEST_F(Film, TheCaptionTellsTimeStepAndLoadsInTheCornerOnly)
{
    TFilmSettings settings{TFilmFormat::Gif, 320, 180, 25, 1, true};
    ASSERT_EQ(RenderFilm(BuiltInMove(), {3000, 3000, {}}, settings, PathOf("c.gif").toStdString(), Never).status,
              TFilmOutcome::TStatus::Written);
    const QImage captioned = DecodeFilm(PathOf("c.gif").toStdString()).frames.at(0).convertToFormat(QImage::Format_RGB32);
    const QImage plain = ViewAt(3000, {320, 180});
    const QRect corner(0, 0, 320, 30);
    EXPECT_NE(captioned.copy(corner), plain.copy(corner));
    EXPECT_EQ(captioned.copy(0, 30, 320, 150), plain.copy(0, 30, 320, 150));
}

TEST_F(Film, AFilmThatCannotBeMadeOrIsGivenUpLeavesNoFile)
{
    TScenarioDescription small = BuiltInMove();
    small.stock = 2;
    const std::atomic<bool> given{true};
    const struct { const char* why; TScenarioDescription move; TFilmStretch stretch; TFilmSettings settings;
                   const std::atomic<bool>& cancel; TFilmOutcome::TStatus status; } rows[] = {
        {"given up", BuiltInMove(), {0, 100, {}}, {}, given, TFilmOutcome::TStatus::Cancelled},
        {"begins after the move's end", small, {99'999, 100'000, {}}, {}, Never, TFilmOutcome::TStatus::Refused},
        {"odd sides for MP4", BuiltInMove(), {0, 10, {}}, {TFilmFormat::Mp4, 65, 48, 25, 1, false}, Never, TFilmOutcome::TStatus::Refused},
        {"a stretch backwards", BuiltInMove(), {10, 5, {}}, {}, Never, TFilmOutcome::TStatus::Refused},
    };
    for (const auto& row : rows) {
        const TFilmOutcome outcome = RenderFilm(row.move, row.stretch, row.settings, PathOf("f.mp4").toStdString(), row.cancel);
        EXPECT_EQ(outcome.status, row.status) << row.why;
        EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << row.why;
        EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) << row.why;
    }
}

TEST(FilmSettings, TheEndingNamesTheFormatAndTheStretchCountsItsFrames)
{
    EXPECT_EQ(FilmFormatOf("a/b.MP4"), TFilmFormat::Mp4);
    EXPECT_EQ(FilmFormatOf("b.webm"), TFilmFormat::WebM);
    EXPECT_EQ(FilmFormatOf("b.gif"), TFilmFormat::Gif);
    EXPECT_EQ(FilmFormatOf("b.gif.png"), std::nullopt);
    EXPECT_EQ(FilmFormatOf("a.gif/b"), std::nullopt);
    // The whole built-in move at K = 147: a minute at 25 frames a second.
    EXPECT_EQ(FilmFrameCount(0, 221'150, 147), 1505);
    EXPECT_EQ(FilmFrameCount(100'000, 101'500, 1), 1501);
    EXPECT_EQ(FilmFrameCount(5, 4, 1), 0);
}
