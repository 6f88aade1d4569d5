#include "app/clsFieldKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QToolBar>

namespace {

bool EditsText(const QKeyEvent& key)
{
    for (const QKeySequence::StandardKey editing : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                                                    QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll})
        if (key.matches(editing))
            return true;
    return false;
}

// Keys the window has a use for and a field can do without.
bool ForTheWindow(const QKeyEvent& key)
{
    if (EditsText(key))
        return false;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // With Shift they select in the field.
        return !(modifiers & Qt::ShiftModifier);
    default:
        return (modifiers & Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z;
    }
}

} // namespace

TFieldKeys::TFieldKeys(QMainWindow& window, QWidget& thePicture)
    : QObject(&window), picture(thePicture)
{
    picture.setFocusPolicy(Qt::ClickFocus);
    for (QToolBar* bar : window.findChildren<QToolBar*>())
        for (QLineEdit* field : bar->findChildren<QLineEdit*>())
            field->installEventFilter(this);
}

bool TFieldKeys::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress))
        return QObject::eventFilter(watched, event);
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Unclaimed, the key goes to the window's shortcut, if it has one, and else to the field.
        if (!ForTheWindow(key))
            return false;
        event->ignore();
        return true;
    }
    switch (key.key()) {
    case Qt::Key_Escape:
        while (field->isUndoAvailable())
            field->undo();
        picture.setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // After the field has taken its Enter and its change.
        QMetaObject::invokeMethod(&picture, [target = &picture] { target->setFocus(Qt::OtherFocusReason); },
                                  Qt::QueuedConnection);
        return false;
    default:
        return false;
    }
}
