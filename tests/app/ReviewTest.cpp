// Reviewing a move in the window: jumps to exact steps, the timeline, and
// what the window writes out.
#include "analysis/MoveCourse.h"
#include "analysis/TraceWriter.h"
#include "app/clsBookmarks.h"
#include "app/clsExportMenu.h"
#include "app/clsMoveExports.h"
#include "app/clsMoveSession.h"
#include "app/clsRunChart.h"
#include "app/clsScenarioDocument.h"
#include "app/clsTimeline.h"
#include "app/clsTimelineBar.h"
#include "app/frm_Main.h"
#include "dialogs/clsStepText.h"
#include "dialogs/frm_MarkCompare.h"
#include "model/clsChainState.h"
#include "scenario/clsScenarioFile.h"
#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"
#include "view/frame_Zemba.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <sstream>

namespace {

constexpr std::int64_t WholeMove = 221'150;
const std::atomic<bool> never{false};

class Review : public testing::Test
{
protected:
    Review()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step > 0; }, 5000));
        window.findChild<QAction*>(QStringLiteral("acSimPause"))->trigger();
    }

    const TChainState& Latest() { return window.GetSession().GetPublisher().Latest(); }
    // Waits until the jump has arrived and the thread has published the move at its step.
    bool Arrived(std::int64_t step)
    {
        return QTest::qWaitFor([&] { return !window.GetSession().IsJumping() && Latest().step == step; }, 30000);
    }
    std::string PublishedRows()
    {
        std::ostringstream out;
        TTraceWriter(out).WriteState(Latest());
        return out.str();
    }
    // The rows of step s in zemba-run's trace of `--steps s`.
    static std::string ToolRows(std::int64_t step, const std::string& scenarioPath = {})
    {
        TRunOptions options;
        options.steps = step;
        options.every = std::max<std::int64_t>(step, 1);
        options.tracePath = "-";
        options.scenarioPath = scenarioPath;
        std::ostringstream out, err;
        EXPECT_EQ(RunHeadless(options, out, err), 0) << err.str();
        const std::string trace = out.str();
        const std::string prefix = "\n" + std::to_string(step) + ",";
        return trace.substr(trace.find(prefix, step == 0 ? 0 : trace.find("\n0,") + 1) + 1);
    }

    // Cleared before the window reads them.
    bool fresh = [] {
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setOrganizationName(QStringLiteral("zemba-tests"));
        QApplication::setApplicationName(QStringLiteral("review"));
        QSettings().clear();
        return true;
    }();
    QTemporaryDir dir;
    TfrmMain window;
};

} // namespace

TEST_F(Review, AJumpShowsExactlyTheChainThatZembaRunReachesAtThatStep)
{
    QString file = dir.filePath(QStringLiteral("short.json"));
    TScenarioDescription small = BuiltInMove(5);
    small.stock = 30;
    small.seed = 7;
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(WriteScenario(small)));
    }
    // Backwards and forwards, in the built-in move and in a scenario file.
    for (const std::string& scenario : {std::string(), file.toStdString()}) {
        if (!scenario.empty()) {
            ASSERT_TRUE(window.GetDocument().OpenFile(file));
            window.findChild<QAction*>(QStringLiteral("acSimPause"))->trigger();
        }
        for (const std::int64_t step : {std::int64_t{2000}, std::int64_t{1}, std::int64_t{0}, std::int64_t{2500}}) {
            window.GetTimelineBar().JumpTo(step);
            ASSERT_TRUE(Arrived(step)) << step;
            EXPECT_EQ(PublishedRows(), ToolRows(step, scenario)) << scenario << " at step " << step;
            EXPECT_TRUE(window.GetSession().IsPaused());
        }
    }
}

TEST_F(Review, JumpsInQuickSuccessionEndAtTheLastOneAndPlayOnFromThere)
{
    for (const std::int64_t step : {100'000, 5'000, 200'000, 10, 777})
        window.GetTimelineBar().JumpTo(step);
    ASSERT_TRUE(Arrived(777));
    QTest::qWait(300);
    EXPECT_EQ(Latest().step, 777);
    EXPECT_EQ(window.GetTimelineBar().GetTimeline().GetStep(), 777);
    window.findChild<QAction*>(QStringLiteral("acSimPause"))->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step > 777; }, 3000));
}

TEST_F(Review, KeysStepAndPageAndEndAtTheFinishFoundInTheBackground)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.GetTimelineBar().GetTimeline().GetCourse().has_value(); }, 60000));
    const TMoveCourse& course = *window.GetTimelineBar().GetTimeline().GetCourse();
    EXPECT_EQ(course.outcome, TMoveOutcome::Finished);
    EXPECT_EQ(course.endStep, WholeMove);
    EXPECT_EQ(course.DeliveredBy(WholeMove), 666);
    // The first delivery, six hundreds, the finish.
    EXPECT_EQ(course.Marks().size(), 8U);
    EXPECT_EQ(course.Marks().front(), course.deliveredAt.front());

    // Whichever widget has the focus: the view's picture here.
    QWidget* view = window.findChild<QWidget*>(QStringLiteral("pb"));
    view->setFocus();
    QElapsedTimer latency;
    latency.start();
    QTest::keyClick(view, Qt::Key_End);
    ASSERT_TRUE(Arrived(WholeMove));
    std::printf("the jump to the end arrived after %lld ms\n", static_cast<long long>(latency.elapsed()));
    EXPECT_EQ(Latest().outcome, TMoveOutcome::Finished);
    EXPECT_EQ(PublishedRows(), ToolRows(WholeMove));
    const struct { Qt::Key key; std::int64_t step; } rows[] = {
        {Qt::Key_Left, WholeMove - 1}, {Qt::Key_Home, 0}, {Qt::Key_Right, 1},
        {Qt::Key_PageDown, 1501}, {Qt::Key_PageUp, 1}, {Qt::Key_Left, 0}, {Qt::Key_Left, 0},
    };
    for (const auto& row : rows) {
        latency.restart();
        QTest::keyClick(view, row.key);
        ASSERT_TRUE(Arrived(row.step)) << row.step;
        if (row.step == WholeMove - 1)
            std::printf("the jump one step back from the end arrived after %lld ms\n", static_cast<long long>(latency.elapsed()));
    }
}

TEST_F(Review, ADraggedKnobShowsTheMoveAtTheKnobOnTheWayNotOnlyWhereItIsLetGo)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.GetTimelineBar().GetTimeline().GetCourse().has_value(); }, 60000));
    TTimelineSlider& slider = *window.GetTimelineBar().GetTimeline().GetSlider();
    slider.setSliderDown(true);
    // Across the whole move at about the pace of a mouse.
    std::set<std::int64_t> asked;
    std::set<std::int64_t> shown;
    QElapsedTimer dragging;
    dragging.start();
    for (int i = 1; i <= 60; ++i) {
        const auto step = static_cast<int>(WholeMove * i / 61);
        slider.setSliderPosition(step);
        asked.insert(step);
        QTest::qWait(25);
        if (asked.contains(Latest().step))
            shown.insert(Latest().step);
    }
    std::printf("the drag showed %zu of %zu knob positions, %.0f a second\n", shown.size(), asked.size(),
                static_cast<double>(shown.size()) * 1000.0 / static_cast<double>(dragging.elapsed()));
    slider.setSliderDown(false);
    EXPECT_GT(shown.size(), 1U);
    EXPECT_TRUE(Arrived(WholeMove * 60 / 61));
}

TEST_F(Review, TheViewAsSvgHoldsOneBarPerPersonAndExportsThatCannotBeWrittenLeaveNothing)
{
    const QString svg = dir.filePath(QStringLiteral("view.svg"));
    ASSERT_EQ(window.GetExports().ExportView(svg, QSize(640, 300)), QString());
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // A bar is a three pixels wide line with flat ends in the person's colour.
    int bars = 0;
    QXmlStreamReader xml(&file);
    std::vector<bool> barGroups{false};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QStringLiteral("g"))
            barGroups.push_back(xml.attributes().value(QStringLiteral("stroke-width")) == QStringLiteral("3")
                                && xml.attributes().value(QStringLiteral("stroke-linecap")) == QStringLiteral("butt"));
        else if (xml.isEndElement() && xml.name() == QStringLiteral("g"))
            barGroups.pop_back();
        else if (xml.isStartElement() && xml.name() == QStringLiteral("polyline") && barGroups.back())
            ++bars;
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    // Eleven persons, the source and the sink.
    EXPECT_EQ(bars, 13);

    // A file standing where the folder should be: nothing can be written below it.
    const QString notAFolder = dir.filePath(QStringLiteral("not-a-folder"));
    QFile(notAFolder).open(QIODevice::WriteOnly);
    const QString below = notAFolder + QStringLiteral("/out");
    const QString written[] = {
        window.GetExports().ExportView(below + QStringLiteral(".png")), window.GetExports().ExportView(below + QStringLiteral(".svg")),
        window.GetExports().ExportChart(below + QStringLiteral(".png")), window.GetExports().ExportSeries(below + QStringLiteral(".csv")),
        ExportTrace(window.GetSession().GetDescription(), 10, below + QStringLiteral(".csv"), never),
        ExportText("report", dir.filePath(QStringLiteral("missing/report.txt"))),
    };
    for (const QString& error : written)
        EXPECT_TRUE(error.contains(QStringLiteral("lässt sich nicht schreiben"))) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"not-a-folder", "view.svg"}));

    const QString png = dir.filePath(QStringLiteral("chart.png"));
    EXPECT_EQ(window.GetExports().ExportChart(png), QString());
    EXPECT_FALSE(QImage(png).isNull());
    // Each of the two charts' curves within a clip path of its plot, the files titled in German.
    const QString chartSvg = dir.filePath(QStringLiteral("chart.svg"));
    EXPECT_EQ(window.GetExports().ExportChart(chartSvg), QString());
    QFile chart(chartSvg);
    ASSERT_TRUE(chart.open(QIODevice::ReadOnly));
    const QByteArray chartText = chart.readAll();
    EXPECT_EQ(chartText.count("clip-path=\"url(#clip"), 2);
    // Each plot inside the picture, as the chart lays itself out even when it was never shown.
    static const QRegularExpression clip(
        QStringLiteral("<clipPath id=\"clip\\d\"><rect x=\"([-.\\d]+)\" y=\"([-.\\d]+)\" width=\"([-.\\d]+)\" height=\"([-.\\d]+)\""));
    const QRectF picture(QPointF(0, 0), QSizeF(window.findChild<TRunChart*>()->size()));
    int plots = 0;
    for (const QRegularExpressionMatch& m : clip.globalMatch(QString::fromUtf8(chartText))) {
        const QRectF plot(m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4).toDouble());
        EXPECT_TRUE(plot.height() > 20 && plot.width() > 50 && picture.contains(plot)) << m.captured(0).toStdString();
        ++plots;
    }
    EXPECT_EQ(plots, 2);
    EXPECT_TRUE(chartText.contains("<title>Verlauf</title>"));
    file.seek(0);
    EXPECT_TRUE(file.readAll().contains("<title>Ansicht des Umzugs</title>"));
    const QString csv = dir.filePath(QStringLiteral("series.csv"));
    EXPECT_EQ(window.GetExports().ExportSeries(csv), QString());
    QFile series(csv);
    ASSERT_TRUE(series.open(QIODevice::ReadOnly));
    EXPECT_EQ(series.readLine(), QByteArray("step,minutes,delivered,per_minute,bound_per_minute\n"));
    window.GetExports().CopyView();
    EXPECT_EQ(QApplication::clipboard()->image().size(), window.findChild<QWidget*>(QStringLiteral("pb"))->size());

    // A device is written through and never replaced by a file; a full one is
    // refused with the system's reason. Made here, never the machine's own.
    if (geteuid() != 0)
        GTEST_SKIP() << "not root: no device to export to";
    const QString full = dir.filePath(QStringLiteral("full"));
    ASSERT_EQ(mknod(QFile::encodeName(full).constData(), S_IFCHR | 0666, makedev(1, 7)), 0);
    for (const QString& error : {window.GetExports().ExportView(full), window.GetExports().ExportSeries(full),
                                 ExportText("report", full), ExportTrace(window.GetSession().GetDescription(), 10, full, never)})
        EXPECT_TRUE(error.contains(QStringLiteral("lässt sich nicht schreiben: ")) && error.contains(QStringLiteral("„") + full))
            << error.toStdString();
    struct stat device {};
    EXPECT_TRUE(stat(QFile::encodeName(full).constData(), &device) == 0 && S_ISCHR(device.st_mode));
}

TEST_F(Review, TheTraceExportedFromTheWindowIsZembaRunsByteForByte)
{
    window.GetTimelineBar().JumpTo(2500);
    ASSERT_TRUE(Arrived(2500));
    const QString path = dir.filePath(QStringLiteral("trace.csv"));
    ASSERT_EQ(ExportTrace(window.GetSession().GetDescription(), window.GetSession().GetShownStep(), path, never), QString());
    TRunOptions options;
    options.steps = 2500;
    options.tracePath = "-";
    std::ostringstream out, err;
    ASSERT_EQ(RunHeadless(options, out, err), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), out.str());
}

TEST_F(Review, AMoveRunToItsEndAtTopSpeedIsHeldWhereAJumpTakesItAndPlaysOnToItsEndAgain)
{
    TScenarioDescription quick = BuiltInMove();
    quick.stock = 40;
    window.GetDocument().Run(quick);
    window.findChild<QAction*>(QStringLiteral("acSpeedFast"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Latest().outcome == TMoveOutcome::Finished; }, 30000));

    auto* view = window.findChild<TframeZemba*>();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Home);
    ASSERT_TRUE(Arrived(0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.GetStatusText().startsWith(QStringLiteral("Schritt 0 · 0:00:00")); }, 5000))
        << window.GetStatusText().toStdString();
    QAction* pause = window.findChild<QAction*>(QStringLiteral("acSimPause"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pause->isEnabled(); }, 5000));
    EXPECT_EQ(pause->text(), QStringLiteral("&Weiter"));
    const QImage held = view->grab().toImage();
    QTest::qWait(1000);
    EXPECT_EQ(view->grab().toImage(), held);
    EXPECT_EQ(Latest().step, 0);

    pause->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().outcome == TMoveOutcome::Finished; }, 30000));
}

TEST_F(Review, TheWindowsKeysWorkInAQuickChangeFieldWhichKeepsItsOwnAndGivesTheFocusBack)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.findChild<QToolBar*>(QStringLiteral("tbQuick"))->show();
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("edQuick1"));
    const QString stock = field->text();
    window.GetTimelineBar().JumpTo(2000);
    ASSERT_TRUE(Arrived(2000));
    field->setFocus();
    field->setCursorPosition(1);

    // Left edits; Home jumps, and the field keeps its text.
    QTest::keyClick(field, Qt::Key_Left);
    EXPECT_EQ(field->cursorPosition(), 0);
    QTest::keyClick(field, Qt::Key_Home);
    ASSERT_TRUE(Arrived(0));
    EXPECT_EQ(field->text(), stock);
    EXPECT_TRUE(field->hasFocus());

    // Esc takes back what was typed and hands the focus on, where Right steps.
    QTest::keyClicks(field, QStringLiteral("9"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(field->text(), stock);
    auto* view = window.findChild<TframeZemba*>();
    EXPECT_TRUE(view->hasFocus());
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_TRUE(Arrived(1));
    EXPECT_EQ(window.GetSession().GetDescription(), BuiltInMove());
}

TEST_F(Review, AMarkedStepIsJumpedBackToComparedWithAnotherAndBelongsToItsMove)
{
    TBookmarks& marks = window.GetBookmarks();
    auto* view = window.findChild<TframeZemba*>();
    for (const std::int64_t step : {3000, 1000}) {
        window.GetTimelineBar().JumpTo(step);
        ASSERT_TRUE(Arrived(step));
        QTest::keyClick(view, Qt::Key_M);
    }
    EXPECT_EQ(marks.GetMarks(), (std::vector<std::int64_t>{1000, 3000}));
    QTest::keyClick(view, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_TRUE(Arrived(3000));
    QTest::keyClick(view, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_TRUE(Arrived(1000));

    marks.Compare();
    const TfrmMarkCompare& table = *marks.GetComparison();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !table.GetFigure(0, 0).isEmpty() && !table.GetFigure(0, 1).isEmpty(); }, 30000));
    EXPECT_EQ(table.GetFigure(0, 0), StepAndTimeText(1000));
    EXPECT_EQ(table.GetFigure(0, 1), StepAndTimeText(3000));
    EXPECT_EQ(StepAndTimeText(3000), QStringLiteral("Schritt 3.000 · 0:02:00"));

    window.GetSession().Restart();
    EXPECT_EQ(marks.GetMarks().size(), 2U);
    TScenarioDescription other = BuiltInMove();
    other.seed = 7;
    window.GetDocument().Run(other);
    EXPECT_TRUE(marks.GetMarks().empty());
}

TEST_F(Review, TheExportedViewCarriesNoRatesWhichTheWindowShows)
{
    const QString png = dir.filePath(QStringLiteral("view.png"));
    ASSERT_EQ(window.GetExports().ExportView(png, QSize(640, 300)), QString());
    const QImage exported(png);
    const QImage shown = window.findChild<TframeZemba*>()->RenderPicture(QSize(640, 300));
    // The rates stand in the top left corner, right of the source's bar.
    const auto blank = [](const QImage& picture) {
        for (int y = 0; y < 28; ++y)
            for (int x = 10; x < 90; ++x)
                if (picture.pixel(x, y) != picture.pixel(10, 0))
                    return false;
        return true;
    };
    EXPECT_TRUE(blank(exported));
    EXPECT_FALSE(blank(shown));
}
