// The scenario editor refuses what the file reader refuses, with the same kind.
#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "dialogs/clsScheduleTable.h"
#include "dialogs/frm_Scenario.h"
#include "model/clsSimulationTime.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"
#include "tests/scenario/ScenarioRefusals.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

TEST(ScenarioEditor, EveryValueTheReaderRefusesIsRefusedBesideItsFieldWithTheSameKind)
{
    TfrmScenario editor;
    auto* ok = editor.findChild<QPushButton*>(QStringLiteral("btOk"));
    int values = 0;
    for (const refusals::TRefusal& row : refusals::Rows()) {
        TScenarioDescription structure;
        try {
            structure = ReadScenarioStructure(row.text, "bad.json");
        } catch (const TScenarioFileError&) {
            continue; // a fault of the text or its structure: no field can hold it
        }
        ++values;
        editor.SetDescription(structure);
        ASSERT_FALSE(editor.GetFaults().empty()) << row.fault;
        EXPECT_EQ(editor.GetFaults().front().kind, row.kind) << row.fault;
        EXPECT_FALSE(ok->isEnabled()) << row.fault;
    }
    EXPECT_GE(values, 12);

    editor.SetDescription(BuiltInMove());
    EXPECT_TRUE(editor.GetFaults().empty());
    EXPECT_TRUE(ok->isEnabled());
    // What no field can hold as a number is refused as the reader refuses it.
    editor.findChild<QLineEdit*>(QStringLiteral("edStock"))->setText(QStringLiteral("66.5"));
    editor.findChild<QLineEdit*>(QStringLiteral("edLoadWeight"))->setText(QStringLiteral("1.000"));
    ASSERT_EQ(editor.GetFaults().size(), 2U);
    EXPECT_EQ(editor.GetFaults()[0].kind, TScenarioFaultKind::NotWholeInRange);
    EXPECT_EQ(editor.GetFaults()[1].kind, TScenarioFaultKind::NotFinite);
    EXPECT_FALSE(ok->isEnabled());
}

// A German user types metres with decimal commas; a text that looks like a
// thousands separator is refused saying so, and a total that depends on a
// refused field shows none rather than a wrong one.
TEST(ScenarioEditor, TakesMetresWithDecimalCommasRefusesThousandsSeparatorsAndShowsNoTotalOfAFaultyField)
{
    TfrmScenario editor;
    auto* table = editor.findChild<QTableWidget*>(QStringLiteral("tblTrail"));
    auto* length = editor.findChild<QLabel*>(QStringLiteral("lbTrailLength"));
    auto* stock = editor.findChild<QLineEdit*>(QStringLiteral("edStock"));
    auto* stockFault = editor.findChild<QLabel*>(QStringLiteral("lbStockFault"));
    TScenarioDescription move = BuiltInMove();
    move.trail = {{TSectionDescription::TKind::Plain, 1.0}, {TSectionDescription::TKind::Steps, 0.25}};
    editor.SetDescription(move);
    EXPECT_EQ(length->text().toStdString(), "Weglänge: 31.25 m, Stockwerke: 1");
    EXPECT_EQ(table->item(1, TfrmScenario::ColLength)->text().toStdString(), "6.25");

    table->item(0, TfrmScenario::ColLength)->setText(QStringLiteral("1,25"));
    EXPECT_TRUE(editor.GetFaults().empty());
    EXPECT_EQ(editor.GetDescription().trail[0].length, 0.05);
    EXPECT_EQ(length->text().toStdString(), "Weglänge: 7.5 m, Stockwerke: 1");

    table->item(0, TfrmScenario::ColLength)->setText(QStringLiteral("0,0,5"));
    ASSERT_EQ(editor.GetFaults().size(), 1U);
    EXPECT_EQ(length->text().toStdString(), "Weglänge: – m, Stockwerke: 1");

    stock->setText(QStringLiteral("1.000"));
    EXPECT_TRUE(stockFault->text().contains(QStringLiteral("Tausendertrennzeichen"))) << stockFault->text().toStdString();
}

// Every scenario of the project opened in the editor and saved untouched is
// the same file: the schedule, the units and every value not edited go back
// bit for bit, however their metres round.
TEST(ScenarioEditor, AScenarioOpenedAndSavedUntouchedIsTheSameFile)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZEMBA_SCENARIOS_DIR)) {
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        const TScenarioDescription read = ParseScenario(text, entry.path().string());
        TfrmScenario editor;
        editor.SetDescription(read);
        ASSERT_TRUE(editor.GetFaults().empty()) << entry.path();
        EXPECT_EQ(WriteScenario(editor.GetDescription()), WriteScenario(read)) << entry.path();
        if (entry.path().filename() == "friends-join.json") {
            EXPECT_EQ(WriteScenario(editor.GetDescription()), text);
        }
        ++files;
    }
    EXPECT_GE(files, 3);
}

// The schedule is edited in a planner's words: clock times after the start,
// speeds in metres per second; the reader's refusals show beside it in German.
TEST(ScenarioEditor, EditsTheScheduleByTheClockAndRefusesTheLeaveOfTheLastPerson)
{
    TScenarioDescription planned = BuiltInMove(1);
    planned.startSecond = 10 * 3600;
    TScheduleEntry join;
    join.step = 30 * StepsPerMinute;
    join.atAsTime = true;
    join.join = {2, TPersonGroup::TKind::HomeArea, 0.0, 0.0025, 0.0, {"Anna", "Udo"}};
    planned.schedule.push_back(join);
    TfrmScenario editor;
    editor.SetDescription(planned);
    auto* table = editor.findChild<QTableWidget*>(QStringLiteral("tblSchedule"));
    auto* fault = editor.findChild<QLabel*>(QStringLiteral("lbScheduleFault"));
    EXPECT_EQ(table->item(0, TScheduleTable::ColAt)->text().toStdString(), "10:30:00");
    EXPECT_EQ(table->item(0, TScheduleTable::ColSpeed)->text().toStdString(), "1.5625");

    table->item(0, TScheduleTable::ColAt)->setText(QStringLiteral("10:45"));
    table->item(0, TScheduleTable::ColSpeed)->setText(QStringLiteral("1,5"));
    ASSERT_TRUE(editor.GetFaults().empty());
    EXPECT_EQ(editor.GetDescription().schedule[0].step, 45 * StepsPerMinute);
    EXPECT_DOUBLE_EQ(editor.GetDescription().schedule[0].join.speed, 1.5 / 625.0);

    // The only person of the groups leaves before the two come.
    table->item(0, TScheduleTable::ColAt)->setText(QStringLiteral("11:00"));
    editor.findChild<QPushButton*>(QStringLiteral("btScheduleAdd"))->click();
    qobject_cast<QComboBox*>(table->cellWidget(1, TScheduleTable::ColWhat))->setCurrentIndex(1);
    table->item(1, TScheduleTable::ColAt)->setText(QStringLiteral("10:15"));
    table->item(1, TScheduleTable::ColWho)->setText(QString::fromStdString(TPersonNames().Next(planned.persons[0], 0)));
    ASSERT_EQ(editor.GetFaults().size(), 1U);
    EXPECT_TRUE(fault->text().contains(QStringLiteral("Die letzte Person auf dem Weg kann nicht gehen"))) << fault->text().toStdString();
}

TEST(ScenarioEditor, TheBoundFromADescriptionIsTheBoundOfTheBuiltScenario)
{
    for (const std::int32_t persons : {1, 11, 23}) {
        const TScenarioDescription description = BuiltInMove(persons);
        TZOManager objects;
        const TScenario scenario(objects, description);
        EXPECT_EQ(BoundPerMinute(MoveLayoutOf(description)),
                  BoundPerMinute(MoveLayoutOf(*scenario.GetChain(), *scenario.GetTrail(), description.stock)));
    }
}

} // namespace
