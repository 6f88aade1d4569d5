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

TEST(LocalizeComponent, MainWindowShowsTheTableTextsOfItsPlaceholders)
{
    TMainForm form;
    LocalizeComponent(&form.window);

    EXPECT_EQ(Str(form.window.windowTitle()), "Vuzuzidazerezeda V 0.01");
    EXPECT_EQ(Str(form.acEditPersons->text()), "Personen...");
    EXPECT_EQ(form.acInfoAbout->text(), QStringLiteral(u"\u00DCber..."));
    EXPECT_EQ(Str(form.mnuFile->title()), "Datei");
    EXPECT_EQ(Str(form.mnuEdit->title()), "Bearbeiten");
    EXPECT_EQ(Str(form.mnuInfo->title()), "?");
    EXPECT_EQ(Str(form.mnuInfo->toolTip()), "Pause!");
    EXPECT_EQ(Str(form.mnuSubSub->title()), "(nein)");
    EXPECT_EQ(Str(form.acInMenu->text()), "Pause!");
    EXPECT_EQ(Str(form.lbTitle->text()), "Fitness");
    EXPECT_EQ(Str(form.lbTitle->toolTip()), "Personen");
    EXPECT_EQ(Str(form.btnSave->toolTip()), "Abbrechen");
    EXPECT_EQ(Str(form.cbClose->text()), "Close");
}

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

// Qt makes up an action's tool tip from its text, with "&&" shown as "&";
// that one must stay Qt's, neither localised a second time nor frozen.
TEST(LocalizeComponent, ActionWithoutToolTipKeepsTheOneMadeUpFromItsText)
{
    TMainForm form;
    LocalizeComponent(&form.window);

    EXPECT_EQ(Str(form.acNoToolTip->text()), "Save &&& Exit");
    QAction fresh(form.acNoToolTip->text());
    EXPECT_EQ(Str(form.acNoToolTip->toolTip()), Str(fresh.toolTip()));
    form.acNoToolTip->setText(QStringLiteral("Neu"));
    EXPECT_EQ(Str(form.acNoToolTip->toolTip()), "Neu");
}

TEST(LocalizeComponent, ToolButtonShowingAnActionKeepsTheActionsTexts)
{
    TMainForm form;
    form.acSave->setIconText(QStringLiteral("&Sichern"));
    QToolBar* toolBar = form.window.addToolBar(QStringLiteral("tools"));
    toolBar->addAction(form.acSave);
    auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(form.acSave));
    ASSERT_NE(button, nullptr);

    LocalizeComponent(&form.window);

    EXPECT_EQ(Str(button->text()), "&Sichern");
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

TEST(LocalizeComponent, MenuShownInSeveralPlacesIsLocalisedOnce)
{
    QWidget owner;
    auto* menuBar = new QMenuBar(&owner);
    auto* popUp = new QMenu(&owner);
    auto* shared = new QMenu(twice, &owner);
    menuBar->addMenu(shared);
    popUp->addMenu(shared);
    // Qt lets a menu hold itself; the walk must still come to an end.
    shared->addMenu(shared);

    LocalizeComponent(&owner);
    EXPECT_EQ(Str(shared->title()), once);

    shared->setTitle(twice);
    LocalizeMenuItem(shared);
    EXPECT_EQ(Str(shared->title()), once);
}

TEST(LocalizeComponent, EditDialogShowsItsButtonsAndCaptionInGerman)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("#2100 Persons"));
    auto* btnOK = new QPushButton(QStringLiteral("#2000 OK"), &dialog);
    auto* btnCancel = new QPushButton(QStringLiteral("#2001 Cancel"), &dialog);
    auto* btnApply = new QPushButton(QStringLiteral("#2002 Apply"), &dialog);

    LocalizeComponent(&dialog);

    EXPECT_EQ(Str(dialog.windowTitle()), "Personen");
    EXPECT_EQ(Str(btnOK->text()), "OK");
    EXPECT_EQ(Str(btnCancel->text()), "Abbrechen");
    EXPECT_EQ(btnApply->text(), QStringLiteral(u"\u00DCbernehmen"));
}

} // namespace
