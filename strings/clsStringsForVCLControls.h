#pragma once

#include <QList>
#include <QString>

class QAction;
class QMenu;
class QObject;

// Forms carry numbered placeholder captions ("#2001 Cancel"); these functions
// replace them by the string table's texts, each caption exactly once.

// Removes the text's first "&"; then, if what remains reads as "#" followed by
// a number (blanks and a sign allowed after "#", anything after the digits
// ignored), returns the string table's text of that id, else what remains.
// Texts of fewer than two characters come back unchanged.
QString LocalizeText(const QString& text);

// Localises the captions and tool tips of the object and of everything it
// owns, following the QObject ownership tree.
void LocalizeComponent(QObject* component);

// Localises the text and tool tip of each action.
void LocalizeActionList(const QList<QAction*>& actions);

// Localises the menu's title and tool tip, then its sub-menus, depth first.
void LocalizeMenuItem(QMenu* menu);
