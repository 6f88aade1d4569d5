// The program's window as a user meets it: German captions, the scenario built
// by the first show, the chain moving behind dialogs, and a clean close.
#include "app/frm_Main.h"
#include "dialogs/frm_About.h"
#include "dialogs/frm_Persons.h"
#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QStringList MenuTitles(const QMainWindow& window)
{
    QStringList titles;
    for (const QAction* action : window.menuBar()->actions())
        titles << action->text();
    return titles;
}

// Closes whatever modal dialog opens next, once it is showing.
void CloseNextModalDialog()
{
    QTimer::singleShot(50, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

TEST(MainWindow, ShowsItsTitleAndMenusInGerman)
{
    TfrmMain window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vuzuzidazerezeda V 0.01"));
    EXPECT_EQ(MenuTitles(window), (QStringList{QStringLiteral("Datei"), QStringLiteral("Bearbeiten"), QStringLiteral("?")}));
    const auto menus = window.menuBar()->findChildren<QMenu*>();
    QStringList entries;
    for (const QMenu* menu : menus)
        for (const QAction* action : menu->actions())
            entries << action->text();
    EXPECT_TRUE(entries.contains(QStringLiteral("Personen...")));
    EXPECT_TRUE(entries.contains(QString::fromUtf8("\xC3\x9C" "ber...")));
    EXPECT_EQ(window.size(), QSize(531, 317));
}

TEST(MainWindow, BuildsTheScenarioAndStartsTheSimulationOnItsFirstShow)
{
    TfrmMain window;
    EXPECT_FALSE(window.IsSimulating());
    EXPECT_EQ(window.GetObjects().GetCount(), 0U);

    window.show();
    ASSERT_TRUE(window.IsSimulating());
    EXPECT_EQ(window.GetObjects().GetCount(), 27U);
    // The first step hands out a load to every person.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.GetChain()->GetStepsPerSecond() > 0; }, 2000));
}

TEST(MainWindow, ShowingAgainAfterHidingBuildsNoSecondScenario)
{
    TfrmMain window;
    window.show();
    TBucketChain* chain = window.GetChain();
    window.hide();
    window.show();
    EXPECT_EQ(window.GetChain(), chain);
    EXPECT_EQ(window.GetObjects().GetCount(), 27U);
}

TEST(MainWindow, EachUseOfAnActionOpensAFreshDialogAndLeavesNoneBehind)
{
    TfrmMain window;
    window.show();
    const auto action = [&](const char* name) { return window.findChild<QAction*>(name); };

    for (int use = 0; use < 2; ++use) {
        CloseNextModalDialog();
        action("acEditPersons")->trigger();
        EXPECT_TRUE(window.findChildren<TfrmPersons*>().isEmpty());
        CloseNextModalDialog();
        action("acInfoAbout")->trigger();
        EXPECT_TRUE(window.findChildren<TfrmAbout*>().isEmpty());
    }
}

TEST(MainWindow, TheChainKeepsMovingBehindAnOpenDialog)
{
    TfrmMain window;
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.GetChain()->GetStepsPerSecond() > 0; }, 2000));

    std::int32_t stepsSeenInDialog = 0;
    QTimer::singleShot(1500, [&] {
        stepsSeenInDialog = window.GetChain()->GetStepsPerSecond();
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    window.findChild<QAction*>("acEditPersons")->trigger();
    EXPECT_GT(stepsSeenInDialog, 0);
}

} // namespace
