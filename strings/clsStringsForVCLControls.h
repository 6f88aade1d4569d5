#pragma once

#include <QList>
#include <QString>

class QAction;
class QMenu;
class QObject;

// Forms carry numbered placeholder captions ("#2001 Cancel"); these functions
// replace them by the string table's texts, each caption exactly once. The
// fallback text after the number only names the text in the form's layout.

// Removes the text's first "&"; then, if what remains reads as "#" followed by
// a number (ASCII blanks and a sign allowed after "#", anything after the
// digits ignored), returns the string table's text of that id, else what
// remains. A number beyond 32 bits names no text and gives the empty text.
// Texts of fewer than two characters come back unchanged.
QString LocalizeText(const QString& text);

// Localises the object and everything it owns, following the QObject
// ownership tree depth first, children in order:
// - a main window or dialog: its window title, then its tool tip;
// - a label or a button: its text, then its tool tip (a tool button showing
//   an action is left to that action);
// - the actions it owns directly, through LocalizeActionList (a menu's own
//   menu action is left to the menu);
// - a menu bar: each of its menus as LocalizeMenuItem does; a menu reached
//   through ownership likewise, unless the walk has done it already (a menu
//   shown in several places is localised once).
// Other widgets keep their texts, but what they own is still visited.
void LocalizeComponent(QObject* component);

// Localises the text of each action, then its tool tip if one was set; a tool
// tip that Qt makes up from the text follows the localised text by itself.
void LocalizeActionList(const QList<QAction*>& actions);

// Localises the menu's entry (its title and, if set, the entry's tool tip),
// the tool tip of the menu itself, then its sub-menus, depth first, each
// once. Plain items are actions, localised through the object owning them.
void LocalizeMenuItem(QMenu* menu);
