#include "app/frm_Main.h"

#include "ui_frm_Main.h"

#include "analysis/MoveCourse.h"
#include "analysis/MoveExport.h"
#include "app/clsMoveExports.h"
#include "app/clsMoveJumper.h"
#include "app/clsReportPresenter.h"
#include "app/clsRunChart.h"
#include "app/clsTimeline.h"
#include "model/clsSimulationTime.h"
#include "runtime/clsBCThread.h"
#include "scenario/clsScenario.h"
#include "strings/clsStringTable.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QtConcurrent/QtConcurrentRun>

namespace {

constexpr std::int32_t TextBadSize = 2807;
constexpr std::int32_t TextTimeline = 2802;
constexpr std::int32_t TextPictureFiles = 2803;
constexpr std::int32_t TextCsvFiles = 2804;
constexpr std::int32_t TextTextFiles = 2805;
constexpr std::int32_t TextAskSize = 2806;
constexpr std::int32_t TextWriting = 2808;
constexpr std::int32_t TextExport = 50030;
constexpr std::int32_t TextExportView = 50031;
constexpr std::int32_t TextExportChart = 50032;
constexpr std::int32_t TextExportSeries = 50033;
constexpr std::int32_t TextExportTrace = 50034;
constexpr std::int32_t TextExportReport = 50035;
constexpr std::int32_t TextCopy = 50130;
constexpr std::int32_t TextViewTimeline = 50431;
constexpr std::int32_t TextViewReport = 50432;

// One simulated minute.
constexpr std::int64_t PageSteps = StepsPerMinute;
// A chart that has never been shown has no size of its own.
const QSize HiddenChartSize(800, 300);

QAction* AddAction(QWidget* owner, QMenu* menu, std::int32_t textId)
{
    auto* action = new QAction(GetStringById(textId), owner);
    menu->addAction(action);
    return action;
}

} // namespace

void TfrmMain::SetUpReview()
{
    jumper = new TMoveJumper([this](std::unique_ptr<TSteppedMove> move) { ReplaceMove(std::move(move)); }, this);

    timeline = new TTimeline;
    tbTimeline = new QToolBar(GetStringById(TextTimeline), this);
    tbTimeline->setObjectName(QStringLiteral("tbTimeline"));
    tbTimeline->setMovable(false);
    tbTimeline->addWidget(timeline);
    addToolBar(Qt::BottomToolBarArea, tbTimeline);
    connect(timeline, &TTimeline::JumpRequested, this, &TfrmMain::JumpTo);

    auto* viewTimeline = new QAction(GetStringById(TextViewTimeline), this);
    viewTimeline->setCheckable(true);
    viewTimeline->setChecked(true);
    ui->mnuView->addAction(viewTimeline);
    ConnectDockable(viewTimeline, tbTimeline);
    connect(AddAction(this, ui->mnuView, TextViewReport), &QAction::triggered, this,
            [this] { report->Show(GetDescription(), GetShownStep()); });

    // The keys reach the timeline whichever widget of the window has the focus.
    const std::array<std::pair<QKeySequence, std::function<void()>>, 6> keys{{
        {QKeySequence(Qt::Key_Left), [this] { JumpBy(-1); }},
        {QKeySequence(Qt::Key_Right), [this] { JumpBy(1); }},
        {QKeySequence(Qt::Key_PageUp), [this] { JumpBy(-PageSteps); }},
        {QKeySequence(Qt::Key_PageDown), [this] { JumpBy(PageSteps); }},
        {QKeySequence(Qt::Key_Home), [this] { JumpTo(0); }},
        {QKeySequence(Qt::Key_End), [this] { JumpTo(timeline->GetEnd()); }},
    }};
    for (const auto& [key, jump] : keys)
        connect(new QShortcut(key, this, nullptr, nullptr, Qt::WindowShortcut), &QShortcut::activated, this, jump);

    auto* exports = new QMenu(GetStringById(TextExport), this);
    ui->mnuFile->insertMenu(ui->acFileExit, exports);
    ui->mnuFile->insertSeparator(ui->acFileExit);
    connect(AddAction(this, exports, TextExportView), &QAction::triggered, this, &TfrmMain::acExportViewExecute);
    connect(AddAction(this, exports, TextExportChart), &QAction::triggered, this,
            [this] { AskAndExport(TextPictureFiles, &TfrmMain::ExportChart); });
    connect(AddAction(this, exports, TextExportSeries), &QAction::triggered, this,
            [this] { AskAndExport(TextCsvFiles, &TfrmMain::ExportSeries); });
    connect(AddAction(this, exports, TextExportTrace), &QAction::triggered, this, [this] {
        const QString path = SaveFileName(TextCsvFiles);
        if (path.isEmpty())
            return;
        ExportInBackground(path, [description = GetDescription(), step = GetShownStep(), path] {
            return ExportTrace(description, step, path);
        });
    });
    connect(AddAction(this, exports, TextExportReport), &QAction::triggered, this, [this] {
        const QString path = SaveFileName(TextTextFiles);
        if (path.isEmpty())
            return;
        ExportInBackground(path, [description = GetDescription(), step = GetShownStep(), path] {
            return ExportText(MoveReportText(description, step), path);
        });
    });
    QAction* copy = AddAction(this, ui->mnuEdit, TextCopy);
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, &TfrmMain::CopyView);
}

void TfrmMain::StartReview()
{
    const TScenarioDescription chosen = GetDescription();
    jumper->SetScenario(chosen);
    timeline->Start();
    if (courseCancel)
        *courseCancel = true;
    courseCancel = std::make_shared<std::atomic<bool>>(false);
    // The move the run leaves at its end serves the first jump there.
    using TCourseRun = std::pair<TMoveCourse, std::shared_ptr<TSteppedMove>>;
    auto* watcher = new QFutureWatcher<TCourseRun>(this);
    connect(watcher, &QFutureWatcher<TCourseRun>::finished, this, [this, watcher, cancel = courseCancel] {
        watcher->deleteLater();
        if (cancel != courseCancel || *cancel)
            return;
        TCourseRun run = watcher->result();
        timeline->SetCourse(run.first);
        if (run.first.outcome != TMoveOutcome::Running) {
            auto end = std::make_unique<TSteppedMove>();
            std::swap(end->objects, run.second->objects);
            std::swap(end->scenario, run.second->scenario);
            jumper->Offer(std::move(end));
        }
    });
    watcher->setFuture(QtConcurrent::run([chosen, cancel = courseCancel] {
        auto move = std::make_shared<TSteppedMove>();
        move->scenario = std::make_unique<TScenario>(*move->objects, chosen);
        return TCourseRun(RunMoveCourse(*move->scenario, *cancel), move);
    }));
}

void TfrmMain::FollowReview(std::int64_t step)
{
    if (!jumper->IsBusy())
        timeline->Follow(step);
}

TScenarioDescription TfrmMain::GetDescription() const
{
    return description.value_or(BuiltInMove());
}

bool TfrmMain::IsJumping() const
{
    return jumper->IsBusy();
}

std::int64_t TfrmMain::GetShownStep()
{
    return jumper->IsBusy() ? jumper->GetTarget() : publisher->Latest().step;
}

void TfrmMain::JumpTo(std::int64_t step)
{
    if (!scenario)
        return;
    // Past the end the move would only stand still; before its end is known,
    // a step ahead of the live move is as exact as any other.
    const std::optional<TMoveCourse>& course = timeline->GetCourse();
    step = std::clamp<std::int64_t>(step, 0, course ? course->endStep : CourseStepLimit);
    jumper->Request(step);
    timeline->Follow(step);
}

void TfrmMain::JumpBy(std::int64_t steps)
{
    JumpTo(GetShownStep() + steps);
}

void TfrmMain::ReplaceMove(std::unique_ptr<TSteppedMove> move)
{
    const bool paused = IsPaused();
    StopSimulation();
    thread.reset();
    // As Restart lets the old move go, but the publisher stays: the persons
    // dialog and the view read on from it.
    ui->fu->SetTrail(nullptr);
    ui->fu->SetChain(nullptr);
    chain = nullptr;
    scenario.reset();
    objects = std::move(move->objects);
    scenario = std::move(move->scenario);
    chain = scenario->GetChain();
    ui->fu->SetTrail(scenario->GetTrail());
    ui->fu->SetChain(chain);
    chart->Start(boundPerMinute, scenario->GetInitialStock());
    // A jump to the end is a look at it: the report comes by itself only
    // when the move plays to its end.
    reportedOver = reportedOver || scenario->GetLoop().IsOver();
    thread = std::make_unique<TBCThread>(true, &scenario->GetLoop(), publisher.get());
    thread->SetSpeed(speedFactor);
    thread->SetPaused(paused);
    ShowPaused(paused);
    thread->Resume();
    UpdateFigures();
    ui->fu->timerTimer();
}

QString TfrmMain::ExportView(const QString& path, QSize size)
{
    if (size.isEmpty())
        size = ui->fu->GetPictureSize();
    return ExportPicture(size, [this, size](QPainter& painter) { ui->fu->PaintPicture(painter, size); }, path);
}

QString TfrmMain::ExportChart(const QString& path)
{
    if (!chart->isVisible())
        chart->resize(HiddenChartSize);
    return ExportPicture(chart->size(), [this](QPainter& painter) { chart->render(&painter); }, path);
}

QString TfrmMain::ExportSeries(const QString& path)
{
    return ExportText(DeliverySeriesCsv(publisher->Latest().deliveries, boundPerMinute), path);
}

void TfrmMain::CopyView()
{
    QApplication::clipboard()->setImage(ui->fu->RenderPicture(ui->fu->GetPictureSize()));
}

QString TfrmMain::SaveFileName(std::int32_t filterId)
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, QString(), QString(), GetStringById(filterId), &filter);
    // A name without an ending takes the chosen kind's.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        const qsizetype star = filter.indexOf(QStringLiteral("*."));
        if (star >= 0)
            path += filter.mid(star + 1, filter.indexOf(QLatin1Char(')'), star) - star - 1);
    }
    return path;
}

void TfrmMain::acExportViewExecute()
{
    const QString path = SaveFileName(TextPictureFiles);
    if (path.isEmpty())
        return;
    const QSize shown = ui->fu->GetPictureSize();
    bool ok = false;
    const QString answer = QInputDialog::getText(this, windowTitle(), GetStringById(TextAskSize), QLineEdit::Normal,
                                                 QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()), &ok);
    if (!ok)
        return;
    const std::optional<QSize> size = ParsePictureSize(answer);
    const QString error = size ? ExportView(path, *size)
                               : GetStringById(TextBadSize).arg(answer).arg(MaximumPictureSide);
    if (!error.isEmpty())
        QMessageBox::warning(this, windowTitle(), error);
}

void TfrmMain::AskAndExport(std::int32_t filterId, QString (TfrmMain::*write)(const QString&))
{
    const QString path = SaveFileName(filterId);
    if (path.isEmpty())
        return;
    if (const QString error = (this->*write)(path); !error.isEmpty())
        QMessageBox::warning(this, windowTitle(), error);
}

void TfrmMain::ExportInBackground(const QString& path, std::function<QString()> write)
{
    statusBar()->showMessage(GetStringById(TextWriting).arg(QFileInfo(path).fileName()));
    auto* watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher] {
        watcher->deleteLater();
        statusBar()->clearMessage();
        if (const QString error = watcher->result(); !error.isEmpty())
            QMessageBox::warning(this, windowTitle(), error);
    });
    watcher->setFuture(QtConcurrent::run(std::move(write)));
}
