#pragma once

#include <QString>

class QWidget;

enum class TLossAnswer { Save, Discard, Keep };

// Asks before something unsaved is lost: "Speichern" (the default),
// "Verwerfen", or "Abbrechen" (Escape) to keep things as they are. Without
// canSave only the last two.
TLossAnswer AskBeforeLoss(QWidget* owner, const QString& title, const QString& question, bool canSave = true);
