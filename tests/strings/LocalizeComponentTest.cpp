#include "strings/clsStringsForVCLControls.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

// A caption whose second localisation would differ from its first.
const QString Twice = QStringLiteral("Save && Exit");
const QString Once = QStringLiteral("Save & Exit");

// A window laid out as the program's forms are: menus in a menu bar, actions
// owned by the window, a panel holding a frame with widgets of its own, and a
// pop-up menu and a drop-down action the window owns.
TEST(LocalizeComponent, EveryCaptionIsLocalisedExactlyOnceAndOtherWidgetsKeepTheirTexts)
{
    QMainWindow window;
    window.setToolTip(Twice);
    auto* action = new QAction(Twice, &window);
    action->setToolTip(Twice);
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("#50100 Edit"));
    edit->addAction(action);
    QMenu* sub = edit->addMenu(Twice);
    sub->menuAction()->setToolTip(Twice);
    auto* panel = new QWidget(&window);
    panel->setToolTip(QStringLiteral("#2000 panel"));
    window.setCentralWidget(panel);
    auto* button = new QPushButton(Twice, panel);
    auto* frame = new QWidget(panel);
    auto* label = new QLabel(Twice, frame);
    auto* line = new QLineEdit(QStringLiteral("#2000 x"), frame);
    auto* group = new QGroupBox(QStringLiteral("#2001 x"), frame);
    auto* popUp = new QMenu(Twice, &window);
    QMenu* popUpSub = popUp->addMenu(Twice);
    QAction* item = popUpSub->addAction(Twice);
    auto* dropDown = new QAction(Twice, &window);
    dropDown->setToolTip(QStringLiteral("#2000 x"));
    dropDown->setMenu(new QMenu(&window));

    LocalizeComponent(&window);

    for (const QString& text : {window.toolTip(), action->text(), action->toolTip(), sub->title(),
                                sub->menuAction()->toolTip(), button->text(), label->text(), popUp->title(),
                                popUpSub->title(), item->text(), dropDown->text()})
        EXPECT_EQ(text, Once);
    EXPECT_EQ(edit->title(), QStringLiteral("Bearbeiten"));
    EXPECT_EQ(dropDown->toolTip(), QStringLiteral("OK"));
    EXPECT_EQ(panel->toolTip(), QStringLiteral("#2000 panel"));
    EXPECT_EQ(line->text(), QStringLiteral("#2000 x"));
    EXPECT_EQ(group->title(), QStringLiteral("#2001 x"));
}

} // namespace
