#pragma once

#include "scenario/clsScenarioDescription.h"

#include <QObject>
#include <QString>

#include <array>

class QAction;
class QLineEdit;
class QMenu;
class QToolBar;
class TfrmMain;
class TfrmScenario;

// The move in the window as a document: the file it came from or was saved
// to, whether it has edits that are not saved, the Datei entries that open,
// start afresh and save it, the recent files, the editor and the quick
// changes. The window runs what this hands it; this never steps anything.
class TScenarioDocument : public QObject
{
    Q_OBJECT

public:
    // Adds its entries to the window's Datei menu around openAction and to
    // its Bearbeiten menu, and its quick-change toolbar to the window, hidden.
    TScenarioDocument(TfrmMain& window, QMenu& fileMenu, QAction& openAction, QMenu& editMenu);
    ~TScenarioDocument() override;

    // The window read this file and runs it: it is the saved state now.
    void Opened(const QString& path, const TScenarioDescription& description);
    // The running move differs from what was last opened or saved.
    bool HasUnsavedEdits() const;
    // The title's note: the file's name, "unbenannt" for an edited built-in
    // move, and "*" for unsaved edits; empty for the built-in move as it is.
    QString TitleNote() const;
    // Called whenever the window starts a move: the quick changes follow it.
    void Follow();
    // Asks before unsaved edits are lost: true once they are saved or
    // discarded, or if there are none; false if the user keeps them.
    bool MayDiscard();

    // The entries, for tests and the window's toolbar.
    QAction* GetNewAction() const { return acNew; }
    QAction* GetSaveAction() const { return acSave; }
    QAction* GetEditAction() const { return acEdit; }
    TfrmScenario* GetEditor() const { return editor; }
    // Writes the running move to the file, saved state and title following;
    // false, after saying why, if it cannot be written.
    bool SaveTo(const QString& path);

private:
    void New();
    void Open();
    bool Save();
    bool SaveAs();
    void OpenEditor();
    void Run(const TScenarioDescription& description, const QString& path);
    void QuickChange();
    void RememberFile(const QString& path);
    void FillRecent();
    // Where a file dialog opens: where the last file was, else the project's
    // scenarios folder when the program runs from the project.
    QString StartFolder() const;

    TfrmMain& window;
    QAction* acNew = nullptr;
    QAction* acSave = nullptr;
    QAction* acSaveAs = nullptr;
    QAction* acEdit = nullptr;
    QMenu* mnuRecent = nullptr;
    QToolBar* tbQuick = nullptr;
    // Persons of the first group, stock, seed.
    std::array<QLineEdit*, 3> quick{};
    TfrmScenario* editor = nullptr;
    QString path;
    TScenarioDescription saved = BuiltInMove();
};
