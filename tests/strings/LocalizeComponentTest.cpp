#include "strings/clsStringsForVCLControls.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <string>

namespace {

// A caption whose second localisation would differ from its first.
const QString twice = QStringLiteral("Save && Exit");
const std::string once = "Save & Exit";

std::string Str(const QString& text)
{
    return text.toStdString();
}

// A main window laid out the way the program's forms are: menus in a menu bar,
// actions owned by the window, a panel holding a frame with its own widgets.
struct TMainForm
{
    QMainWindow window;
    QAction* acEditPersons = new QAction(QStringLiteral("#50110 EditPersons"), &window);
    QAction* acInfoAbout = new QAction(QStringLiteral("#50210 InfoAbout"), &window);
    QAction* acSave = new QAction(twice, &window);
    QAction* acNoToolTip = new QAction(QStringLiteral("Save &&&& Exit"), &window);
    QMenu* mnuFile = window.menuBar()->addMenu(QStringLiteral("#50000 File"));
    QMenu* mnuEdit = window.menuBar()->addMenu(QStringLiteral("#50100 Edit"));
    QMenu* mnuInfo = window.menuBar()->addMenu(QStringLiteral("#50200 ?"));
    QMenu* mnuSub = mnuEdit->addMenu(twice);
    QMenu* mnuSubSub = mnuSub->addMenu(QStringLiteral("#2102 x"));
    QAction* acInMenu = mnuSub->addAction(QStringLiteral("#2103 x"));
    QWidget* pnlClient = new QWidget(&window);
    QLabel* lbTitle = new QLabel(QStringLiteral("#2112 Fitness"), pnlClient);
    QPushButton* btnSave = new QPushButton(twice, pnlClient);
    QCheckBox* cbClose = new QCheckBox(QStringLiteral("&Close"), pnlClient);
    QWidget* frame = new QWidget(pnlClient);
    QLabel* lbInFrame = new QLabel(twice, frame);
    QLineEdit* edInFrame = new QLineEdit(QStringLiteral("#2000 x"), frame);
    QGroupBox* gbInFrame = new QGroupBox(QStringLiteral("#2001 x"), frame);

    TMainForm()
    {
        window.setWindowTitle(QStringLiteral("#1000 frmMain"));
        window.setToolTip(twice);
        window.setCentralWidget(pnlClient);
        acInfoAbout->setToolTip(twice);
        mnuSub->menuAction()->setToolTip(twice);
        mnuEdit->addAction(acEditPersons);
        mnuEdit->addAction(acSave);
        mnuInfo->addAction(acInfoAbout);
        mnuInfo->setToolTip(QStringLiteral("#2103 Hint"));
        lbTitle->setToolTip(QStringLiteral("#2100 x"));
        btnSave->setToolTip(QStringLiteral("#2001 x"));
        pnlClient->setToolTip(QStringLiteral("#2000 panel"));
        auto* layout = new QVBoxLayout(pnlClient);
        layout->addWidget(lbTitle);
        layout->addWidget(btnSave);
        layout->addWidget(cbClose);
        layout->addWidget(frame);
    }
};

TEST(LocalizeComponent, EveryCaptionIsLocalisedExactlyOnce)
{
    TMainForm form;
    LocalizeComponent(&form.window);

    EXPECT_EQ(Str(form.window.toolTip()), once);
    EXPECT_EQ(Str(form.acSave->text()), once);
    EXPECT_EQ(Str(form.acInfoAbout->toolTip()), once);
    EXPECT_EQ(Str(form.mnuSub->title()), once);
    EXPECT_EQ(Str(form.mnuSub->menuAction()->toolTip()), once);
    EXPECT_EQ(Str(form.btnSave->text()), once);
    EXPECT_EQ(Str(form.lbInFrame->text()), once);
}

TEST(LocalizeComponent, OtherKindsOfWidgetKeepTheirTexts)
{
    TMainForm form;
    LocalizeComponent(&form.window);

    EXPECT_EQ(Str(form.pnlClient->toolTip()), "#2000 panel");
    EXPECT_EQ(Str(form.edInFrame->text()), "#2000 x");
    EXPECT_EQ(Str(form.gbInFrame->title()), "#2001 x");
}

TEST(LocalizeComponent, PopUpMenuIsLocalisedOnceWithItsSubMenus)
{
    QWidget owner;
    auto* popUp = new QMenu(twice, &owner);
    QMenu* sub = popUp->addMenu(twice);
    QAction* item = sub->addAction(twice);
    // An action carrying a drop-down menu becomes that menu's entry.
    auto* dropDown = new QAction(twice, &owner);
    dropDown->setToolTip(QStringLiteral("#2000 x"));
    dropDown->setMenu(new QMenu(&owner));

    LocalizeComponent(&owner);

    EXPECT_EQ(Str(popUp->title()), once);
    EXPECT_EQ(Str(sub->title()), once);
    EXPECT_EQ(Str(item->text()), once);
    EXPECT_EQ(Str(dropDown->text()), once);
    EXPECT_EQ(Str(dropDown->toolTip()), "OK");
}

} // namespace
