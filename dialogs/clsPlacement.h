#pragma once

#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// Where a dialog of this size opens beside the window: to its right where
// the screen has room, else to its left, top edges level; else centred over
// the window. Always within the screen, as far as the dialog fits on it.
QRect PlaceBeside(const QRect& window, const QSize& dialog, const QRect& screen);

// At its first show the dialog opens where the user last left it (the
// settings keep it under key), else beside the window; where it is moved
// or resized to is remembered. A window manager may still have its say.
void KeepPlaced(QWidget& dialog, const QWidget& window, const QString& key);
