#include "dialogs/frm_Edit.h"
#include "dialogs/frm_Persons.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Enter reaches the default button from wherever the focus is, the persons list included.
TEST(EditDialog, EnterClosesThroughOkAndEscapeThroughCancel)
{
    const struct { Qt::Key key; const char* focus; QDialog::DialogCode result; } presses[] = {
        {Qt::Key_Return, "btnCancel", QDialog::Accepted},
        {Qt::Key_Enter, "btnApply", QDialog::Accepted},
        {Qt::Key_Return, "lbPersons", QDialog::Accepted},
        {Qt::Key_Escape, "btnOK", QDialog::Rejected},
        {Qt::Key_Escape, "lbPersons", QDialog::Rejected},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.focus);
        TfrmPersons dialog(nullptr);
        dialog.open();
        auto* focus = dialog.findChild<QWidget*>(press.focus);
        ASSERT_NE(focus, nullptr);
        focus->setFocus();
        QTest::keyClick(focus, press.key);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), press.result);
    }
}

} // namespace
