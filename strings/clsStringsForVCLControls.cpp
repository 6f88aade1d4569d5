#include "strings/clsStringsForVCLControls.h"

#include "strings/clsDecimalText.h"
#include "strings/clsStringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QToolButton>

#include <optional>

namespace {

// Reads the text as "#%d" would: "#", then a number. Gives nothing when the
// text is no placeholder, else the table's text for the number; a number
// beyond 32 bits names no text.
std::optional<QString> ReadPlaceholder(QStringView text)
{
    if (text.isEmpty() || text.front() != u'#')
        return std::nullopt;
    const TDecimalRead number = ReadDecimal(text.sliced(1));
    if (!number.isNumber)
        return std::nullopt;
    return number.value ? GetStringById(*number.value) : QString();
}

// Writes a text back only when localising changed it, so that untouched
// captions raise no change events.
template <typename Object, typename Owner>
void Localize(Object* object, QString (Owner::*get)() const, void (Owner::*set)(const QString&))
{
    const QString text = (object->*get)();
    const QString localized = LocalizeText(text);
    if (localized != text)
        (object->*set)(localized);
}

// Without a tool tip of its own a QAction shows one made up from its text;
// localising that as well would treat the caption twice ("Save && Exit"
// would lose its second "&"). A fresh action with the same texts shows
// exactly the made-up tool tip.
bool HasOwnToolTip(const QAction& action)
{
    QAction plain;
    plain.setText(action.text());
    plain.setIconText(action.iconText());
    return action.toolTip() != plain.toolTip();
}

// The menu whose entry in menus and menu bars the action is; Qt hands a
// menu's title and tool tip to that action.
QMenu* MenuShownBy(const QAction* action)
{
    return action ? action->menu<QMenu*>() : nullptr;
}

// The caption, then the tool tip if the action has one of its own.
void LocalizeAction(QAction& action)
{
    const bool ownToolTip = HasOwnToolTip(action);
    Localize(&action, &QAction::text, &QAction::setText);
    if (ownToolTip)
        Localize(&action, &QAction::toolTip, &QAction::setToolTip);
}

// The menus one walk has localised. Qt lets a menu be shown in several menus
// and menu bars, and even inside itself; each is still localised once.
using TMenuSet = QSet<const QMenu*>;

void LocalizeMenuTree(QMenu& menu, TMenuSet& done);

void LocalizeSubMenus(const QList<QAction*>& items, TMenuSet& done)
{
    for (const QAction* item : items)
        if (QMenu* menu = MenuShownBy(item))
            LocalizeMenuTree(*menu, done);
}

void LocalizeMenuTree(QMenu& menu, TMenuSet& done)
{
    if (done.contains(&menu))
        return;
    done.insert(&menu);
    // The entry's title and tool tip live in the menu action; the menu's own
    // tool tip is the one its pop-up shows.
    LocalizeAction(*menu.menuAction());
    Localize(&menu, &QWidget::toolTip, &QWidget::setToolTip);
    LocalizeSubMenus(menu.actions(), done);
}

// A tool button with a default action mirrors that action's texts.
bool ShowsAction(const QAbstractButton& button)
{
    const auto* toolButton = qobject_cast<const QToolButton*>(&button);
    return toolButton && toolButton->defaultAction();
}

QList<QAction*> OwnedActions(const QObject& owner)
{
    QList<QAction*> actions = owner.findChildren<QAction*>(Qt::FindDirectChildrenOnly);
    actions.removeIf([](const QAction* action) { return MenuShownBy(action) != nullptr; });
    return actions;
}

void LocalizeOwnedTree(QObject& component, TMenuSet& menusDone)
{
    if (qobject_cast<QMainWindow*>(&component) || qobject_cast<QDialog*>(&component)) {
        auto& form = static_cast<QWidget&>(component);
        Localize(&form, &QWidget::windowTitle, &QWidget::setWindowTitle);
        Localize(&form, &QWidget::toolTip, &QWidget::setToolTip);
    }
    if (auto* label = qobject_cast<QLabel*>(&component)) {
        Localize(label, &QLabel::text, &QLabel::setText);
        Localize(label, &QWidget::toolTip, &QWidget::setToolTip);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(&component); button && !ShowsAction(*button)) {
        Localize(button, &QAbstractButton::text, &QAbstractButton::setText);
        Localize(button, &QWidget::toolTip, &QWidget::setToolTip);
    }

    LocalizeActionList(OwnedActions(component));

    if (auto* menuBar = qobject_cast<QMenuBar*>(&component))
        LocalizeSubMenus(menuBar->actions(), menusDone);
    // A menu that no menu bar of this walk has reached yet: a pop-up, or
    // one shown elsewhere.
    if (auto* menu = qobject_cast<QMenu*>(&component))
        LocalizeMenuTree(*menu, menusDone);

    // A copy: the walk must not depend on the list staying untouched while
    // the children's texts change.
    const QObjectList owned = component.children();
    for (QObject* child : owned)
        LocalizeOwnedTree(*child, menusDone);
}

} // namespace

QString LocalizeText(const QString& text)
{
    if (text.size() < 2)
        return text;
    QString stripped = text;
    if (const qsizetype ampersand = stripped.indexOf(u'&'); ampersand >= 0)
        stripped.remove(ampersand, 1);
    return ReadPlaceholder(stripped).value_or(stripped);
}

void LocalizeComponent(QObject* component)
{
    TMenuSet menusDone;
    if (component)
        LocalizeOwnedTree(*component, menusDone);
}

void LocalizeActionList(const QList<QAction*>& actions)
{
    for (QAction* action : actions)
        if (action)
            LocalizeAction(*action);
}

void LocalizeMenuItem(QMenu* menu)
{
    TMenuSet menusDone;
    if (menu)
        LocalizeMenuTree(*menu, menusDone);
}
