#include "dialogs/frm_Film.h"

#include <QComboBox>
#include <QDir>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TFilmSource SmallMove(std::optional<std::int64_t> end)
{
    TScenarioDescription move = BuiltInMove();
    move.stock = 2;
    return {move, nullptr, 1000, end, {}};
}

} // namespace

TEST(FilmDialog, ShowsTheFilmsLengthAndSizeBeforeItStarts)
{
    TJobPool work(1);
    TfrmFilm dialog(nullptr, work);
    dialog.SetSource({BuiltInMove(), nullptr, 100'000, 221'150, {}});
    const struct { TfrmFilm::TStretch stretch; TFilmSettings settings; const char* starts; } rows[] = {
        {TfrmFilm::TStretch::WholeMove, {TFilmFormat::Mp4, 1280, 720, 25, 147, false}, "1505 Bilder, 1:00 Film, etwa "},
        {TfrmFilm::TStretch::FromShownStep, {TFilmFormat::Gif, 640, 360, 50, 1000, true}, "122 Bilder, 0:02 Film, etwa "},
        {TfrmFilm::TStretch::WholeMove, {TFilmFormat::Mp4, 640, 360, 25, 1, false}, "221151 Bilder, 2:27:26 Film, etwa "},
        {TfrmFilm::TStretch::WholeMove, {TFilmFormat::WebM, 641, 360, 25, 1, false}, "MP4 und WebM brauchen"},
        {TfrmFilm::TStretch::WholeMove, {TFilmFormat::Gif, 640, 360, 60, 1, false}, "Ein GIF läuft mit höchstens 50 Bildern"},
    };
    for (const auto& row : rows) {
        dialog.SetStretch(row.stretch);
        dialog.SetSettings(row.settings);
        EXPECT_TRUE(dialog.GetSummary().startsWith(QString::fromUtf8(row.starts))) << dialog.GetSummary().toStdString();
    }
    dialog.SetSettings({});
    dialog.SetSource({BuiltInMove(), nullptr, 0, std::nullopt, {}});
    EXPECT_EQ(dialog.GetSummary(), QString::fromUtf8("Das Ende des Umzugs wird noch ermittelt."));
}

// Between two marks, chosen either way round; with fewer than two marks the
// stretch is not offered, and one chosen falls back to the whole move.
TEST(FilmDialog, FilmsTheStretchBetweenTwoMarksOnceThereAreTwo)
{
    TJobPool work(1);
    TfrmFilm dialog(nullptr, work);
    dialog.SetSettings({TFilmFormat::Mp4, 1280, 720, 25, 147, false});
    auto& stretch = *dialog.findChild<QComboBox*>(QStringLiteral("cbStretch"));
    auto& from = *dialog.findChild<QComboBox*>(QStringLiteral("cbFromMark"));
    auto& to = *dialog.findChild<QComboBox*>(QStringLiteral("cbToMark"));
    const auto offered = [&] {
        return qobject_cast<QStandardItemModel*>(stretch.model())->item(2)->isEnabled();
    };
    dialog.SetSource({BuiltInMove(), nullptr, 0, 221'150, {50'000, 80'000, 120'000}});
    ASSERT_TRUE(offered());
    dialog.SetStretch(TfrmFilm::TStretch::BetweenMarks);
    EXPECT_TRUE(from.isEnabled() && to.isEnabled());
    const struct { int from, to; const char* starts; } rows[] = {
        {0, 2, "477 Bilder, 0:19 Film"},  // the first mark to the last, as it opens
        {2, 1, "273 Bilder, 0:11 Film"},  // the later mark chosen first
        {1, 1, "1 Bilder, 0:00 Film"},
    };
    for (const auto& row : rows) {
        from.setCurrentIndex(row.from);
        to.setCurrentIndex(row.to);
        EXPECT_TRUE(dialog.GetSummary().startsWith(QString::fromUtf8(row.starts))) << dialog.GetSummary().toStdString();
    }
    // A mark set since keeps the marks chosen.
    dialog.SetSource({BuiltInMove(), nullptr, 0, 221'150, {10'000, 50'000, 80'000, 120'000}});
    EXPECT_EQ(from.currentData().toLongLong(), 80'000);
    EXPECT_EQ(to.currentData().toLongLong(), 80'000);

    dialog.SetSource({BuiltInMove(), nullptr, 0, 221'150, {50'000}});
    EXPECT_FALSE(offered());
    EXPECT_EQ(stretch.currentIndex(), 0);
    EXPECT_FALSE(from.isEnabled() || to.isEnabled());
    EXPECT_TRUE(dialog.GetSummary().startsWith(QStringLiteral("1505 Bilder"))) << dialog.GetSummary().toStdString();
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
