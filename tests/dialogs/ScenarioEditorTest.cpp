// The scenario editor refuses what the file reader refuses, with the same kind.
#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "dialogs/frm_Scenario.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"
#include "tests/scenario/ScenarioRefusals.h"

#include <QLineEdit>
#include <QPushButton>

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
    editor.findChild<QLineEdit*>(QStringLiteral("edLoadWeight"))->setText(QStringLiteral("1,0"));
    ASSERT_EQ(editor.GetFaults().size(), 2U);
    EXPECT_EQ(editor.GetFaults()[0].kind, TScenarioFaultKind::NotWholeInRange);
    EXPECT_EQ(editor.GetFaults()[1].kind, TScenarioFaultKind::NotFinite);
    EXPECT_FALSE(ok->isEnabled());
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
