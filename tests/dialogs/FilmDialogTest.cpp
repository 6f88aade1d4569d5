#include "dialogs/frm_Film.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TFilmSource SmallMove(std::optional<std::int64_t> end)
{
    TScenarioDescription move = BuiltInMove();
    move.stock = 2;
    return {move, nullptr, 1000, end};
}

} // namespace

TEST(FilmDialog, ShowsTheFilmsLengthAndSizeBeforeItStarts)
{
    TJobPool work(1);
    TfrmFilm dialog(nullptr, work);
    dialog.SetSource({BuiltInMove(), nullptr, 100'000, 221'150});
    const struct { TfrmFilm::TStretch stretch; TFilmSettings settings; const char* starts; } rows[] = {
        {TfrmFilm::TStretch::WholeMove, {TFilmFormat::Mp4, 1280, 720, 25, 147, false}, "1505 Bilder, 1:00 Film, etwa "},
        {TfrmFilm::TStretch::FromShownStep, {TFilmFormat::Gif, 640, 360, 50, 1000, true}, "122 Bilder, 0:02 Film, etwa "},
        {TfrmFilm::TStretch::WholeMove, {TFilmFormat::Mp4, 640, 360, 25, 1, false}, "221151 Bilder, 2:27:26 Film, etwa "},
        {TfrmFilm::TStretch::WholeMove, {TFilmFormat::WebM, 641, 360, 25, 1, false}, "MP4 und WebM brauchen"},
    };
    for (const auto& row : rows) {
        dialog.SetStretch(row.stretch);
        dialog.SetSettings(row.settings);
        EXPECT_TRUE(dialog.GetSummary().startsWith(QString::fromUtf8(row.starts))) << dialog.GetSummary().toStdString();
    }
    dialog.SetSettings({});
    dialog.SetSource({BuiltInMove(), nullptr, 0, std::nullopt});
    EXPECT_EQ(dialog.GetSummary(), QString::fromUtf8("Das Ende des Umzugs wird noch ermittelt."));
}

TEST(FilmDialog, RendersInTheBackgroundAndAFilmGivenUpLeavesNoFile)
{
    QTemporaryDir folder;
    TJobPool work(1);
    TfrmFilm dialog(nullptr, work);
    dialog.SetSource(SmallMove(std::nullopt));
    dialog.SetSettings({TFilmFormat::Gif, 64, 48, 25, 25, false});

    QSignalSpy finished(&dialog, &TfrmFilm::Finished);
    dialog.Start(folder.filePath(QStringLiteral("whole.gif")));
    EXPECT_TRUE(dialog.IsRendering());
    ASSERT_TRUE(finished.wait(60'000));
    EXPECT_EQ(finished.takeFirst().at(0).toString(), QString());
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("whole.gif"))).size() > 0);

    dialog.SetSettings({TFilmFormat::Mp4, 640, 360, 25, 1, false});
    dialog.Start(folder.filePath(QStringLiteral("given-up.mp4")));
    dialog.Cancel();
    ASSERT_TRUE(finished.wait(60'000));
    EXPECT_FALSE(dialog.IsRendering());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("whole.gif")});
}
