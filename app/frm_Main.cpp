#include "app/frm_Main.h"

#include "ui_frm_Main.h"

#include "analysis/MoveRecorder.h"
#include "analysis/MoveReport.h"
#include "app/clsExperimentPresenter.h"
#include "app/clsReportPresenter.h"
#include "app/clsRunChart.h"
#include "app/clsScenarioDocument.h"
#include "dialogs/frm_About.h"
#include "dialogs/clsScenarioFaultText.h"
#include "dialogs/frm_Persons.h"
#include "runtime/clsBCThread.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"
#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"
#include "view/clsChainPainter.h"
#include "view/clsLegend.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <exception>

namespace {

constexpr std::int32_t TextTime = 2300;
constexpr std::int32_t TextSource = 2301;
constexpr std::int32_t TextInHands = 2302;
constexpr std::int32_t TextDelivered = 2303;
constexpr std::int32_t TextFinished = 2304;
constexpr std::int32_t TextStalled = 2390;
constexpr std::int32_t TextChart = 2330;
constexpr std::int32_t TextRefused = 2340;
constexpr std::int32_t TextLegend = 2350;
constexpr std::int32_t TextBuiltIn = 2768;
constexpr std::int32_t TextSimulation = 50300;
constexpr std::int32_t TextPause = 50310;
constexpr std::int32_t TextContinue = 50311;

// A few times a second is live enough for figures and curves.
constexpr int FiguresInterval = 250;
// The floating legend's first height: the marks and the first persons.
constexpr int LegendHeight = 420;
const QString WindowStateKey = QStringLiteral("mainWindow/state");
const QString WindowGeometryKey = QStringLiteral("mainWindow/geometry");
// The picture keeps this much height; below it a dock gives way.
constexpr int MinimumViewHeight = 150;

QString SimulatedTime(std::int64_t steps)
{
    return QString::fromStdString(FormatSimulatedTime(steps));
}

// A caption without its shortcut mark, for titles.
QString Plain(std::int32_t id)
{
    return GetStringById(id).remove(QLatin1Char('&'));
}

} // namespace

TfrmMain::TfrmMain(QWidget* owner)
    : QMainWindow(owner)
    , ui(std::make_unique<Ui::frmMain>())
    , publisher(std::make_unique<TChainPublisher>())
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/zemba/ProgramIcon.png")));
    LocalizeComponent(this);
    baseTitle = windowTitle();
    ui->tbSimulation->setWindowTitle(Plain(TextSimulation));
    ui->dkChart->setWindowTitle(Plain(TextChart));
    ui->dkLegend->setWindowTitle(Plain(TextLegend));
    ui->fu->setMinimumHeight(MinimumViewHeight);

    chart = new TRunChart(ui->dkChart);
    ui->dkChart->setWidget(chart);
    legend = new TLegend;
    report = new TReportPresenter(this);
    experiments = new TExperimentPresenter(this, ui->mnuSimulation);
    auto* legendScroll = new QScrollArea(ui->dkLegend);
    legendScroll->setWidget(legend);
    legendScroll->setWidgetResizable(true);
    ui->dkLegend->setWidget(legendScroll);
    lbStatus = new QLabel(ui->sbStatus);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    // A longer text must not widen the window.
    lbStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ui->sbStatus->addWidget(lbStatus, 1);
    // The status bar comes on top of the window's usual size: the view keeps its own.
    resize(width(), height() + ui->sbStatus->sizeHint().height());

    document = new TScenarioDocument(*this, *ui->mnuFile, *ui->acFileOpen, *ui->mnuEdit);
    connect(ui->acFileExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->acSimPause, &QAction::triggered, this, &TfrmMain::acSimPauseExecute);
    connect(ui->acSimStep, &QAction::triggered, this, &TfrmMain::acSimStepExecute);
    connect(ui->acSimRestart, &QAction::triggered, this, &TfrmMain::Restart);
    connect(ui->acEditPersons, &QAction::triggered, this, &TfrmMain::acEditPersonsExecute);
    connect(ui->acInfoAbout, &QAction::triggered, this, &TfrmMain::acInfoAboutExecute);
    connect(ui->fu, &TframeZemba::PersonOpened, this, &TfrmMain::OpenPersons);

    auto* speeds = new QActionGroup(this);
    const std::array<QAction*, SpeedFactors.size()> speedActions{ui->acSpeed1, ui->acSpeed2, ui->acSpeed5,
                                                                  ui->acSpeed20, ui->acSpeedFast};
    for (std::size_t i = 0; i < SpeedFactors.size(); ++i) {
        speeds->addAction(speedActions[i]);
        connect(speedActions[i], &QAction::triggered, this, [this, i] { acSpeedExecute(SpeedFactors[i]); });
    }
    ui->acSpeed1->setChecked(true);
    ShowPaused(false);

    SetUpReview();
    // The first start shows the window as it always was; later ones as it was left.
    ui->tbSimulation->hide();
    ui->dkChart->hide();
    ui->dkLegend->hide();
    // The legend floats at first, at the size of its entries: docked beside
    // the window at its first size, it would take half the picture's width.
    ui->dkLegend->setFloating(true);
    ui->dkLegend->resize(legend->sizeHint().width() + 2 * style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 40,
                         LegendHeight);
    ConnectDockable(ui->acViewToolbar, ui->tbSimulation);
    ConnectDockable(ui->acViewChart, ui->dkChart);
    ConnectDockable(ui->acViewLegend, ui->dkLegend);
    const QSettings settings;
    // The timeline comes on top of the window's usual size: the view keeps its own.
    if (!restoreGeometry(settings.value(WindowGeometryKey).toByteArray()))
        resize(width(), height() + tbTimeline->sizeHint().height());
    restoreState(settings.value(WindowStateKey).toByteArray());
    // The chart comes in at most a third of the window's height, whatever the
    // minimum its charts would ask for.
    connect(ui->dkChart, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && !ui->dkChart->isFloating() && ui->dkChart->height() > height() / 3)
            resizeDocks({ui->dkChart}, {height() / 3}, Qt::Vertical);
    });
    // A floating legend that has never been placed comes up beside the window.
    connect(ui->dkLegend, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && ui->dkLegend->isFloating() && ui->dkLegend->pos() == QPoint())
            ui->dkLegend->move(frameGeometry().topRight() + QPoint(8, 0));
    });

    figuresTimer = new QTimer(this);
    figuresTimer->setInterval(FiguresInterval);
    connect(figuresTimer, &QTimer::timeout, this, &TfrmMain::UpdateFigures);
    figuresTimer->start();
}

TfrmMain::~TfrmMain()
{
    if (courseCancel)
        *courseCancel = true;
    StopSimulation();
    // Work on the pool ends before its watchers go with the window.
    for (QFutureWatcherBase* work : findChildren<QFutureWatcherBase*>(Qt::FindDirectChildrenOnly))
        work->waitForFinished();
}

void TfrmMain::SetScenarioFile(const QString& path)
{
    scenarioFile = path;
}

bool TfrmMain::OpenScenario(const QString& path)
{
    // Read before anything stops: a refused file leaves the running move alone.
    try {
        description = ReadScenarioFile(QFile::encodeName(path).toStdString());
    } catch (const TScenarioFileError& e) {
        QMessageBox::warning(this, baseTitle, ScenarioFaultText(e));
        return false;
    }
    scenarioFile = path;
    refusedFile.clear();
    document->Opened(path, *description);
    Restart();
    return true;
}

void TfrmMain::RunDescription(const TScenarioDescription& edited, const QString& path)
{
    description = edited;
    scenarioFile = path;
    refusedFile.clear();
    Restart();
}

void TfrmMain::ShowTitle()
{
    QString note = document->TitleNote();
    if (note.isEmpty() && !refusedFile.isEmpty())
        note = GetStringById(TextRefused).arg(refusedFile);
    setWindowTitle(note.isEmpty() ? baseTitle : baseTitle + QStringLiteral(" – ") + note);
}

QString TfrmMain::GetScenarioFile() const
{
    return document->HasUnsavedEdits() ? QString() : scenarioFile;
}

QString TfrmMain::GetScenarioName() const
{
    const QString note = document->TitleNote();
    return note.isEmpty() ? GetStringById(TextBuiltIn) : note;
}

bool TfrmMain::IsPaused() const
{
    return thread && thread->IsPaused();
}

QString TfrmMain::GetStatusText() const
{
    return lbStatus->text();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Only the first show builds the scenario; a restore from minimised does not.
    if (!event->spontaneous() && !scenario)
        FormShow();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!document->MayDiscard()) {
        event->ignore();
        return;
    }
    StopSimulation();
    QSettings settings;
    settings.setValue(WindowGeometryKey, saveGeometry());
    settings.setValue(WindowStateKey, saveState());
    QMainWindow::closeEvent(event);
}

void TfrmMain::FormShow()
{
    if (!scenarioFile.isEmpty()) {
        try {
            description = ReadScenarioFile(QFile::encodeName(scenarioFile).toStdString());
            document->Opened(scenarioFile, *description);
        } catch (const TScenarioFileError& e) {
            // The built-in move runs instead: a window that stands still helps nobody.
            refusedFile = QFileInfo(scenarioFile).fileName();
            ShowRefusal(ScenarioFaultText(e));
        }
    }
    Restart();
}

void TfrmMain::Restart()
{
    StopSimulation();
    thread.reset();
    reportedOver = false;
    // The view lets go of the old trail before it goes; the old chain, which
    // holds the view's listener, goes with its scenario and is never stepped again.
    ui->fu->SetTrail(nullptr);
    ui->fu->SetChain(nullptr);
    chain = nullptr;
    scenario.reset();
    publisher = std::make_unique<TChainPublisher>();
    ui->fu->SetPublisher(publisher.get());
    try {
        CreateScenario();
        StartSimulation();
        StartReview();
    } catch (const std::exception& e) {
        scenario.reset();
        chain = nullptr;
        ui->fu->SetTrail(nullptr);
        ShowRefusal(QString::fromLocal8Bit(e.what()));
    }
    UpdateFigures();
}

void TfrmMain::CreateScenario()
{
    scenario = description ? std::make_unique<TScenario>(*objects, *description) : std::make_unique<TScenario>(*objects);
    ShowTitle();
    document->Follow();
    chain = scenario->GetChain();
    // Read before the thread starts, so nothing steps while it is read.
    TChainState start;
    start.Read(*chain);
    legend->SetPersons(start);
    ui->fu->SetTrail(scenario->GetTrail());
    ui->fu->SetChain(chain);
    boundPerMinute = BoundPerMinute(MoveLayoutOf(*chain, *scenario->GetTrail(), scenario->GetInitialStock()));
    chart->Start(boundPerMinute, scenario->GetInitialStock());
}

void TfrmMain::StartSimulation()
{
    thread = std::make_unique<TBCThread>(true, &scenario->GetLoop(), publisher.get());
    thread->SetSpeed(speedFactor);
    ShowPaused(false);
    thread->Resume();
}

void TfrmMain::StopSimulation()
{
    if (thread)
        thread->StopAndWait();
}

void TfrmMain::ShowPaused(bool paused)
{
    ui->acSimPause->setText(GetStringById(paused ? TextContinue : TextPause));
    ui->acSimStep->setEnabled(paused);
}

void TfrmMain::UpdateFigures()
{
    const TChainState& state = publisher->Latest();
    QString text = GetStringById(TextTime) + QLatin1Char(' ') + SimulatedTime(state.step)
        + QStringLiteral("   ") + GetStringById(TextSource) + QLatin1Char(' ') + QString::number(state.stock)
        + QStringLiteral("   ") + GetStringById(TextInHands) + QLatin1Char(' ') + QString::number(state.inHands)
        + QStringLiteral("   ") + GetStringById(TextDelivered) + QLatin1Char(' ') + QString::number(state.delivered);
    // A move that is over is held at the step that ended it.
    const bool over = chain && state.outcome != TMoveOutcome::Running;
    if (over) {
        const bool finished = state.outcome == TMoveOutcome::Finished;
        const std::int64_t at = finished ? state.step : state.lastHandoverStep;
        text += QStringLiteral("   ") + GetStringById(finished ? TextFinished : TextStalled) + QLatin1Char(' ')
            + QString::number(at) + QStringLiteral(" (") + SimulatedTime(at) + QLatin1Char(')');
    }
    lbStatus->setText(text);
    if (over && !reportedOver) {
        reportedOver = true;
        report->Show(description.value_or(BuiltInMove()), state.step);
    }
    ui->acSimPause->setEnabled(!over);
    ui->acSimStep->setEnabled(!over && IsPaused());
    if (chain)
        chart->Follow(state.deliveries);
    FollowReview(state.step);
}

void TfrmMain::ConnectDockable(QAction* toggle, QWidget* dockable)
{
    connect(toggle, &QAction::toggled, dockable, &QWidget::setVisible);
    // Closed by its own button or shown by restoreState: the entry follows.
    const auto follow = [toggle, dockable] { toggle->setChecked(dockable->isVisibleTo(dockable->parentWidget())); };
    if (auto* bar = qobject_cast<QToolBar*>(dockable))
        connect(bar, &QToolBar::visibilityChanged, toggle, follow);
    if (auto* dock = qobject_cast<QDockWidget*>(dockable))
        connect(dock, &QDockWidget::visibilityChanged, toggle, follow);
}

void TfrmMain::ShowRefusal(const QString& text)
{
    QMetaObject::invokeMethod(this, [this, text] { QMessageBox::critical(this, windowTitle(), text); },
                              Qt::QueuedConnection);
}

void TfrmMain::acSimPauseExecute()
{
    if (!thread)
        return;
    const bool paused = !thread->IsPaused();
    thread->SetPaused(paused);
    ShowPaused(paused);
}

void TfrmMain::acSimStepExecute()
{
    if (thread)
        thread->StepOnce();
}

void TfrmMain::acSpeedExecute(std::int32_t factor)
{
    speedFactor = factor;
    if (thread)
        thread->SetSpeed(factor);
}

void TfrmMain::acEditPersonsExecute()
{
    OpenPersons(TChainPainter::NoSelection);
}

void TfrmMain::OpenPersons(std::int32_t selectedId)
{
    TfrmPersons persons(this);
    persons.SetManager(objects.get());
    persons.SetPublisher(publisher.get());
    persons.SelectPerson(selectedId);
    persons.exec();
}

void TfrmMain::acInfoAboutExecute()
{
    TfrmAbout about(this);
    about.exec();
}
