// The scenario editor refuses what the file reader refuses, with the same kind.
#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "dialogs/frm_Scenario.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"
#include "tests/scenario/ScenarioRefusals.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

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

// A German user types decimal commas; a text that looks like a thousands
// separator is refused saying so, and a total that depends on a refused
// field shows none rather than a wrong one.
TEST(ScenarioEditor, TakesDecimalCommasRefusesThousandsSeparatorsAndShowsNoTotalOfAFaultyField)
{
    TfrmScenario editor;
    auto* table = editor.findChild<QTableWidget*>(QStringLiteral("tblTrail"));
    auto* length = editor.findChild<QLabel*>(QStringLiteral("lbTrailLength"));
    auto* stock = editor.findChild<QLineEdit*>(QStringLiteral("edStock"));
    auto* stockFault = editor.findChild<QLabel*>(QStringLiteral("lbStockFault"));
    TScenarioDescription move = BuiltInMove();
    move.trail = {{TSectionDescription::TKind::Plain, 1.0}, {TSectionDescription::TKind::Steps, 0.25}};
    editor.SetDescription(move);
    EXPECT_EQ(length->text().toStdString(), "Weglänge: 1.25");

    table->item(0, TfrmScenario::ColLength)->setText(QStringLiteral("0,05"));
    EXPECT_TRUE(editor.GetFaults().empty());
    EXPECT_EQ(editor.GetDescription().trail[0].length, 0.05);
    EXPECT_EQ(length->text().toStdString(), "Weglänge: 0.3");

    table->item(0, TfrmScenario::ColLength)->setText(QStringLiteral("0,0,5"));
    ASSERT_EQ(editor.GetFaults().size(), 1U);
    EXPECT_EQ(length->text().toStdString(), "Weglänge: –");

    stock->setText(QStringLiteral("1.000"));
    EXPECT_TRUE(stockFault->text().contains(QStringLiteral("Tausendertrennzeichen"))) << stockFault->text().toStdString();
}

// The editor has no fields for the schedule and the planner's units; an edit
// must not drop them from the move.
TEST(ScenarioEditor, KeepsWhatItHasNoFieldFor)
{
    TScenarioDescription planned = BuiltInMove();
    TScheduleEntry leave;
    leave.step = 1000;
    leave.kind = TScheduleEntry::TKind::Leave;
    leave.leave = planned.persons.front().names.empty() ? "Ferdi" : planned.persons.front().names.front();
    planned.schedule.push_back(leave);
    planned.metresPerUnit = 20.0;
    planned.startSecond = 10 * 3600;
    TfrmScenario editor;
    editor.SetDescription(planned);
    editor.findChild<QLineEdit*>(QStringLiteral("edStock"))->setText(QStringLiteral("600"));
    EXPECT_EQ(editor.GetDescription().schedule, planned.schedule);
    EXPECT_EQ(editor.GetDescription().metresPerUnit, 20.0);
    EXPECT_EQ(editor.GetDescription().startSecond, 10 * 3600);
    EXPECT_EQ(editor.GetDescription().stock, 600);
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
