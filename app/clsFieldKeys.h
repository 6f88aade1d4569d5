#pragma once

#include <QObject>

class QMainWindow;
class QWidget;

// The window's keys whatever has the focus, also in the small edit fields of
// its toolbars (the quick changes). A field keeps the keys it needs to edit
// its text: those that type, Left and Right, Backspace and Delete, and the
// clipboard's and undo's. Every other key of the window goes past it: Home,
// End, Page Up and Page Down jump, Strg+E opens the editor. Enter, or Esc
// (which takes back what was typed), gives the focus back to the picture,
// where Left and Right step again; a click on the picture takes the focus too.
class TFieldKeys : public QObject
{
    Q_OBJECT

public:
    // Looks after the fields of the window's toolbars as they are now.
    TFieldKeys(QMainWindow& window, QWidget& picture);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& picture;
};
