// The program's window as a user meets it, from the first show to a clean close.
#include "app/clsExportMenu.h"
#include "app/clsMoveSession.h"
#include "app/clsReportPresenter.h"
#include "app/clsScenarioDocument.h"
#include "dialogs/frm_Scenario.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"
#include "analysis/TraceWriter.h"
#include "app/frm_Main.h"
#include "dialogs/frm_Report.h"
#include "dialogs/frm_About.h"
#include "dialogs/frm_Experiment.h"
#include "dialogs/frm_Persons.h"
#include "model/clsBucketChain.h"
#include "model/clsChainState.h"
#include "view/frame_Zemba.h"
#include "view/clsLegend.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

namespace {

using namespace std::chrono_literals;

// Runs zemba-run to its end and gives its exit status, -1 if it did not end
// by itself. Started through posix_spawn, not QProcess: Qt starts a process
// with a vfork of its own that ThreadSanitizer cannot see, and loses track of
// what the window's threads handed each other before it.
int RunHeadless(std::vector<std::string> args)
{
    args.insert(args.begin(), ZEMBA_RUN);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, ZEMBA_RUN, nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Every test starts as a first start, with settings of its own, never the
// user's: cleared before the window is made, which reads them.
struct TFreshSettings
{
    explicit TFreshSettings(const char* application)
    {
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setOrganizationName(QStringLiteral("zemba-tests"));
        QApplication::setApplicationName(QString::fromLatin1(application));
        QSettings().clear();
    }
};

class Workbench : public testing::Test
{
protected:

    QAction* Action(const char* name) { return window.findChild<QAction*>(QString::fromLatin1(name)); }
    const TChainState& Latest() { return window.GetSession().GetPublisher().Latest(); }
    bool Steps() { return QTest::qWaitFor([&] { return window.GetSession().GetChain()->GetStepsPerSecond() > 0; }, 5000); }
    // Pauses the running move and waits until the simulation thread holds it.
    // Until its first steps are counted a running chain is shown at 0 steps/s
    // too, which would pass for the pause while a step is still under way.
    bool PauseAndWait()
    {
        if (!QTest::qWaitFor([&] { return Latest().stepsPerSecond > 0; }, 5000))
            return false;
        Action("acSimPause")->trigger();
        return QTest::qWaitFor([&] { return Latest().stepsPerSecond == 0; }, 2000);
    }

    // Where the picture stands a person's bar; null if nowhere.
    QPoint BarOf(std::int32_t id)
    {
        auto* view = window.findChild<TframeZemba*>();
        const QWidget* box = view->findChild<QWidget*>(QStringLiteral("pb"));
        for (int x = 0; x < box->width(); ++x)
            for (int y = 0; y < box->height(); y += 2)
                if (view->PersonAt({x, y}) == id)
                    return {x, y};
        return {};
    }

    QString WriteFile(const char* name, const char* text)
    {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
        return file.fileName();
    }

    TFreshSettings settings{"workbench"};
    QTemporaryDir dir;
    TfrmMain window;
};

// Answers every message box that shows while it lives, keeping the last
// text: with the button of the text given, else by accepting it.
struct TMessageAnswerer
{
    explicit TMessageAnswerer(const QString& button = {})
    {
        QObject::connect(&timer, &QTimer::timeout, [this, button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                const QList<QAbstractButton*> buttons = box->buttons();
                const auto named = std::find_if(buttons.begin(), buttons.end(),
                                                [&](const QAbstractButton* b) { return b->text() == button; });
                if (named != buttons.end())
                    (*named)->click();
                else
                    box->accept();
            }
        });
        timer.start(20);
    }

    QTimer timer;
    QString text;
};

} // namespace

TEST_F(Workbench, TitleMenusAndEntriesCarryGermanCaptionsAndShortcuts)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vuzuzidazerezeda V 0.01"));
    QStringList menus;
    for (const QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, QStringList({"Datei", "Bearbeiten", "&Simulation", "&Ansicht", "?"}));
    // The entries with shortcuts, and one whose caption carries a non-ASCII sign.
    const struct { const char* action; const char* text; const char* shortcut; } rows[] = {
        {"acFileOpen", "Szenario ö&ffnen...", "Ctrl+O"},
        {"acFileExit", "&Beenden", "Ctrl+Q"},
        {"acSimPause", "&Pause", "Space"},
        {"acSpeed1", "&1× (25 Schritte/s)", ""},
    };
    for (const auto& row : rows) {
        const QAction* action = Action(row.action);
        ASSERT_NE(action, nullptr) << row.action;
        EXPECT_EQ(action->text(), QString::fromUtf8(row.text)) << row.action;
        EXPECT_EQ(action->shortcut().toString(), QString::fromLatin1(row.shortcut)) << row.action;
    }
    EXPECT_TRUE(Action("acSpeed1")->isChecked());
    window.show();
    // The status bar comes on top: the view keeps the size it had in a window of 531 × 317.
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("pb"))->size(), QSize(531, 317 - window.menuBar()->height()));
}

TEST_F(Workbench, TheFirstShowBuildsTheScenarioOnceAndStartsTheSimulation)
{
    EXPECT_EQ(window.GetSession().GetObjects().GetCount(), 0U);
    window.show();
    TBucketChain* chain = window.GetSession().GetChain();
    window.hide();
    window.show();
    EXPECT_EQ(window.GetSession().GetChain(), chain);
    EXPECT_EQ(window.GetSession().GetObjects().GetCount(), 27U);
    EXPECT_TRUE(Steps());
}

// Each use opens a fresh dialog and leaves none behind; the chain moves behind it.
TEST_F(Workbench, TheChainKeepsMovingBehindADialogThatLeavesNothingBehind)
{
    window.show();
    ASSERT_TRUE(Steps());
    for (const char* action : {"acEditPersons", "acInfoAbout", "acEditPersons"}) {
        std::int64_t stepsInDialog = -1;
        const std::int64_t before = Latest().step;
        QTimer::singleShot(50, [&] {
            if (QTest::qWaitFor([&] { return Latest().step > before + 2; }, 2000))
                stepsInDialog = Latest().step - before;
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        Action(action)->trigger();
        EXPECT_GT(stepsInDialog, 2) << action;
        EXPECT_TRUE(window.findChildren<TfrmPersons*>().isEmpty() && window.findChildren<TfrmAbout*>().isEmpty());
    }
}

TEST_F(Workbench, ARefusedFileIsShownAndTheRunningMoveGoesOn)
{
    window.show();
    TBucketChain* running = window.GetSession().GetChain();
    const QString title = window.windowTitle();
    const QString path = WriteFile("broken.json", "{\"trail\": [");
    TMessageAnswerer answerer;
    EXPECT_FALSE(window.GetDocument().OpenFile(path));
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("broken.json: Zeile 1, Spalte 12: die Datei endet vor ihrem JSON")))
        << answerer.text.toStdString();
    EXPECT_EQ(window.GetSession().GetChain(), running);
    EXPECT_EQ(window.windowTitle(), title);
    const std::int64_t step = Latest().step;
    EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step > step; }, 2000));
}

// A file that is no text at all is refused in whole German words, and Qt has nothing to complain of.
TEST_F(Workbench, ABinaryFileIsRefusedInWholeGermanWords)
{
    static QStringList warnings;
    warnings.clear();
    QFile file(dir.filePath(QStringLiteral("picture.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18));
    file.close();
    TMessageAnswerer answerer;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    EXPECT_FALSE(window.GetDocument().OpenFile(file.fileName()));
    qInstallMessageHandler(previous);
    EXPECT_TRUE(answerer.text.startsWith(file.fileName() + QStringLiteral(": Zeile 1, Spalte ")));
    EXPECT_TRUE(answerer.text.endsWith(QStringLiteral(": kein gültiges JSON"))) << answerer.text.toStdString();
    EXPECT_FALSE(warnings.join(QLatin1Char('\n')).contains(QStringLiteral("QString::arg"))) << warnings.join(QLatin1Char('\n')).toStdString();
}

// A wrong size for the exported view is explained and asked for again, the wrong answer offered to mend.
TEST(Exports, AWrongPictureSizeIsExplainedAndAskedForAgain)
{
    QWidget owner;
    QStringList offered;
    int explained = 0;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            offered << input->textValue();
            input->setTextValue(offered.size() == 1 ? QStringLiteral("640 mal 480") : QStringLiteral("640x480"));
            input->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++explained;
            box->accept();
        }
    });
    answerer.start(20);
    EXPECT_EQ(AskPictureSize(owner, QSize(800, 600)), QSize(640, 480));
    EXPECT_EQ(offered, QStringList({QStringLiteral("800x600"), QStringLiteral("640 mal 480")}));
    EXPECT_EQ(explained, 1);
}

TEST_F(Workbench, ARefusedFileOnTheCommandLineLeavesTheBuiltInMoveRunningAndSaysSo)
{
    window.SetScenarioFile(WriteFile("truncated.json", "{\"trail\": [1,"));
    TMessageAnswerer answerer;
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answerer.text.isEmpty(); }, 2000));
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("truncated.json: Zeile 1"))) << answerer.text.toStdString();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vuzuzidazerezeda V 0.01 – truncated.json abgelehnt – eingebauter Umzug"));
    EXPECT_EQ(window.GetSession().GetObjects().GetCount(), 27U);
    EXPECT_TRUE(Steps());
}

TEST_F(Workbench, AnOpenedFileRunsAndARestartBuildsItAfresh)
{
    window.show();
    const auto legendRows = [&] { return window.findChild<TLegend*>()->GetEntries().size(); };
    const std::size_t builtInRows = legendRows();
    const QString title = window.windowTitle();
    const QString path = WriteFile("small.json", R"({"trail": [{"kind": "plain", "length": 0.3}],
        "source": {"stock": 5}, "persons": [{"count": 2, "speed": 0.002}]})");
    ASSERT_TRUE(window.GetDocument().OpenFile(path));
    EXPECT_EQ(window.windowTitle(), title + QStringLiteral(" – small.json"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step > 5; }, 3000));
    EXPECT_EQ(Latest().handlers.size(), 4U);
    EXPECT_EQ(builtInRows - legendRows(), 9U) << "the legend lists the two persons of the file, not the eleven";

    Action("acSimRestart")->trigger();
    EXPECT_LT(Latest().step, 5) << "the move starts over";
    EXPECT_EQ(Latest().handlers.size(), 4U);
    EXPECT_TRUE(window.GetSession().IsRunning());
}

// A move with a start tells its times by the clock.
TEST_F(Workbench, AFinishedMoveIsHeldAtItsLastStepAndCannotBeContinued)
{
    window.show();
    const QString path = WriteFile("small.json", R"({"trail": [{"kind": "plain", "length": 0.3}], "start": "10:00",
        "source": {"stock": 3}, "persons": [{"count": 3, "speed": 0.01}]})");
    ASSERT_TRUE(window.GetDocument().OpenFile(path));
    Action("acSpeedFast")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Latest().outcome == TMoveOutcome::Finished; }, 10000));
    const std::int64_t finish = Latest().step;
    QTest::qWait(300);
    EXPECT_EQ(Latest().step, finish) << "held, not stepped on";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.GetStatusText().contains(QStringLiteral("fertig nach Schritt")); }, 2000));
    EXPECT_TRUE(window.GetStatusText().contains(QStringLiteral(" · 10:00:"))) << window.GetStatusText().toStdString();
    EXPECT_FALSE(Action("acSimPause")->isEnabled());
    EXPECT_FALSE(Action("acSimStep")->isEnabled());
    // The report of the move shows beside it, from the record of its course run.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.GetReport().GetDialog() != nullptr; }, 10000));
    EXPECT_TRUE(window.GetReport().GetDialog()->isVisible());
    EXPECT_TRUE(window.GetReport().GetDialog()->GetMoveText().startsWith(
        QStringLiteral("Die letzte von 3 Lasten wurde in Schritt %1 geliefert").arg(finish)));
    EXPECT_TRUE(window.GetReport().GetDialog()->GetMoveText().contains(QStringLiteral("Begonnen um 10:00, fertig um 10:00.\n"
                                                                                    "Der Weg ist 7.5 m lang, bei 25 m je Wegeinheit.")));
}

TEST_F(Workbench, APauseHoldsTheMoveAndASingleStepStepsOnce)
{
    window.show();
    EXPECT_FALSE(Action("acSimStep")->isEnabled());
    ASSERT_TRUE(PauseAndWait());
    EXPECT_TRUE(window.GetSession().IsPaused());
    EXPECT_EQ(Action("acSimPause")->text(), QStringLiteral("&Weiter"));
    const std::int64_t paused = Latest().step;
    Action("acSimStep")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step == paused + 1; }, 2000));
    QTest::qWait(200);
    EXPECT_EQ(Latest().step, paused + 1);

    Action("acSimPause")->trigger();
    EXPECT_FALSE(window.GetSession().IsPaused());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step > paused + 3; }, 2000));
}

TEST_F(Workbench, AClickSelectsAPersonAndADoubleClickOpensItsRow)
{
    window.show();
    ASSERT_TRUE(PauseAndWait());
    auto* view = window.findChild<TframeZemba*>();
    auto* box = view->findChild<QWidget*>(QStringLiteral("pb"));
    // The last person in the chain.
    const TChainState state = Latest();
    const THandlerState& person = state.handlers[state.handlers.size() - 2];
    const QPoint bar = BarOf(person.id);
    ASSERT_FALSE(bar.isNull());

    QTest::mouseClick(box, Qt::LeftButton, {}, bar);
    EXPECT_EQ(view->GetSelected(), person.id);

    QString current;
    QTimer::singleShot(100, [&] {
        if (auto* persons = qobject_cast<TfrmPersons*>(QApplication::activeModalWidget())) {
            current = persons->findChild<QListWidget*>()->currentItem()->text();
            persons->reject();
        }
    });
    QTest::mouseDClick(box, Qt::LeftButton, {}, bar);
    EXPECT_EQ(current, QString::number(person.id));
    QTest::mouseClick(box, Qt::LeftButton, {}, {1, 1});
    EXPECT_TRUE(view->GetPanelText().isEmpty()) << "a click beside every bar clears the selection";

}

// The quick change's field keeps the focus through a double click on a bar
// (the picture takes none) and loses it to the persons dialog that the double
// click opens: the move starts afresh with twelve persons under the open
// dialog, and so does a restart from the menu. The dialog reads on from the
// session's one publisher and lists the new move's persons.
TEST_F(Workbench, AQuickChangeOrARestartUnderAnOpenPersonsDialogLeavesItReadingTheNewMove)
{
    window.show();
    window.findChild<QToolBar*>(QStringLiteral("tbQuick"))->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(PauseAndWait());
    auto* persons = window.findChild<QLineEdit*>(QStringLiteral("edQuick0"));
    persons->setFocus();
    persons->selectAll();
    QTest::keyClicks(persons, QStringLiteral("12"));
    ASSERT_EQ(window.GetSession().GetDescription().persons[0].count, 11) << "nothing changes before the field is left";

    bool appliedInDialog = false;
    int rows = 0;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<TfrmPersons*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        // The field hears of losing the focus once the dialog is active.
        appliedInDialog =
            QTest::qWaitFor([&] { return window.GetSession().GetDescription().persons[0].count == 12; }, 3000);
        Action("acSimRestart")->trigger();
        // Long enough for the dialog's timer to read the publisher twice.
        QTest::qWait(1200);
        rows = dialog->findChild<QListWidget*>()->count();
        dialog->reject();
    });
    // By the menu: a click on the picture would take the focus, and the change with it, first.
    Action("acEditPersons")->trigger();
    EXPECT_TRUE(appliedInDialog) << "the quick change is applied while the dialog is open";
    EXPECT_EQ(rows, 12);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step > 2; }, 3000));
}

TEST(Faults, ClosingTheWindowFiftyTimesWhileTheChainStepsJoinsTheThreadEachTime)
{
    for (int round = 0; round < 50; ++round) {
        TfrmMain window;
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.GetSession().GetChain()->GetStepsPerSecond() > 0; }, 5000));
        QTest::qWait(30);
        const auto start = std::chrono::steady_clock::now();
        window.close();
        // A step takes microseconds; the bound allows for a loaded machine and catches a join that hangs.
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "round " << round;
    }
}

TEST_F(Workbench, TheEditorStartsTheEditedMoveAndNeuAsksBeforeEditsAreLost)
{
    window.show();
    TScenarioDocument& document = window.GetDocument();
    document.GetEditAction()->trigger();
    TfrmScenario* editor = document.GetEditor();
    ASSERT_TRUE(editor && editor->isVisible());
    editor->findChild<QTableWidget*>(QStringLiteral("tblPersons"))->item(0, TfrmScenario::ColCount)->setText(QStringLiteral("14"));
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("btOk")), Qt::LeftButton);
    EXPECT_FALSE(editor->isVisible());
    const auto persons = [&] {
        return std::count_if(Latest().handlers.begin(), Latest().handlers.end(),
                             [](const THandlerState& h) { return h.IsPerson(); });
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return persons() == 14; }, 3000));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("unbenannt*"))) << window.windowTitle().toStdString();

    TMessageAnswerer answerer(QStringLiteral("Abbrechen"));
    document.GetNewAction()->trigger();
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("nicht gespeichert"))) << answerer.text.toStdString();
    EXPECT_EQ(window.GetSession().GetDescription().persons[0].count, 14);
    EXPECT_TRUE(window.windowTitle().endsWith(QLatin1Char('*')));
}

// Closed by Esc, the experiment is only hidden: its sweep goes on, the status
// bar tells its end, and reopened it is the same, with its runs. Quitting
// over rows not saved asks first; so does a run opened over an unsaved move.
TEST_F(Workbench, AClosedExperimentIsKeptAndNothingUnsavedIsLostWithoutAsking)
{
    window.show();
    QAction* open = Action("acSimExperiment");
    open->trigger();
    auto* experiment = window.findChild<TfrmExperiment*>();
    ASSERT_NE(experiment, nullptr);
    experiment->findChild<QSpinBox*>(QStringLiteral("seSeedCount"))->setValue(2);
    experiment->findChild<QSpinBox*>(QStringLiteral("seMaxSteps"))->setValue(20000);
    ASSERT_TRUE(experiment->Start(2));
    QTest::keyClick(experiment, Qt::Key_Escape);
    EXPECT_FALSE(experiment->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !experiment->IsRunning(); }, 30000));
    const auto* told = window.findChild<QLabel*>(QStringLiteral("lbExperimentRuns"));
    EXPECT_TRUE(told->isVisible());
    EXPECT_EQ(told->text(), QStringLiteral("Experiment fertig: 2 von 2 Läufen"));
    auto* runs = experiment->findChild<QTableWidget*>(QStringLiteral("tblRuns"));
    ASSERT_EQ(runs->rowCount(), 2);
    open->trigger();
    EXPECT_EQ(window.findChild<TfrmExperiment*>(), experiment);
    EXPECT_TRUE(experiment->isVisible());
    EXPECT_EQ(runs->rowCount(), 2);

    {
        TMessageAnswerer answerer(QStringLiteral("Abbrechen"));
        Action("acFileExit")->trigger();
        EXPECT_TRUE(answerer.text.contains(QStringLiteral("nicht gespeichert"))) << answerer.text.toStdString();
    }
    EXPECT_TRUE(window.isVisible());

    emit runs->cellDoubleClicked(0, 0);
    const TScenarioDescription first = window.GetSession().GetDescription();
    EXPECT_EQ(first.seed, 1U);
    TMessageAnswerer answerer(QStringLiteral("Abbrechen"));
    emit runs->cellDoubleClicked(1, 0);
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("nicht gespeichert"))) << answerer.text.toStdString();
    EXPECT_EQ(window.GetSession().GetDescription(), first);
}

TEST_F(Workbench, AnEditedMoveSavedToAFileRunsHeadlessToTheSameTraceAsTheWindowsMove)
{
    window.show();
    // The built-in move with fourteen persons and eight flights of steps.
    TScenarioDescription edited = BuiltInMove();
    edited.persons[0].count = 14;
    while (std::count_if(edited.trail.begin(), edited.trail.end(),
                         [](const TSectionDescription& s) { return s.kind == TSectionDescription::TKind::Steps; }) < 8)
        edited.trail.insert(edited.trail.end(), {{TSectionDescription::TKind::Plain, 0.05}, {TSectionDescription::TKind::Steps, 0.2}});
    window.GetDocument().GetEditAction()->trigger();
    window.GetDocument().GetEditor()->SetDescription(edited);
    QTest::mouseClick(window.GetDocument().GetEditor()->findChild<QPushButton*>(QStringLiteral("btApply")), Qt::LeftButton);
    ASSERT_EQ(window.GetSession().GetDescription(), edited);

    const QString saved = dir.filePath(QStringLiteral("mine.json"));
    ASSERT_TRUE(window.GetDocument().SaveTo(saved));
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral(" – mine.json")));
    EXPECT_EQ(ReadScenarioFile(saved.toStdString()), window.GetSession().GetDescription());

    constexpr std::int64_t Steps = 3000;
    constexpr std::int64_t Every = 500;
    TZOManager objects;
    TScenario scenario(objects, window.GetSession().GetDescription());
    std::ostringstream expected;
    TTraceWriter trace(expected);
    trace.WriteHeader();
    trace.WriteStep(0, *scenario.GetChain());
    for (std::int64_t step = 1; step <= Steps; ++step) {
        scenario.GetLoop().Step();
        if (step % Every == 0)
            trace.WriteStep(step, *scenario.GetChain());
    }
    const std::string traced = dir.filePath(QStringLiteral("mine.csv")).toStdString();
    ASSERT_EQ(RunHeadless({"--scenario", saved.toStdString(), "--steps", std::to_string(Steps), "--every",
                           std::to_string(Every), "--trace", traced}),
              0);
    std::ostringstream written;
    written << std::ifstream(traced).rdbuf();
    EXPECT_EQ(written.str(), expected.str());
}

// The report of a large move up to a late step, a comparison of it and its
// course run all take many seconds; the window goes at once all the same.
TEST(Faults, ClosingTheWindowGivesUpTheWorkInTheBackground)
{
    auto window = std::make_unique<TfrmMain>();
    window->show();
    window->GetDocument().Run(BuiltInMove(1100));
    window->GetReport().Show(window->GetSession().GetDescription(), 100'000);
    window->findChild<QAction*>(QStringLiteral("acSimCompare"))->trigger();
    QTest::qWait(300);
    const auto start = std::chrono::steady_clock::now();
    window.reset();
    // A guard against waiting for the work to end, not a measurement.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}
