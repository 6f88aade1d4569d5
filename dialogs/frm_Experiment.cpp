#include "dialogs/frm_Experiment.h"

#include "analysis/MoveReport.h"
#include "analysis/SweepMove.h"
#include "dialogs/clsExperimentChart.h"
#include "dialogs/clsScenarioFaultText.h"
#include "dialogs/clsExperimentTables.h"
#include "scenario/clsScenarioFile.h"
#include "scenario/clsScenarioText.h"
#include "strings/clsStringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace {

constexpr std::int32_t TextTitle = 2700;
constexpr std::int32_t TextFirstAxis = 2701;
constexpr std::int32_t TextSecondAxis = 2702;
constexpr std::int32_t TextNothing = 2703;
constexpr std::int32_t TextFrom = 2704;
constexpr std::int32_t TextTo = 2705;
constexpr std::int32_t TextStep = 2706;
constexpr std::int32_t TextList = 2707;
constexpr std::int32_t TextSeedFrom = 2708;
constexpr std::int32_t TextSeedCount = 2709;
constexpr std::int32_t TextMaxSteps = 2710;
constexpr std::int32_t TextRuns = 2711;
constexpr std::int32_t TextStart = 2712;
constexpr std::int32_t TextCancel = 2713;
constexpr std::int32_t TextSave = 2714;
constexpr std::int32_t TextSaveSweep = 2715;
constexpr std::int32_t TextOpen = 2716;
constexpr std::int32_t TextCompare = 2717;
constexpr std::int32_t TextProgress = 2718;
constexpr std::int32_t TextPersonHours = 2719;
// The fields' names take TSweepField::TKind's order from here.
constexpr std::int32_t TextFirstField = 2720;
constexpr std::int32_t TextTabGroups = 2748;
constexpr std::int32_t TextTabRuns = 2749;
constexpr std::int32_t TextTabChart = 2750;
constexpr std::int32_t TextSweepFiles = 2758;
constexpr std::int32_t TextCsvFiles = 2759;
constexpr std::int32_t TextBadValues = 2760;
constexpr std::int32_t TextNotWritten = 2761;
constexpr std::int32_t TextRefusedSweep = 2762;
constexpr std::int32_t TextCommands = 2763;
constexpr std::int32_t TextRunName = 2764;
constexpr std::int32_t TextDone = 2765;
constexpr std::int32_t TextCancelled = 2766;

constexpr int PollInterval = 250;
constexpr int RedrawInterval = 1000;
constexpr int MostMaxSteps = 2'000'000'000;

} // namespace

TfrmExperiment::TfrmExperiment(QWidget* owner, const TScenarioDescription& description, const QString& path,
                               const QString& name)
    : QDialog(owner)
    , scenario(description)
    , scenarioPath(QFile::encodeName(path).toStdString())
    , scenarioName(name)
    , fields(SweepFieldsOf(description))
{
    setWindowTitle(GetStringById(TextTitle) + QStringLiteral(" – ") + name);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* tabs = new QTabWidget;
    groupTable = new QTableWidget;
    runTable = new QTableWidget;
    chart = new TExperimentChart;
    for (QTableWidget* t : {groupTable, runTable}) {
        t->verticalHeader()->hide();
        t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
        t->setSelectionBehavior(QAbstractItemView::SelectRows);
        t->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    auto* chartPage = new QWidget;
    auto* chartLayout = new QVBoxLayout(chartPage);
    personHours = new QCheckBox(GetStringById(TextPersonHours));
    chartLayout->addWidget(personHours);
    chartLayout->addWidget(chart, 1);
    tabs->addTab(chartPage, GetStringById(TextTabChart));
    tabs->addTab(groupTable, GetStringById(TextTabGroups));
    tabs->addTab(runTable, GetStringById(TextTabRuns));

    auto* splitter = new QSplitter;
    splitter->addWidget(BuildSetup());
    splitter->addWidget(tabs);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(1240, 680);

    pollTimer = new QTimer(this);
    pollTimer->setInterval(PollInterval);
    connect(pollTimer, &QTimer::timeout, this, &TfrmExperiment::Poll);
    connect(personHours, &QCheckBox::toggled, this, &TfrmExperiment::ShowTables);
    connect(chart, &TExperimentChart::RunOpened, this, &TfrmExperiment::OpenRun);
    connect(runTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        OpenRun(runTable->item(row, 0)->text().toULongLong());
    });
    // A combination's row opens the seed nearest its median.
    connect(groupTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        const QVariant run = groupTable->item(row, 0)->data(Qt::UserRole);
        if (run.isValid())
            OpenRun(run.toULongLong());
    });
    UpdateRunCount();
}

TfrmExperiment::~TfrmExperiment() = default;

QWidget* TfrmExperiment::BuildSetup()
{
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    for (int a = 0; a < 2; ++a) {
        TAxisWidgets& w = axes[static_cast<std::size_t>(a)];
        auto* box = new QGroupBox(GetStringById(a == 0 ? TextFirstAxis : TextSecondAxis));
        auto* form = new QFormLayout(box);
        w.field = new QComboBox;
        w.field->addItem(GetStringById(TextNothing), QString());
        for (const TSweepField& f : fields)
            w.field->addItem(FieldName(f.pointer), QString::fromStdString(f.pointer));
        form->addRow(w.field);
        w.range = new QRadioButton(GetStringById(TextFrom));
        auto* listChoice = new QRadioButton(GetStringById(TextList));
        w.range->setChecked(true);
        w.from = new QLineEdit;
        w.to = new QLineEdit;
        w.step = new QLineEdit(QStringLiteral("1"));
        w.list = new QLineEdit;
        auto* rangeRow = new QHBoxLayout;
        rangeRow->addWidget(w.from);
        rangeRow->addWidget(new QLabel(GetStringById(TextTo)));
        rangeRow->addWidget(w.to);
        rangeRow->addWidget(new QLabel(GetStringById(TextStep)));
        rangeRow->addWidget(w.step);
        form->addRow(w.range, rangeRow);
        form->addRow(listChoice, w.list);
        // A word-valued field takes a list; a new field starts from its value now.
        connect(w.field, &QComboBox::currentIndexChanged, this, [this, &w, listChoice](int index) {
            const std::string pointer = w.field->itemData(index).toString().toStdString();
            if (!pointer.empty()) {
                const nlohmann::json value = ScenarioToJson(scenario)[nlohmann::json::json_pointer(pointer)];
                const QString now = QString::fromStdString(value.is_string() ? value.get<std::string>() : value.dump());
                const bool word = value.is_string();
                w.from->setText(now);
                w.to->setText(now);
                w.list->setText(word ? QStringLiteral("restart, finish") : now);
                (word ? listChoice : w.range)->setChecked(true);
                w.range->setEnabled(!word);
            }
            UpdateRunCount();
        });
        for (QLineEdit* edit : {w.from, w.to, w.step, w.list})
            connect(edit, &QLineEdit::textChanged, this, &TfrmExperiment::UpdateRunCount);
        connect(w.range, &QRadioButton::toggled, this, &TfrmExperiment::UpdateRunCount);
        column->addWidget(box);
    }
    auto* seeds = new QFormLayout;
    seedFrom = new QSpinBox;
    seedFrom->setRange(0, std::numeric_limits<int>::max());
    seedFrom->setValue(1);
    seedCount = new QSpinBox;
    seedCount->setRange(1, 100'000);
    seedCount->setValue(20);
    maxSteps = new QSpinBox;
    maxSteps->setRange(1, MostMaxSteps);
    maxSteps->setGroupSeparatorShown(false);
    maxSteps->setValue(2'000'000);
    seeds->addRow(GetStringById(TextSeedFrom), seedFrom);
    seeds->addRow(GetStringById(TextSeedCount), seedCount);
    seeds->addRow(GetStringById(TextMaxSteps), maxSteps);
    column->addLayout(seeds);
    for (QSpinBox* box : {seedFrom, seedCount, maxSteps})
        connect(box, &QSpinBox::valueChanged, this, &TfrmExperiment::UpdateRunCount);
    runCount = new QLabel;
    runCount->setWordWrap(true);
    column->addWidget(runCount);

    btStart = new QPushButton(GetStringById(TextStart));
    btCancel = new QPushButton(GetStringById(TextCancel));
    btCancel->setEnabled(false);
    btSave = new QPushButton(GetStringById(TextSave));
    auto* btSaveSweep = new QPushButton(GetStringById(TextSaveSweep));
    auto* btOpen = new QPushButton(GetStringById(TextOpen));
    btCompare = new QPushButton(GetStringById(TextCompare));
    auto* buttons = new QGridLayout;
    buttons->addWidget(btStart, 0, 0);
    buttons->addWidget(btCancel, 0, 1);
    buttons->addWidget(btSave, 1, 0);
    buttons->addWidget(btSaveSweep, 1, 1);
    buttons->addWidget(btOpen, 2, 0);
    buttons->addWidget(btCompare, 2, 1);
    column->addLayout(buttons);
    progress = new QProgressBar;
    progressText = new QLabel;
    column->addWidget(progress);
    column->addWidget(progressText);
    column->addStretch(1);

    connect(btStart, &QPushButton::clicked, this, [this] { Start(); });
    connect(btCancel, &QPushButton::clicked, this, &TfrmExperiment::Cancel);
    connect(btSave, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, GetStringById(TextSave), QString(), GetStringById(TextCsvFiles));
        if (!path.isEmpty())
            SaveCsv(path);
    });
    connect(btSaveSweep, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, GetStringById(TextSaveSweep), QString(), GetStringById(TextSweepFiles));
        if (path.isEmpty() || !SaveSweep(path))
            return;
        const QString csvName = QFileInfo(path).completeBaseName() + QStringLiteral(".csv");
        const QString commands = QStringLiteral("zemba-run --sweep '%1' --csv '%2'\n\nscripts/sweep-slurm '%1' 'results/%2' 16")
                                     .arg(path, csvName);
        QMessageBox box(QMessageBox::Information, windowTitle(), GetStringById(TextCommands), QMessageBox::Ok, this);
        box.setInformativeText(commands);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse);
        box.exec();
    });
    connect(btOpen, &QPushButton::clicked, this, [this] {
        const QString sweep = QFileDialog::getOpenFileName(this, GetStringById(TextOpen), QString(), GetStringById(TextSweepFiles));
        if (sweep.isEmpty())
            return;
        const QString rows = QFileDialog::getOpenFileName(this, GetStringById(TextOpen), QFileInfo(sweep).path(), GetStringById(TextCsvFiles));
        if (!rows.isEmpty())
            OpenResult(sweep, rows);
    });
    connect(btCompare, &QPushButton::clicked, this, [this] {
        if (const std::optional<std::size_t> run = SelectedRun()) {
            auto [description, name] = RunOf(*run);
            emit CompareRequested(description, name);
        }
    });
    return panel;
}

QString TfrmExperiment::FieldName(const std::string& pointer) const
{
    for (const TSweepField& f : fields)
        if (f.pointer == pointer)
        {
            const QString name = GetStringById(TextFirstField + static_cast<std::int32_t>(f.kind));
            return f.number > 0 ? name.arg(f.number) : name;
        }
    return QString::fromStdString(pointer);
}

std::optional<std::string> TfrmExperiment::GetSweepText(QString* reason) const
{
    TSweepSetup setup;
    setup.scenarioPath = scenarioPath;
    setup.seedFrom = static_cast<std::uint32_t>(seedFrom->value());
    setup.seedCount = static_cast<std::uint32_t>(seedCount->value());
    setup.maxSteps = maxSteps->value();
    for (const TAxisWidgets& w : axes) {
        const std::string pointer = w.field->currentData().toString().toStdString();
        if (pointer.empty())
            continue;
        const auto field = std::find_if(fields.begin(), fields.end(), [&](const TSweepField& f) { return f.pointer == pointer; });
        bool ok = true;
        const auto number = [&ok](const QLineEdit* edit) {
            bool read = false;
            const double value = edit->text().trimmed().toDouble(&read);
            ok = ok && read;
            return value;
        };
        std::optional<std::vector<std::string>> values;
        if (w.range->isChecked()) {
            const double from = number(w.from), to = number(w.to), step = number(w.step);
            if (ok)
                values = RangeValues(from, to, step, field != fields.end() && field->whole);
        } else {
            values = ListValues(w.list->text().toStdString());
        }
        if (!values) {
            if (reason)
                *reason = GetStringById(TextBadValues).arg(w.field->currentText());
            return std::nullopt;
        }
        if (!setup.axes.empty() && setup.axes[0].pointer == pointer)
            continue;
        setup.axes.push_back({pointer, *values});
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
    } catch (const TScenarioFileError& error) {
        if (reason)
            *reason = GetStringById(TextRefusedSweep).arg(ScenarioFaultText(error));
        return std::nullopt;
    }
}

void TfrmExperiment::UpdateRunCount()
{
    QString reason;
    // The runs are known from the values and seeds; the full check comes at the start.
    const std::optional<std::string> text = GetSweepText(&reason);
    if (!text) {
        runCount->setText(reason);
        return;
    }
    std::size_t runs = static_cast<std::size_t>(seedCount->value());
    const nlohmann::json document = nlohmann::json::parse(*text);
    for (const auto& [key, list] : document["vary"].items())
        runs *= list.size();
    runCount->setText(GetStringById(TextRuns).arg(runs));
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
    plan = next;
    job.reset();
    job = std::make_unique<TSweepJob>(*next, jobs, RunSweepMove);
    clock.start();
    redrawn.invalidate();
    csv.clear();
    progress->setRange(0, static_cast<int>(next->RunCount()));
    progress->setValue(0);
    btStart->setEnabled(false);
    btCancel->setEnabled(true);
    pollTimer->start();
    Poll();
    return true;
}

void TfrmExperiment::Cancel()
{
    if (job)
        job->Cancel();
}

void TfrmExperiment::Poll()
{
    if (!job)
        return;
    const bool over = job->IsDone();
    const std::size_t done = job->GetRunsDone();
    std::string now = job->GetCsv();
    const std::size_t total = job->GetPlan().RunCount();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    const QString left = rate > 0.0 ? SimulatedTime(static_cast<double>(total - done) / rate * TMoveReport::StepsPerSecond)
                                    : QStringLiteral("?");
    progress->setValue(static_cast<int>(done));
    QString text = GetStringById(TextProgress).arg(done).arg(total).arg(rate, 0, 'f', 2).arg(left);
    if (over)
        text = GetStringById(done == total ? TextDone : TextCancelled).arg(done).arg(total).arg(seconds, 0, 'f', 1).arg(rate, 0, 'f', 2);
    progressText->setText(text);
    // The tables and the chart are drawn anew at most once a second while
    // the runs go on: the cores are the runs'.
    if (now != csv && (over || !redrawn.isValid() || redrawn.elapsed() >= RedrawInterval)) {
        ShowResult(job->GetPlan(), now);
        redrawn.start();
    }
    if (over) {
        pollTimer->stop();
        btStart->setEnabled(true);
        btCancel->setEnabled(false);
    }
}

void TfrmExperiment::ShowResult(const TSweepPlan& shown, const std::string& rows)
{
    if (!plan || &shown != &*plan)
        plan = shown;
    csv = rows;
    std::istringstream in(csv);
    try {
        table = ReadSweepCsv(in, "experiment");
    } catch (const TSweepCsvError&) {
        table = {};
    }
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
    ShowGroupTable(*groupTable, *plan, table, groups, names);
    ShowRunTable(*runTable, *plan, table, names);
    chart->Show(*plan, table, groups, names.isEmpty() ? QString() : names[0], personHours->isChecked());
}

void TfrmExperiment::Refuse(const QString& text)
{
    QMessageBox::warning(this, windowTitle(), text);
}

std::pair<TScenarioDescription, QString> TfrmExperiment::RunOf(std::size_t run) const
{
    QString values;
    const std::vector<std::string> texts = plan->ValuesOf(plan->CombinationOf(run));
    for (std::size_t k = 0; k < texts.size(); ++k)
        values += QStringLiteral(", ") + FieldName(plan->pointers[k]) + QStringLiteral(" = ") + QString::fromStdString(texts[k]);
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
    for (const QTableWidget* t : {runTable, groupTable}) {
        const QList<QTableWidgetItem*> selected = t->selectedItems();
        if (selected.isEmpty() || !plan)
            continue;
        const QTableWidgetItem* first = t->item(selected.front()->row(), 0);
        if (t == runTable)
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
    return true;
}

bool TfrmExperiment::SaveSweep(const QString& path)
{
    // The sweep that ran, so that its CSV's hash column names this file; before any run, the setup's.
    std::string text = sweepText;
    if (text.empty()) {
        QString reason;
        if (!GetPlan(&reason)) {
            Refuse(reason);
            return false;
        }
        text = *GetSweepText();
    }
    if (!WriteWhole(path, QByteArray::fromStdString(text))) {
        Refuse(GetStringById(TextNotWritten).arg(path));
        return false;
    }
    return true;
}

bool TfrmExperiment::OpenResult(const QString& sweepPath, const QString& csvPath)
{
    if (IsRunning())
        return false;
    try {
        TSweepPlan read = ReadSweepFile(QFile::encodeName(sweepPath).toStdString());
        std::ifstream in(QFile::encodeName(csvPath).toStdString(), std::ios::binary);
        const std::string rows((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.eof() && !in.good())
            throw TSweepCsvError(csvPath.toStdString());
        if (rows.rfind(SweepCsvHeader(read), 0) != 0)
            throw TSweepCsvError(csvPath.toStdString() + ": " + SweepCsvHeader(read));
        std::istringstream check(rows);
        ReadSweepCsv(check, csvPath.toStdString());
        sweepText = ReadScenarioText(QFile::encodeName(sweepPath).toStdString());
        job.reset();
        plan = read;
        progress->reset();
        progressText->clear();
        ShowResult(*plan, rows);
    } catch (const TScenarioFileError& error) {
        Refuse(GetStringById(TextRefusedSweep).arg(ScenarioFaultText(error)));
        return false;
    } catch (const std::exception& error) {
        Refuse(GetStringById(TextRefusedSweep).arg(QString::fromStdString(error.what())));
        return false;
    }
    return true;
}
