#include "app/clsScenarioDocument.h"

#include "analysis/OutputFile.h"
#include "app/clsMoveSession.h"
#include "dialogs/clsAskBeforeLoss.h"
#include "dialogs/clsPlacement.h"
#include "dialogs/clsSaveDialog.h"
#include "dialogs/clsScenarioFaultText.h"
#include "dialogs/frm_Scenario.h"
#include "scenario/clsScenarioFile.h"
#include "scenario/clsScenarioRules.h"
#include "strings/clsStringTable.h"
#include "strings/clsTypedNumber.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QToolBar>

#include <limits>
#include <map>
#include <optional>

namespace {

constexpr std::int32_t TextScenarioFiles = 2320;
constexpr std::int32_t TextRefused = 2340;
constexpr std::int32_t TextUnsaved = 2650;
constexpr std::int32_t TextSaveQuestion = 2651;
constexpr std::int32_t TextUntitled = 2654;
constexpr std::int32_t TextCannotSave = 2655;
constexpr std::int32_t TextQuick = 2660;
constexpr std::int32_t TextQuickPersons = 2661;
constexpr std::int32_t TextBuiltIn = 2768;
constexpr std::int32_t TextNew = 50001;
constexpr std::int32_t TextOpen = 50010;
constexpr std::int32_t TextSaveEntry = 50011;
constexpr std::int32_t TextSaveAs = 50012;
constexpr std::int32_t TextRecent = 50013;
constexpr std::int32_t TextEditScenario = 50120;
constexpr std::int32_t TextQuickEntry = 50121;

constexpr int MostRecentFiles = 6;
const QString RecentKey = QStringLiteral("scenarioFiles/recent");
const QString FolderKey = QStringLiteral("scenarioFiles/folder");

QString Plain(std::int32_t id)
{
    return GetStringById(id).remove(QLatin1Char('&'));
}

QAction* MakeAction(QObject* owner, std::int32_t text, const QKeySequence& shortcut = {})
{
    auto* action = new QAction(GetStringById(text), owner);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

TScenarioDocument::TScenarioDocument(QMainWindow& theWindow, TMoveSession& theSession, QMenu& fileMenu,
                                     QAction& openAction, QMenu& editMenu)
    : QObject(&theWindow)
    , window(theWindow)
    , session(theSession)
{
    acNew = MakeAction(this, TextNew, QKeySequence::New);
    acSave = MakeAction(this, TextSaveEntry, QKeySequence(QStringLiteral("Ctrl+S")));
    acSaveAs = MakeAction(this, TextSaveAs, QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    acEdit = MakeAction(this, TextEditScenario, QKeySequence(QStringLiteral("Ctrl+E")));
    mnuRecent = new QMenu(GetStringById(TextRecent), &fileMenu);
    fileMenu.insertAction(&openAction, acNew);
    QAction* afterOpen = fileMenu.actions().value(fileMenu.actions().indexOf(&openAction) + 1);
    fileMenu.insertActions(afterOpen, {acSave, acSaveAs});
    fileMenu.insertMenu(afterOpen, mnuRecent);
    editMenu.addAction(acEdit);
    connect(acNew, &QAction::triggered, this, &TScenarioDocument::New);
    connect(&openAction, &QAction::triggered, this, &TScenarioDocument::Open);
    connect(acSave, &QAction::triggered, this, &TScenarioDocument::Save);
    connect(acSaveAs, &QAction::triggered, this, &TScenarioDocument::SaveAs);
    connect(acEdit, &QAction::triggered, this, &TScenarioDocument::OpenEditor);
    connect(mnuRecent, &QMenu::aboutToShow, this, &TScenarioDocument::FillRecent);

    // A toolbar rather than a dock: three short numbers fit in one row above
    // the picture and take none of its width, and the window can place it.
    tbQuick = new QToolBar(Plain(TextQuick), &window);
    tbQuick->setObjectName(QStringLiteral("tbQuick"));
    for (std::size_t i = 0; i < quick.size(); ++i) {
        tbQuick->addWidget(new QLabel(QLatin1Char(' ') + GetStringById(TextQuickPersons + static_cast<int>(i)) + QLatin1Char(' ')));
        quick[i] = new QLineEdit(tbQuick);
        quick[i]->setObjectName(QStringLiteral("edQuick%1").arg(i));
        quick[i]->setMaximumWidth(110);
        tbQuick->addWidget(quick[i]);
        connect(quick[i], &QLineEdit::editingFinished, this, &TScenarioDocument::QuickChange);
    }
    window.addToolBar(Qt::TopToolBarArea, tbQuick);
    tbQuick->hide();
    QAction* acQuick = tbQuick->toggleViewAction();
    acQuick->setText(GetStringById(TextQuickEntry));
    editMenu.addAction(acQuick);
    FillRecent();
    connect(&session, &TMoveSession::MoveEntered, this, [this](bool afresh) {
        if (afresh)
            Follow();
    });
}

TScenarioDocument::~TScenarioDocument() = default;

bool TScenarioDocument::OpenFile(const QString& file)
{
    // Read before anything stops: a refused file leaves the running move alone.
    TScenarioDescription description;
    try {
        description = ReadScenarioFile(QFile::encodeName(file).toStdString());
    } catch (const TScenarioFileError& e) {
        emit FileRefused(ScenarioFaultText(e));
        return false;
    }
    refusedFile.clear();
    Opened(file, description);
    session.Start(description);
    return true;
}

QString TScenarioDocument::OpenAtStart(const QString& file)
{
    try {
        const TScenarioDescription description = ReadScenarioFile(QFile::encodeName(file).toStdString());
        Opened(file, description);
        session.Start(description);
        return {};
    } catch (const TScenarioFileError& e) {
        // The built-in move runs instead: a window that stands still helps nobody.
        refusedFile = QFileInfo(file).fileName();
        session.Start(std::nullopt);
        return ScenarioFaultText(e);
    }
}

void TScenarioDocument::Opened(const QString& thePath, const TScenarioDescription& description)
{
    path = thePath;
    saved = description;
    RememberFile(path);
    if (editor && editor->isVisible())
        editor->SetDescription(description);
}

bool TScenarioDocument::HasUnsavedEdits() const
{
    return session.GetDescription() != saved;
}

QString TScenarioDocument::TitleNote() const
{
    const bool edited = HasUnsavedEdits();
    QString note = !path.isEmpty() ? QFileInfo(path).fileName() : edited ? GetStringById(TextUntitled) : QString();
    if (edited)
        note += QLatin1Char('*');
    return note;
}

QString TScenarioDocument::WindowNote() const
{
    const QString note = TitleNote();
    return note.isEmpty() && !refusedFile.isEmpty() ? GetStringById(TextRefused).arg(refusedFile) : note;
}

QString TScenarioDocument::GetFile() const
{
    return HasUnsavedEdits() ? QString() : path;
}

QString TScenarioDocument::GetName() const
{
    const QString note = TitleNote();
    return note.isEmpty() ? GetStringById(TextBuiltIn) : note;
}

void TScenarioDocument::Follow()
{
    emit TitleChanged();
    const TScenarioDescription running = session.GetDescription();
    quick[0]->setText(QString::number(running.persons.empty() ? 0 : running.persons[0].count));
    quick[1]->setText(QString::number(running.stock));
    quick[2]->setText(QString::number(running.seed));
    for (QLineEdit* field : quick) {
        field->setStyleSheet(QString());
        field->setToolTip(QString());
    }
}

bool TScenarioDocument::MayDiscard()
{
    if (!HasUnsavedEdits())
        return true;
    switch (AskBeforeLoss(&window, Plain(TextUnsaved), GetStringById(TextSaveQuestion))) {
    case TLossAnswer::Save:
        return Save();
    case TLossAnswer::Discard:
        return true;
    case TLossAnswer::Keep:
        break;
    }
    return false;
}

void TScenarioDocument::Replace(const TScenarioDescription& description)
{
    if (MayDiscard())
        Run(description);
}

bool TScenarioDocument::SaveTo(const QString& target)
{
    const TScenarioDescription running = session.GetDescription();
    const std::string text = WriteScenario(running);
    if (std::string error; !WriteWholeFile(QFile::encodeName(target).toStdString(), text, error)) {
        QMessageBox::warning(&window, Plain(TextSaveEntry),
                             GetStringById(TextCannotSave)
                                 .arg(QDir::toNativeSeparators(target), QString::fromLocal8Bit(SystemReasonOf(error))));
        return false;
    }
    path = target;
    saved = running;
    RememberFile(path);
    emit TitleChanged();
    return true;
}

void TScenarioDocument::New()
{
    if (!MayDiscard())
        return;
    path.clear();
    saved = BuiltInMove();
    Run(saved);
}

void TScenarioDocument::Open()
{
    if (!MayDiscard())
        return;
    const QString chosen =
        QFileDialog::getOpenFileName(&window, Plain(TextOpen), StartFolder(), GetStringById(TextScenarioFiles));
    if (!chosen.isEmpty())
        OpenFile(chosen);
}

bool TScenarioDocument::Save()
{
    return path.isEmpty() ? SaveAs() : SaveTo(path);
}

bool TScenarioDocument::SaveAs()
{
    const QString chosen = AskSaveFileName(&window, Plain(TextSaveAs), StartFolder(), GetStringById(TextScenarioFiles));
    return !chosen.isEmpty() && SaveTo(chosen);
}

void TScenarioDocument::OpenEditor()
{
    if (!editor) {
        editor = new TfrmScenario(&window);
        KeepPlaced(*editor, window, QStringLiteral("scenarioEditor"));
        connect(editor, &TfrmScenario::Applied, this,
                [this](const TScenarioDescription& description) { Run(description); });
    }
    editor->SetDescription(session.GetDescription());
    editor->show();
    editor->raise();
    editor->activateWindow();
}

void TScenarioDocument::Run(const TScenarioDescription& description)
{
    refusedFile.clear();
    session.Start(description);
    if (editor && editor->isVisible())
        editor->SetDescription(description);
}

void TScenarioDocument::ChangeAt(const TScenarioDescription& changed, std::int64_t step)
{
    refusedFile.clear();
    session.ChangeAt(changed, step);
    if (editor && editor->isVisible())
        editor->SetDescription(changed);
    emit TitleChanged();
}

void TScenarioDocument::QuickChange()
{
    TScenarioDescription changed = session.GetDescription();
    std::vector<TScenarioFault> faults;
    // Why a field's text is no whole number, in German, by the path of its fault.
    std::map<std::string, QString> reasons;
    const auto whole = [&](QLineEdit* field, const char* at, std::int64_t low, std::int64_t high) {
        const TTypedNumber<std::int64_t> read = ReadTypedWhole(field->text());
        if (read.value && *read.value >= low && *read.value <= high)
            return *read.value;
        faults.push_back(WholeNumberFault(at, field->text().trimmed().toStdString(), low, high));
        if (!read.value)
            reasons[at] = read.refusal;
        return low;
    };
    if (!changed.persons.empty())
        changed.persons[0].count = static_cast<std::int32_t>(whole(quick[0], "/persons/0/count", 1, MaxScenarioCount));
    changed.stock = static_cast<std::int32_t>(whole(quick[1], "/source/stock", 1, MaxScenarioCount));
    changed.seed = static_cast<std::uint32_t>(whole(quick[2], "/seed", 0, std::numeric_limits<std::uint32_t>::max()));
    if (faults.empty())
        faults = CheckScenario(changed);
    if (!faults.empty()) {
        // Shown on the field it belongs to, or the first one; nothing restarts.
        const std::string& at = faults.front().path;
        QLineEdit* field = at == "/source/stock" ? quick[1] : at == "/seed" ? quick[2] : quick[0];
        field->setStyleSheet(QStringLiteral("background: #ffd7d7"));
        const auto reason = reasons.find(at);
        field->setToolTip(reason != reasons.end() ? reason->second : ScenarioFaultWhat(faults.front()));
        return;
    }
    if (changed != session.GetDescription())
        Run(changed);
}

void TScenarioDocument::RememberFile(const QString& file)
{
    if (file.isEmpty())
        return;
    const QString absolute = QFileInfo(file).absoluteFilePath();
    QSettings settings;
    QStringList recent = settings.value(RecentKey).toStringList();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    settings.setValue(RecentKey, recent.mid(0, MostRecentFiles));
    settings.setValue(FolderKey, QFileInfo(absolute).path());
    FillRecent();
}

void TScenarioDocument::FillRecent()
{
    mnuRecent->clear();
    const QStringList recent = QSettings().value(RecentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        QAction* entry = mnuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(recent[i]).fileName()));
        entry->setToolTip(QDir::toNativeSeparators(recent[i]));
        const QString file = recent[i];
        connect(entry, &QAction::triggered, this, [this, file] {
            if (MayDiscard())
                OpenFile(file);
        });
    }
    mnuRecent->setEnabled(!recent.isEmpty());
}

QString TScenarioDocument::StartFolder() const
{
    const QString last = QSettings().value(FolderKey).toString();
    if (!last.isEmpty() && QDir(last).exists())
        return last;
    // The program runs from the project as build/<preset>/app/vuzuzidazerezeda.
    for (const QString& candidate : {QCoreApplication::applicationDirPath() + QStringLiteral("/../../../scenarios"),
                                     QDir::currentPath() + QStringLiteral("/scenarios")})
        if (QDir(candidate).exists())
            return QDir(candidate).canonicalPath();
    return QDir::currentPath();
}
