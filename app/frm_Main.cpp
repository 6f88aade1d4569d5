#include "app/frm_Main.h"

#include "ui_frm_Main.h"

#include "app/clsBookmarks.h"
#include "app/clsExperimentPresenter.h"
#include "app/clsExportMenu.h"
#include "app/clsFieldKeys.h"
#include "app/clsMoveChanges.h"
#include "app/clsMoveSession.h"
#include "app/clsReportPresenter.h"
#include "app/clsRunChart.h"
#include "app/clsScenarioDocument.h"
#include "app/clsTimelineBar.h"
#include "dialogs/clsPlacement.h"
#include "dialogs/clsStepText.h"
#include "dialogs/frm_About.h"
#include "dialogs/frm_Persons.h"
#include "model/clsMoveLoop.h"
#include "scenario/clsScenario.h"
#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"
#include "view/clsChainPainter.h"
#include "view/clsLegend.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDockWidget>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr std::int32_t TextSource = 2301;
constexpr std::int32_t TextInHands = 2302;
constexpr std::int32_t TextDelivered = 2303;
constexpr std::int32_t TextFinished = 2304;
constexpr std::int32_t TextStalled = 2390;
constexpr std::int32_t TextChart = 2330;
constexpr std::int32_t TextLegend = 2350;
constexpr std::int32_t TextSimulation = 50300;
constexpr std::int32_t TextPause = 50310;
constexpr std::int32_t TextContinue = 50311;
constexpr std::int32_t TextViewTimeline = 50431;
constexpr std::int32_t TextViewReport = 50432;

// A few times a second is live enough for figures and curves.
constexpr int FiguresInterval = 250;
// The floating legend's first height: the marks and the first persons.
constexpr int LegendHeight = 420;
const QString WindowStateKey = QStringLiteral("mainWindow/state");
const QString WindowGeometryKey = QStringLiteral("mainWindow/geometry");
// The picture keeps this much height; below it a dock gives way.
constexpr int MinimumViewHeight = 150;

// A caption without its shortcut mark, for titles.
QString Plain(std::int32_t id)
{
    return GetStringById(id).remove(QLatin1Char('&'));
}

} // namespace

TfrmMain::TfrmMain(QWidget* owner)
    : QMainWindow(owner), ui(std::make_unique<Ui::frmMain>()), session(std::make_unique<TMoveSession>())
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/zemba/ProgramIcon.png")));
    LocalizeComponent(this);
    baseTitle = windowTitle();
    ui->tbSimulation->setWindowTitle(Plain(TextSimulation));
    ui->dkChart->setWindowTitle(Plain(TextChart));
    ui->dkLegend->setWindowTitle(Plain(TextLegend));
    ui->fu->setMinimumHeight(MinimumViewHeight);
    ui->fu->SetPublisher(&session->GetPublisher());
    connect(session.get(), &TMoveSession::MoveLeaving, this, [this] {
        // The view lets go of the old trail and chain before they go.
        ui->fu->SetTrail(nullptr);
        ui->fu->SetChain(nullptr);
    });
    connect(session.get(), &TMoveSession::MoveEntered, this, &TfrmMain::FollowMove);
    connect(session.get(), &TMoveSession::BuildFailed, this, &TfrmMain::ShowRefusal);

    chart = new TRunChart(ui->dkChart);
    ui->dkChart->setWidget(chart);
    legend = new TLegend;
    report = new TReportPresenter(this, session->GetWork());
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

    document = new TScenarioDocument(*this, *session, *ui->mnuFile, *ui->acFileOpen, *ui->mnuEdit);
    connect(document, &TScenarioDocument::TitleChanged, this, &TfrmMain::ShowTitle);
    connect(document, &TScenarioDocument::FileRefused, this,
            [this](const QString& why) { QMessageBox::warning(this, baseTitle, why); });
    experiments = new TExperimentPresenter(*this, ui->mnuSimulation, *session, *document);
    exports = new TExportMenu(*this, *session, *ui->fu, *chart, *ui->mnuFile, *ui->acFileExit, *ui->mnuEdit);
    connect(ui->acFileExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->acSimPause, &QAction::triggered, this, [this] { session->SetPaused(!session->IsPaused()); });
    connect(session.get(), &TMoveSession::PausedChanged, this, &TfrmMain::ShowPaused);
    connect(ui->acSimStep, &QAction::triggered, session.get(), &TMoveSession::StepOnce);
    connect(ui->acSimRestart, &QAction::triggered, session.get(), &TMoveSession::Restart);
    connect(ui->acEditPersons, &QAction::triggered, this, [this] { OpenPersons(TChainPainter::NoSelection); });
    connect(ui->acInfoAbout, &QAction::triggered, this, [this] { TfrmAbout(this).exec(); });
    connect(ui->fu, &TframeZemba::PersonOpened, this, &TfrmMain::OpenPersons);

    auto* speeds = new QActionGroup(this);
    const std::array<QAction*, SpeedFactors.size()> speedActions{ui->acSpeed1, ui->acSpeed2, ui->acSpeed5,
                                                                  ui->acSpeed20, ui->acSpeedFast};
    for (std::size_t i = 0; i < SpeedFactors.size(); ++i) {
        speeds->addAction(speedActions[i]);
        connect(speedActions[i], &QAction::triggered, this, [this, i] { session->SetSpeed(SpeedFactors[i]); });
    }
    ui->acSpeed1->setChecked(true);
    ShowPaused(false);

    SetUpTimeline();
    bookmarks = new TBookmarks(*this, *session, *tbTimeline, *ui->mnuSimulation);
    exports->FollowMarks(*bookmarks);
    new TFieldKeys(*this, *ui->fu);
    new TMoveChanges(*this, *session, *document, *ui->fu, *ui->mnuSimulation);
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
            ui->dkLegend->move(PlaceBeside(frameGeometry(), ui->dkLegend->frameGeometry().size(),
                                           screen()->availableGeometry()).topLeft());
    });

    auto* figuresTimer = new QTimer(this);
    figuresTimer->setInterval(FiguresInterval);
    connect(figuresTimer, &QTimer::timeout, this, &TfrmMain::UpdateFigures);
    figuresTimer->start();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::SetUpTimeline()
{
    tbTimeline = new TTimelineBar(*this, *session);
    addToolBar(Qt::BottomToolBarArea, tbTimeline);
    QAction* viewTimeline = ui->mnuView->addAction(GetStringById(TextViewTimeline));
    viewTimeline->setCheckable(true);
    viewTimeline->setChecked(true);
    ConnectDockable(viewTimeline, tbTimeline);
    connect(ui->mnuView->addAction(GetStringById(TextViewReport)), &QAction::triggered, this,
            [this] { report->Show(session->GetDescription(), session->GetShownStep()); });
    connect(session.get(), &TMoveSession::CourseFound, this, &TfrmMain::ShowDueReport);
}

QString TfrmMain::GetStatusText() const
{
    return lbStatus->text();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Only the first show starts the move; a restore from minimised does not.
    if (event->spontaneous() || session->GetScenario())
        return;
    if (startFile.isEmpty())
        session->Start(std::nullopt);
    else if (const QString refusal = document->OpenAtStart(startFile); !refusal.isEmpty())
        ShowRefusal(refusal);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!document->MayDiscard() || !experiments->MayQuit()) {
        event->ignore();
        return;
    }
    session->Halt();
    QSettings settings;
    settings.setValue(WindowGeometryKey, saveGeometry());
    settings.setValue(WindowStateKey, saveState());
    QMainWindow::closeEvent(event);
}

void TfrmMain::FollowMove(bool afresh)
{
    TScenario& scenario = *session->GetScenario();
    ui->fu->SetTrail(scenario.GetTrail());
    ui->fu->SetChain(scenario.GetChain());
    chart->Start(session->GetBoundPerMinute(), scenario.GetInitialStock());
    if (afresh) {
        seenOver = false;
        reportDue = false;
        // The move's own first picture, published before it steps.
        legend->SetPersons(session->GetPublisher().Latest());
    }
    // A jump to the end is a look at it: the report comes by itself only
    // when the move plays to its end.
    seenOver = seenOver || scenario.GetLoop().IsOver();
    ShowPaused(session->IsPaused());
    UpdateFigures();
    ui->fu->timerTimer();
}

void TfrmMain::ShowTitle()
{
    const QString note = document->WindowNote();
    setWindowTitle(note.isEmpty() ? baseTitle : baseTitle + QStringLiteral(" – ") + note);
}

void TfrmMain::ShowPaused(bool paused)
{
    ui->acSimPause->setText(GetStringById(paused ? TextContinue : TextPause));
    ui->acSimStep->setEnabled(paused);
}

void TfrmMain::UpdateFigures()
{
    const TChainState& state = session->GetPublisher().Latest();
    const std::int32_t start = session->GetStartSecond();
    QString text = StepAndTimeText(state.step, start) + QStringLiteral("   ") + GetStringById(TextSource) + QLatin1Char(' ')
        + QString::number(state.stock)
        + QStringLiteral("   ") + GetStringById(TextInHands) + QLatin1Char(' ') + QString::number(state.inHands)
        + QStringLiteral("   ") + GetStringById(TextDelivered) + QLatin1Char(' ') + QString::number(state.delivered);
    // A move that is over is held at the step that ended it.
    const bool moving = session->GetScenario() != nullptr;
    const bool over = moving && state.outcome != TMoveOutcome::Running;
    if (over) {
        const bool finished = state.outcome == TMoveOutcome::Finished;
        const std::int64_t at = finished ? state.step : state.lastHandoverStep;
        text += QStringLiteral("   ") + GetStringById(finished ? TextFinished : TextStalled) + QLatin1Char(' ')
            + QString::number(at) + QStringLiteral(" (") + MoveTimeText(at, start) + QLatin1Char(')');
    }
    lbStatus->setText(text);
    if (over && !seenOver) {
        seenOver = true;
        reportDue = true;
        ShowDueReport();
    }
    ui->acSimPause->setEnabled(!over);
    ui->acSimStep->setEnabled(!over && session->IsPaused());
    if (moving)
        chart->Follow(state.deliveries);
    tbTimeline->Follow(state.step);
}

void TfrmMain::ShowDueReport()
{
    if (!reportDue || !session->GetEndReport())
        return;
    reportDue = false;
    report->Show(*session->GetEndReport());
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

void TfrmMain::OpenPersons(std::int32_t selectedId)
{
    TfrmPersons persons(this);
    KeepPlaced(persons, *this, QStringLiteral("persons"));
    const auto list = [this, &persons] {
        if (const TScenario* scenario = session->GetScenario())
            persons.SetArrivals(scenario->GetArrivals());
        persons.SetManager(&session->GetObjects());
    };
    list();
    persons.SetPublisher(&session->GetPublisher());
    persons.SelectPerson(selectedId);
    // A move put in place while the dialog is open (a quick change whose
    // field loses the focus to it, a jump) is listed in its stead at once.
    connect(session.get(), &TMoveSession::MoveEntered, &persons, list);
    persons.exec();
}
