#pragma once

#include "scenario/clsScenarioDescription.h"

#include <QObject>
#include <QString>

#include <array>

class QAction;
class QLineEdit;
class QMainWindow;
class QMenu;
class QToolBar;
class TMoveSession;
class TfrmScenario;

// The move in the window as a document: the file it came from or was saved
// to, whether it has edits that are not saved, the Datei entries that open,
// start afresh and save it, the recent files, the editor and the quick
// changes. It starts what it opens or edits through the session and follows
// every move the session starts.
class TScenarioDocument : public QObject
{
    Q_OBJECT

public:
    // Adds its entries to the window's Datei menu around openAction and to
    // its Bearbeiten menu, and its quick-change toolbar to the window, hidden.
    TScenarioDocument(QMainWindow& window, TMoveSession& session, QMenu& fileMenu, QAction& openAction, QMenu& editMenu);
    ~TScenarioDocument() override;

    // Reads the file and, if the reader accepts it, starts it as the saved
    // state; else FileRefused says why and the move in place goes on untouched.
    bool OpenFile(const QString& path);
    // The file named on the command line: opened as OpenFile opens one, else
    // the built-in move runs in its stead and the title says so until another
    // move is opened or edited; the reader's complaint then, in German.
    QString OpenAtStart(const QString& path);
    // Starts the description as an edit of the move in the window: the
    // editor's, the quick changes', an experiment's run.
    void Run(const TScenarioDescription& description);
    // The running move differs from what was last opened or saved.
    bool HasUnsavedEdits() const;
    // The title's note: the file's name, "unbenannt" for an edited built-in
    // move, and "*" for unsaved edits; empty for the built-in move as it is.
    QString TitleNote() const;
    // The window title's: the note, or, while the built-in move runs in place
    // of a refused file, that it does.
    QString WindowNote() const;
    // The file the move in place is, unedited; empty for any other move.
    QString GetFile() const;
    // The move's name for titles: its file, "unbenannt" or the built-in move.
    QString GetName() const;
    // Asks before unsaved edits are lost: true once they are saved or
    // discarded, or if there are none; false if the user keeps them.
    bool MayDiscard();
    // Changes the move under way from the step on, as an edit: the changed
    // description runs as the one in place up to there.
    void ChangeAt(const TScenarioDescription& changed, std::int64_t step);
    // Starts the description in place of the move in the window, asking
    // first as Neu does: an experiment's run opened by a double click.
    void Replace(const TScenarioDescription& description);

    // The entries, for tests and the window's toolbar.
    QAction* GetNewAction() const { return acNew; }
    QAction* GetSaveAction() const { return acSave; }
    QAction* GetEditAction() const { return acEdit; }
    TfrmScenario* GetEditor() const { return editor; }
    // Writes the running move to the file, saved state and title following;
    // false, after saying why, if it cannot be written.
    bool SaveTo(const QString& path);

signals:
    void TitleChanged();
    // A file that was to be opened is refused; the reader's complaint in German.
    void FileRefused(const QString& why);

private:
    // Every move the session starts: the quick changes and the title follow it.
    void Follow();
    // The file is the saved state now.
    void Opened(const QString& path, const TScenarioDescription& description);
    void New();
    void Open();
    bool Save();
    bool SaveAs();
    void OpenEditor();
    void QuickChange();
    void RememberFile(const QString& path);
    void FillRecent();
    // Where a file dialog opens: where the last file was, else the project's
    // scenarios folder when the program runs from the project.
    QString StartFolder() const;

    QMainWindow& window;
    TMoveSession& session;
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
    // The file named on the command line, refused.
    QString refusedFile;
};
