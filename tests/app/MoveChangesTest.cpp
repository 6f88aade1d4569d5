// Persons who join and leave the move while it runs in the window.
#include "analysis/TraceWriter.h"
#include "app/clsMoveExports.h"
#include "app/clsMoveSession.h"
#include "app/clsScenarioDocument.h"
#include "app/clsTimelineBar.h"
#include "app/frm_Main.h"
#include "model/clsChainState.h"
#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::atomic<bool> never{false};

class MoveChanges : public testing::Test
{
protected:
    MoveChanges()
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Latest().step > 0; }, 5000));
    }

    const TChainState& Latest() { return window.GetSession().GetPublisher().Latest(); }
    QAction* Action(const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }
    bool Arrived(std::int64_t step)
    {
        return QTest::qWaitFor([&] { return !window.GetSession().IsJumping() && Latest().step == step; }, 30000);
    }
    void JumpTo(std::int64_t step)
    {
        window.GetTimelineBar().JumpTo(step);
        ASSERT_TRUE(Arrived(step)) << step;
    }

    bool fresh = [] {
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setOrganizationName(QStringLiteral("zemba-tests"));
        QApplication::setApplicationName(QStringLiteral("move-changes"));
        QSettings().clear();
        return true;
    }();
    QTemporaryDir dir;
    TfrmMain window;
};

} // namespace

// Added while the move runs, the person is part of the move: the live chain
// is the changed move's, the file saved replays it, and the window's trace
// export is zemba-run's trace of that file byte for byte.
TEST_F(MoveChanges, APersonAddedLiveIsSavedAndTheSavedFileReplaysTheWindowsTrace)
{
    const std::int32_t persons = Latest().personCount;
    Action("acAddPerson")->trigger();
    ASSERT_EQ(window.GetSession().GetDescription().schedule.size(), 1U);
    const std::int64_t added = window.GetSession().GetDescription().schedule.front().step;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.GetSession().IsJumping() && Latest().personCount == persons + 1; }, 30000));
    EXPECT_FALSE(window.GetSession().IsPaused());
    EXPECT_TRUE(window.windowTitle().endsWith(QLatin1Char('*'))) << window.windowTitle().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Latest().step > added + 100; }, 30000));
    JumpTo(added + 2000);

    const QString saved = dir.filePath(QStringLiteral("joined.json"));
    ASSERT_TRUE(window.GetDocument().SaveTo(saved));
    EXPECT_FALSE(window.GetDocument().HasUnsavedEdits());
    const QString exported = dir.filePath(QStringLiteral("trace.csv"));
    ASSERT_EQ(ExportTrace(window.GetSession().GetDescription(), added + 2000, exported, never), QString());

    TRunOptions options;
    options.scenarioPath = saved.toStdString();
    options.steps = added + 2000;
    options.every = added + 2000;
    options.tracePath = "-";
    std::ostringstream out, err;
    ASSERT_EQ(RunHeadless(options, out, err), 0) << err.str();
    QFile file(exported);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string trace = file.readAll().toStdString();
    options.every = 1;
    std::ostringstream everyStep;
    ASSERT_EQ(RunHeadless(options, everyStep, err), 0) << err.str();
    EXPECT_EQ(trace, everyStep.str());
    // The chain in the window is that file's chain at the step: the last rows of its trace.
    EXPECT_EQ(Latest().personCount, persons + 1);
    std::ostringstream live;
    TTraceWriter(live).WriteState(Latest());
    EXPECT_TRUE(out.str().ends_with(live.str()));
}

// A jump back before a change keeps it ahead; replanning from there drops it,
// after asking.
TEST_F(MoveChanges, AJumpBackKeepsAChangeAheadAndReplanningDropsIt)
{
    JumpTo(1000);
    const std::int32_t persons = Latest().personCount;
    Action("acAddPerson")->trigger();
    ASSERT_TRUE(Arrived(1000));
    EXPECT_EQ(Latest().personCount, persons + 1);
    EXPECT_TRUE(window.GetSession().IsPaused());

    JumpTo(500);
    EXPECT_EQ(Latest().personCount, persons);
    JumpTo(1200);
    EXPECT_EQ(Latest().personCount, persons + 1);

    JumpTo(500);
    QTimer::singleShot(100, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    Action("acReplan")->trigger();
    ASSERT_TRUE(Arrived(500));
    EXPECT_TRUE(window.GetSession().GetDescription().schedule.empty());
    JumpTo(1200);
    EXPECT_EQ(Latest().personCount, persons);
}
