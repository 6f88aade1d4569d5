#include "dialogs/frm_Experiment.h"

#include "analysis/MoveReport.h"
#include "analysis/SweepRunner.h"
#include "analysis/SweepSetup.h"
#include "dialogs/clsAskBeforeLoss.h"
#include "dialogs/clsExperimentChart.h"
#include "dialogs/clsExperimentFiles.h"
#include "dialogs/clsExperimentRun.h"
#include "dialogs/clsExperimentTables.h"
#include "dialogs/clsScenarioFaultText.h"
#include "dialogs/clsScenarioWords.h"
#include "dialogs/clsSaveDialog.h"
#include "dialogs/clsStepText.h"
#include "dialogs/frame_ExperimentAxis.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsScenarioFile.h"
#include "scenario/clsScenarioText.h"
#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"
#include "ui_frm_Experiment.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <climits>
#include <fstream>
#include <sstream>

namespace {

constexpr std::int32_t TextTitle = 2700;
constexpr std::int32_t TextRuns = 2711;
constexpr std::int32_t TextSaveRows = 2714;
constexpr std::int32_t TextSaveSweep = 2715;
constexpr std::int32_t TextSaveSummary = 3402;
constexpr std::int32_t TextProgress = 2718;
constexpr std::int32_t TextSweepFiles = 2758;
constexpr std::int32_t TextExperimentCsvFiles = 2759;
constexpr std::int32_t TextBadValues = 2760;
constexpr std::int32_t TextNotWritten = 2761;
constexpr std::int32_t TextRefusedSweep = 2762;
constexpr std::int32_t TextCommands = 2763;
constexpr std::int32_t TextRunName = 2764;
constexpr std::int32_t TextDone = 2765;
constexpr std::int32_t TextCancelled = 2766;
constexpr std::int32_t TextBuiltIn = 2768;
constexpr std::int32_t TextUnreadable = 2455;
constexpr std::int32_t TextCancel = 2001;
constexpr std::int32_t TextUnsavedTitle = 3103;
constexpr std::int32_t TextUnsavedResult = 3104;
constexpr std::int32_t TextStillRunning = 3105;
constexpr std::int32_t TextExperimentFiles = 3106;
constexpr std::int32_t TextOpenSweepOf = 3107;
constexpr std::int32_t TextOpenCsvOf = 3108;
constexpr std::int32_t TextReplaceQuestion = 3109;
constexpr std::int32_t TextReplace = 3110;
constexpr std::int32_t TextScenarioFileNamed = 3111;
constexpr std::int32_t TextOpenTitle = 3112;
constexpr std::int32_t TextDeadlineTime = 3404;
constexpr std::int32_t TextDeadlineClock = 3840;
constexpr std::int32_t TextEverySeed = 4021;
constexpr std::int32_t TextBadMedianWithin = 4022;
constexpr std::int32_t TextMostRuns = 4023;
constexpr std::int32_t TextProgressOfMost = 4024;

void PrepareTable(QTableWidget& table)
{
    table.verticalHeader()->hide();
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 6);
}

} // namespace

TfrmExperiment::TfrmExperiment(QWidget* owner, const TScenarioDescription& description, const QString& path,
                               const QString& name)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmExperiment>())
{
    ui->setupUi(this);
    LocalizeComponent(this);
    // The walk localises forms, labels and buttons; the tabs' captions are the dialog's own to localise.
    for (int tab = 0; tab < ui->tabResults->count(); ++tab)
        ui->tabResults->setTabText(tab, LocalizeText(ui->tabResults->tabText(tab)));
    // The answer gets the room: the set-up a third of the width, and none of what the dialog grows by.
    ui->spMain->setStretchFactor(1, 1);
    ui->spMain->setSizes({width() / 3, width() - width() / 3});
    PrepareTable(*ui->tblGroups);
    PrepareTable(*ui->tblRuns);

    for (TframeExperimentAxis* axis : {ui->fraFirstAxis, ui->fraSecondAxis})
        connect(axis, &TframeExperimentAxis::Changed, this, &TfrmExperiment::UpdateRunCount);
    for (QSpinBox* box : {ui->seSeedFrom, ui->seSeedCount, ui->seMaxSteps})
        connect(box, &QSpinBox::valueChanged, this, &TfrmExperiment::UpdateRunCount);
    ui->edMedianWithin->setPlaceholderText(GetStringById(TextEverySeed));
    connect(ui->edMedianWithin, &QLineEdit::textChanged, this, &TfrmExperiment::UpdateRunCount);
    ConnectResults();
    ConnectButtons();
    SetScenario(description, QFile::encodeName(path).toStdString(), name);
}

TfrmExperiment::~TfrmExperiment() = default;

void TfrmExperiment::ConnectResults()
{
    connect(ui->cbPersonHours, &QCheckBox::toggled, this, &TfrmExperiment::ShowTables);
    connect(ui->cbFromZero, &QCheckBox::toggled, this, &TfrmExperiment::ShowTables);
    connect(ui->edDeadline, &QLineEdit::textChanged, this, &TfrmExperiment::ShowTables);
    connect(ui->chart, &TExperimentChart::RunOpened, this, &TfrmExperiment::OpenRun);
    connect(ui->tblRuns, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        OpenRun(ui->tblRuns->item(row, 0)->text().toULongLong());
    });
    // A combination's row opens the seed nearest its median.
    connect(ui->tblGroups, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (const QVariant run = ui->tblGroups->item(row, 0)->data(Qt::UserRole); run.isValid())
            OpenRun(run.toULongLong());
    });
}

void TfrmExperiment::ConnectButtons()
{
    connect(ui->btStart, &QPushButton::clicked, this, &TfrmExperiment::AskStart);
    connect(ui->btCancel, &QPushButton::clicked, this, &TfrmExperiment::Cancel);
    connect(ui->btSave, &QPushButton::clicked, this, &TfrmExperiment::AskSaveResult);
    connect(ui->btSaveSweep, &QPushButton::clicked, this, &TfrmExperiment::AskSaveSweep);
    connect(ui->btSaveSummary, &QPushButton::clicked, this, &TfrmExperiment::AskSaveSummary);
    connect(ui->btOpen, &QPushButton::clicked, this, &TfrmExperiment::AskOpen);
    connect(ui->btCompare, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::size_t> run = SelectedRun()) {
            auto [description, name] = RunOf(*run);
            emit CompareRequested(description, name);
        }
    });
}

void TfrmExperiment::SetScenario(const TScenarioDescription& description, const std::string& path, const QString& name)
{
    scenario = description;
    scenarioPath = path;
    scenarioName = name;
    setWindowTitle(GetStringById(TextTitle) + QStringLiteral(" – ") + name);
    for (TframeExperimentAxis* axis : {ui->fraFirstAxis, ui->fraSecondAxis})
        axis->SetScenario(description);
    // A move with a start is given its deadline by the clock.
    const bool clock = description.startSecond >= 0;
    ui->lbDeadline->setText(GetStringById(clock ? TextDeadlineClock : TextDeadlineTime));
    ui->edDeadline->setPlaceholderText(clock ? MoveTimeText(150 * StepsPerMinute, description.startSecond)
                                             : QStringLiteral("2:30:00"));
}

QString TfrmExperiment::FieldName(const std::string& pointer) const
{
    return SweepFieldName(SweepFieldsOf(scenario), pointer);
}

std::optional<std::string> TfrmExperiment::GetSweepText(QString* reason) const
{
    TSweepSetup setup;
    setup.scenarioPath = scenarioPath;
    // A scenario that is in no file travels in the sweep file, which then runs anywhere.
    if (scenarioPath.empty() && scenario != BuiltInMove())
        setup.scenarioText = WriteScenario(scenario);
    setup.seedFrom = static_cast<std::uint32_t>(ui->seSeedFrom->value());
    setup.seedCount = static_cast<std::uint32_t>(ui->seSeedCount->value());
    // Empty: every seed; else seeds until the medians are that precise.
    if (const QString within = ui->edMedianWithin->text().trimmed(); !within.isEmpty()) {
        const std::optional<std::int64_t> steps = ParseSimulatedTime(within.toStdString());
        if (!steps || *steps <= 0) {
            if (reason)
                *reason = GetStringById(TextBadMedianWithin).arg(within);
            return std::nullopt;
        }
        setup.medianWithin = *steps;
    }
    setup.maxSteps = ui->seMaxSteps->value();
    for (const TframeExperimentAxis* axis : {ui->fraFirstAxis, ui->fraSecondAxis}) {
        const std::string pointer = axis->GetPointer();
        if (pointer.empty())
            continue;
        std::optional<std::vector<std::string>> values = axis->GetValues();
        if (!values) {
            if (reason)
                *reason = GetStringById(TextBadValues).arg(axis->GetFieldName());
            return std::nullopt;
        }
        // One field chosen twice varies once.
        if (setup.axes.empty() || setup.axes[0].pointer != pointer)
            setup.axes.push_back({pointer, std::move(*values)});
    }
    return SweepFileText(setup);
}

std::optional<TSweepPlan> TfrmExperiment::GetPlan(QString* reason) const
{
    const std::optional<std::string> text = GetSweepText(reason);
    if (!text)
        return std::nullopt;
    try {
        return ParseSweep(*text, "experiment", ".");
    } catch (const TSweepPlanError& error) {
        if (reason)
            *reason = GetStringById(TextRefusedSweep)
                          .arg(SweepPlanFaultText(error, [this](const std::string& pointer) { return FieldName(pointer); }));
        return std::nullopt;
    } catch (const TScenarioFileError& error) {
        if (reason)
            *reason = GetStringById(TextRefusedSweep).arg(ScenarioFaultText(error));
        return std::nullopt;
    }
}

void TfrmExperiment::ShowSetup(const TSweepPlan& shown)
{
    const std::array<TframeExperimentAxis*, 2> axes{ui->fraFirstAxis, ui->fraSecondAxis};
    for (std::size_t k = 0; k < shown.pointers.size() && k < axes.size(); ++k)
        axes[k]->ShowAxis(shown.pointers[k], shown.values[k]);
    // A sweep file may list any seeds; the set-up shows them as a first and a count.
    ui->seSeedFrom->setValue(static_cast<int>(std::min<std::uint32_t>(shown.seeds.front(), INT_MAX)));
    ui->seSeedCount->setValue(static_cast<int>(shown.seeds.size()));
    ui->edMedianWithin->setText(shown.IsSequential() ? QString::fromStdString(FormatSimulatedTime(shown.medianWithin))
                                                     : QString());
    ui->seMaxSteps->setValue(static_cast<int>(std::min<std::int64_t>(shown.maxSteps, ui->seMaxSteps->maximum())));
}

void TfrmExperiment::UpdateRunCount()
{
    QString reason;
    // The runs are known from the values and seeds; the full check comes at the start.
    const std::optional<std::string> text = GetSweepText(&reason);
    if (!text) {
        ui->lbRunCount->setText(reason);
        return;
    }
    auto runs = static_cast<std::size_t>(ui->seSeedCount->value());
    const nlohmann::json document = nlohmann::json::parse(*text);
    for (const auto& [key, list] : document["vary"].items())
        runs *= list.size();
    ui->lbRunCount->setText(GetStringById(ui->edMedianWithin->text().trimmed().isEmpty() ? TextRuns : TextMostRuns).arg(runs));
}

bool TfrmExperiment::Start(unsigned jobs)
{
    if (IsRunning())
        return false;
    QString reason;
    std::optional<std::string> text = GetSweepText(&reason);
    std::optional<TSweepPlan> next = GetPlan(&reason);
    if (!text || !next) {
        Refuse(reason);
        return false;
    }
    sweepText = std::move(*text);
    plan = std::move(next);
    csv.clear();
    delete sweep;
    sweep = new TExperimentRun(*plan, jobs, this);
    connect(sweep, &TExperimentRun::Progressed, this, &TfrmExperiment::ShowProgress);
    connect(sweep, &TExperimentRun::RowsWritten, this, &TfrmExperiment::ShowResult);
    connect(sweep, &TExperimentRun::Over, this, &TfrmExperiment::ShowOver);
    ui->pbRuns->setRange(0, static_cast<int>(plan->RunCount()));
    ui->pbRuns->setValue(0);
    ui->btStart->setEnabled(false);
    ui->btCancel->setEnabled(true);
    ui->btOpen->setEnabled(false);
    return true;
}

bool TfrmExperiment::IsRunning() const
{
    return sweep && !sweep->IsOver();
}

void TfrmExperiment::Cancel()
{
    if (sweep)
        sweep->Cancel();
}

void TfrmExperiment::ShowProgress(std::size_t done, std::size_t total, double seconds)
{
    const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    const QString left = rate > 0.0 ? SimulatedTime(static_cast<double>(total - done) / rate * StepsPerSecond)
                                    : QStringLiteral("?");
    ui->pbRuns->setValue(static_cast<int>(done));
    // Seeds until precise may end sooner: the total and the time left are the most.
    const std::int32_t text = plan && plan->IsSequential() ? TextProgressOfMost : TextProgress;
    ui->lbProgress->setText(GetStringById(text).arg(done).arg(total).arg(rate, 0, 'f', 2).arg(left));
    emit RunsProgressed(done, total, false);
}

void TfrmExperiment::ShowOver(std::size_t done, std::size_t total, double seconds)
{
    const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    ui->lbProgress->setText(GetStringById(done == total ? TextDone : TextCancelled)
                                .arg(done).arg(total).arg(seconds, 0, 'f', 1).arg(rate, 0, 'f', 2));
    // Seeds until precise end where their rule says: the bar is full then.
    ui->pbRuns->setRange(0, static_cast<int>(total));
    ui->pbRuns->setValue(static_cast<int>(done));
    ui->btStart->setEnabled(true);
    ui->btCancel->setEnabled(false);
    ui->btOpen->setEnabled(true);
    emit RunsProgressed(done, total, true);
}

void TfrmExperiment::ShowResult(const std::string& rows)
{
    csv = rows;
    // The sweep's own rows, or rows checked against its plan on reading.
    std::istringstream in(csv);
    table = ReadSweepCsv(in, "experiment");
    groups = SummariseSweep(table);
    ShowTables();
}

void TfrmExperiment::ShowTables()
{
    if (!plan)
        return;
    QStringList names;
    for (const std::string& pointer : plan->pointers)
        names << FieldName(pointer);
    const std::optional<std::int64_t> deadline = Deadline();
    const std::int32_t start = scenario.startSecond;
    ShowGroupTable(*ui->tblGroups, *plan, table, groups, names, deadline, start);
    ShowRunTable(*ui->tblRuns, *plan, table, names, start);
    ui->chart->Show(*plan, table, groups, names.value(0), ui->cbPersonHours->isChecked(), ui->cbFromZero->isChecked(), start);
    ui->deadlineChart->Show(*plan, groups, names.value(0), deadline, start);
}

void TfrmExperiment::Refuse(const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

std::pair<TScenarioDescription, QString> TfrmExperiment::RunOf(std::size_t run) const
{
    QString values;
    const std::vector<std::string> texts = plan->ValuesOf(plan->CombinationOf(run));
    for (std::size_t k = 0; k < texts.size(); ++k)
        values += QStringLiteral(", ") + FieldName(plan->pointers[k]) + QStringLiteral(" = ")
                  + RuleWordsInGerman(QString::fromStdString(texts[k]));
    return {plan->ScenarioOf(run), GetStringById(TextRunName).arg(scenarioName + values).arg(plan->SeedOf(run))};
}

void TfrmExperiment::OpenRun(std::size_t run)
{
    if (!plan || run >= plan->RunCount())
        return;
    auto [description, name] = RunOf(run);
    emit RunOpened(description, name);
}

std::optional<std::size_t> TfrmExperiment::SelectedRun() const
{
    if (!plan)
        return std::nullopt;
    for (const QTableWidget* grid : {ui->tblRuns, ui->tblGroups}) {
        const QList<QTableWidgetItem*> selected = grid->selectedItems();
        if (selected.isEmpty())
            continue;
        const QTableWidgetItem* first = grid->item(selected.front()->row(), 0);
        if (grid == ui->tblRuns)
            return first->text().toULongLong();
        if (first->data(Qt::UserRole).isValid())
            return first->data(Qt::UserRole).toULongLong();
    }
    return std::nullopt;
}

bool TfrmExperiment::SaveCsv(const QString& path)
{
    if (!WriteWhole(path, QByteArray::fromStdString(csv))) {
        Refuse(GetStringById(TextNotWritten).arg(path));
        return false;
    }
    savedCsv = csv;
    return true;
}

std::optional<std::int64_t> TfrmExperiment::Deadline() const
{
    return ReadMoveTime(ui->edDeadline->text(), scenario.startSecond);
}

bool TfrmExperiment::SaveSummary(const QString& path)
{
    const std::string text = SweepSummaryCsv({&table, &groups, plan ? &*plan : nullptr, Deadline()});
    if (!WriteWhole(path, QByteArray::fromStdString(text))) {
        Refuse(GetStringById(TextNotWritten).arg(path));
        return false;
    }
    return true;
}

bool TfrmExperiment::SaveResult(const QString& csvPath)
{
    return SaveSweep(ExperimentFilesOf(csvPath).sweep) && SaveCsv(csvPath);
}

bool TfrmExperiment::HasUnsavedResult() const
{
    return !table.rows.empty() && csv != savedCsv;
}

QWidget* TfrmExperiment::Asker()
{
    return isVisible() || !parentWidget() ? this : parentWidget();
}

bool TfrmExperiment::MayDiscard()
{
    const QString title = GetStringById(TextUnsavedTitle);
    if (IsRunning()) {
        const QString question = GetStringById(TextStillRunning).arg(ui->pbRuns->value()).arg(ui->pbRuns->maximum());
        if (AskBeforeLoss(Asker(), title, question, false) != TLossAnswer::Discard)
            return false;
        Cancel();
        return true;
    }
    if (!HasUnsavedResult())
        return true;
    switch (AskBeforeLoss(Asker(), title, GetStringById(TextUnsavedResult))) {
    case TLossAnswer::Save:
        return AskSaveResult();
    case TLossAnswer::Discard:
        return true;
    case TLossAnswer::Keep:
        break;
    }
    return false;
}

std::optional<std::string> TfrmExperiment::SweepToSave()
{
    // The sweep that ran, so that its CSV's hash column names this file; before any run, the set-up's.
    if (!sweepText.empty())
        return sweepText;
    QString reason;
    if (!GetPlan(&reason)) {
        Refuse(reason);
        return std::nullopt;
    }
    return GetSweepText();
}

bool TfrmExperiment::SaveSweep(const QString& path)
{
    const std::optional<std::string> text = SweepToSave();
    if (!text)
        return false;
    if (!WriteWhole(path, QByteArray::fromStdString(*text))) {
        Refuse(GetStringById(TextNotWritten).arg(path));
        return false;
    }
    return true;
}

bool TfrmExperiment::OpenResult(const QString& sweepPath, const QString& csvPath)
{
    if (IsRunning())
        return false;
    const std::string sweepFile = QFile::encodeName(sweepPath).toStdString();
    TSweepPlan read;
    std::string text;
    try {
        read = ReadSweepFile(sweepFile);
        text = ReadScenarioText(sweepFile);
    } catch (const TScenarioFileError& error) {
        Refuse(GetStringById(TextRefusedSweep).arg(ScenarioFaultText(error)));
        return false;
    }
    std::ifstream in(QFile::encodeName(csvPath).toStdString(), std::ios::binary);
    if (!in) {
        Refuse(GetStringById(TextUnreadable).arg(csvPath));
        return false;
    }
    const std::vector<std::size_t> runs = ShardRuns(read.RunCount(), 1, 1);
    std::string rows = SweepCsvHeader(read);
    try {
        // Every row must be a run of this very sweep file, made by any version of the program.
        TSweepCsvRows found = ReadFinishedRows(read, runs, in, csvPath.toStdString(), TSweepRowsOf::AnyProgram);
        std::ranges::sort(found.rows, {}, &TSweepRow::run);
        for (const TSweepRow& row : found.rows)
            rows += row.text;
    } catch (const TSweepCsvError& error) {
        Refuse(SweepCsvFaultText(error, csvPath));
        return false;
    }
    delete sweep;
    sweep = nullptr;
    ui->pbRuns->reset();
    ui->lbProgress->clear();
    // A scenario held in the sweep file goes by the sweep file's name.
    const QString name = !read.scenarioPath.empty() ? QFileInfo(QFile::decodeName(read.scenarioPath.c_str())).fileName()
        : read.base == BuiltInMove()               ? GetStringById(TextBuiltIn)
                                                   : QFileInfo(sweepPath).fileName();
    SetScenario(read.base, read.scenarioPath, name);
    ShowSetup(read);
    sweepText = std::move(text);
    plan = std::move(read);
    ShowResult(rows);
    savedCsv = csv;
    return true;
}

void TfrmExperiment::AskStart()
{
    if (MayDiscard())
        Start();
}

bool TfrmExperiment::AskSaveResult()
{
    QString path = AskSaveFileName(Asker(), GetStringById(TextSaveRows), QString(), GetStringById(TextExperimentCsvFiles));
    if (path.isEmpty())
        return false;
    // The rows take a CSV's name, their sweep file the same name beside them.
    if (ExperimentFilesOf(path).csv != path)
        path += QStringLiteral(".csv");
    const TExperimentFiles files = ExperimentFilesOf(path);
    const std::optional<std::string> text = SweepToSave();
    if (!text)
        return false;
    QFile existing(files.sweep);
    // Another file under the sweep file's name is replaced only when the user says so.
    if (existing.exists()
        && (!existing.open(QIODevice::ReadOnly) || existing.readAll() != QByteArray::fromStdString(*text))) {
        QMessageBox question(QMessageBox::Question, windowTitle(),
                             GetStringById(TextReplaceQuestion).arg(QFileInfo(files.sweep).fileName()),
                             QMessageBox::NoButton, Asker());
        QPushButton* replace = question.addButton(GetStringById(TextReplace), QMessageBox::AcceptRole);
        question.setEscapeButton(question.addButton(GetStringById(TextCancel), QMessageBox::RejectRole));
        question.exec();
        if (question.clickedButton() != replace)
            return false;
    }
    return SaveResult(files.csv);
}

void TfrmExperiment::AskSaveSummary()
{
    const QString path = AskSaveFileName(Asker(), GetStringById(TextSaveSummary), QString(), GetStringById(TextExperimentCsvFiles));
    if (!path.isEmpty())
        SaveSummary(path);
}

void TfrmExperiment::AskSaveSweep()
{
    const QString path = AskSaveFileName(this, GetStringById(TextSaveSweep), QString(), GetStringById(TextSweepFiles));
    if (path.isEmpty() || !SaveSweep(path))
        return;
    const QString csvName = QFileInfo(path).completeBaseName() + QStringLiteral(".csv");
    QString commands = QStringLiteral("zemba-run --sweep '%1' --csv '%2'\n\nscripts/sweep-slurm '%1' 'results/%2' 16")
                           .arg(path, csvName);
    // A scenario in a file of its own must be found under its path where the sweep runs.
    if (!scenarioPath.empty())
        commands += QStringLiteral("\n\n") + GetStringById(TextScenarioFileNamed).arg(QFile::decodeName(scenarioPath.c_str()));
    QMessageBox box(QMessageBox::Information, windowTitle(), GetStringById(TextCommands), QMessageBox::Ok, this);
    box.setInformativeText(commands);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

void TfrmExperiment::AskOpen()
{
    const QString chosen = QFileDialog::getOpenFileName(this, GetStringById(TextOpenTitle), QString(),
                                                        GetStringById(TextExperimentFiles));
    if (chosen.isEmpty())
        return;
    TExperimentFiles files = ExperimentFilesOf(chosen);
    // The partner beside it by name, else asked for once, by what it is.
    const bool csvChosen = files.csv == chosen;
    QString& partner = csvChosen ? files.sweep : files.csv;
    if (!QFileInfo::exists(partner)) {
        partner = QFileDialog::getOpenFileName(
            this, GetStringById(csvChosen ? TextOpenSweepOf : TextOpenCsvOf).arg(QFileInfo(chosen).fileName()),
            QFileInfo(chosen).path(), GetStringById(csvChosen ? TextSweepFiles : TextExperimentCsvFiles));
        if (partner.isEmpty())
            return;
    }
    if (MayDiscard())
        OpenResult(files.sweep, files.csv);
}
