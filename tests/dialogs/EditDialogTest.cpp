#include "dialogs/frm_Edit.h"
#include "dialogs/frm_Persons.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace {

QPushButton* Button(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(name);
    EXPECT_NE(button, nullptr) << name;
    return button;
}

TEST(EditDialog, ButtonsShowTheirLocalisedCaptionsAndGlyphs)
{
    TfrmEdit dialog(nullptr);
    EXPECT_EQ(Button(dialog, "btnCancel")->text(), "Abbrechen");
    EXPECT_EQ(Button(dialog, "btnOK")->text(), "OK");
    EXPECT_EQ(Button(dialog, "btnApply")->text(), "Übernehmen");
    for (const char* name : {"btnCancel", "btnOK", "btnApply"})
        EXPECT_FALSE(Button(dialog, name)->icon().isNull()) << name;
    EXPECT_TRUE(Button(dialog, "btnOK")->isDefault());
}

TEST(EditDialog, TheDerivedLayoutIsLocalisedWithTheRestOfTheForm)
{
    QWidget* client = nullptr;
    TfrmEdit dialog(nullptr, [&client](QDialog& form, QWidget& pnlClient) {
        client = &pnlClient;
        form.setWindowTitle("#2100 Persons");
        auto* label = new QLabel("#2117 Satisfaction", &pnlClient);
        label->setObjectName("lblProbe");
    });
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(client->objectName(), "pnlClient");
    EXPECT_EQ(dialog.windowTitle(), "Personen");
    EXPECT_EQ(dialog.findChild<QLabel*>("lblProbe")->text(), "Zufriedenheit");
    EXPECT_EQ(Button(dialog, "btnApply")->text(), "Übernehmen") << "each caption is localised once";
}

// The buttons stand at the bottom right and keep their distance from the
// right edge however wide the dialog is.
TEST(EditDialog, ButtonsKeepTheirDistanceFromTheRightEdge)
{
    const struct { const char* dialog; int width; int cancel, ok, apply; } layouts[] = {
        {"base", 383, 280, 176, 72},
        {"base widened", 430, 327, 223, 119},
        {"persons", 430, 327, 223, 119},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.dialog);
        std::unique_ptr<QDialog> dialog;
        if (layout.dialog == std::string_view("persons"))
            dialog = std::make_unique<TfrmPersons>(nullptr);
        else
            dialog = std::make_unique<TfrmEdit>(nullptr);
        if (layout.dialog == std::string_view("base widened"))
            dialog->resize(430, dialog->height());
        dialog->show();
        ASSERT_EQ(dialog->width(), layout.width);

        auto* bottom = dialog->findChild<QWidget*>("pnlBottom");
        EXPECT_EQ(bottom->height(), 31);
        EXPECT_EQ(bottom->geometry().bottom(), dialog->rect().bottom());
        const struct { const char* name; int left; } buttons[] = {
            {"btnCancel", layout.cancel}, {"btnOK", layout.ok}, {"btnApply", layout.apply}};
        for (const auto& button : buttons) {
            const QPushButton* b = Button(*dialog, button.name);
            EXPECT_EQ(b->mapTo(dialog.get(), QPoint(0, 0)).x(), button.left) << button.name;
            EXPECT_EQ(b->geometry(), QRect(button.left, 4, 95, 25)) << button.name;
        }
    }
}

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

TEST(EditDialog, ApplyLeavesTheDialogOpenAndCancelRejects)
{
    TfrmEdit dialog(nullptr);
    dialog.open();
    dialog.setResult(-1);
    QTest::mouseClick(Button(dialog, "btnApply"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), -1);

    QTest::mouseClick(Button(dialog, "btnCancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    dialog.open();
    QTest::mouseClick(Button(dialog, "btnOK"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
