#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// The ending of a file dialog's filter, "png" for "PNG-Bild (*.png)"; the
// first of several; empty for a filter that names none.
QString FilterSuffix(const QString& filter);

// Makes a save dialog give a name typed without an ending the ending of the
// kind chosen, and follow the kind when another is chosen.
void TakeChosenSuffix(QFileDialog& dialog);

// Asks for a file to save to, of the kinds the filters list; the name with
// its kind's ending, or empty when the user cancels. Every save dialog of
// the window asks through this one.
QString AskSaveFileName(QWidget* owner, const QString& title, const QString& folder, const QString& filters);
