#include "app/clsExperimentPresenter.h"

#include "app/clsMoveSession.h"
#include "app/clsScenarioDocument.h"
#include "dialogs/clsPlacement.h"
#include "dialogs/frm_Compare.h"
#include "dialogs/frm_Experiment.h"
#include "strings/clsStringTable.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

namespace {

constexpr std::int32_t TextExperiment = 50350;
constexpr std::int32_t TextCompare = 50351;
constexpr std::int32_t TextRunName = 2764;
constexpr std::int32_t TextExperimentRunning = 3100;
constexpr std::int32_t TextExperimentFinished = 3101;
constexpr std::int32_t TextExperimentCancelled = 3102;
constexpr std::int32_t TextOtherScenario = 3113;
constexpr std::int32_t TextNewExperiment = 3114;
constexpr std::int32_t TextKeepExperiment = 3115;

QString Plain(std::int32_t id)
{
    return GetStringById(id).remove(QLatin1Char('&'));
}

} // namespace

TExperimentPresenter::TExperimentPresenter(QMainWindow& owner, QMenu* simulation, TMoveSession& theSession,
                                           TScenarioDocument& theDocument)
    : QObject(&owner), window(owner), session(theSession), document(theDocument)
{
    simulation->addSeparator();
    auto* experimentAction = simulation->addAction(GetStringById(TextExperiment));
    experimentAction->setObjectName(QStringLiteral("acSimExperiment"));
    connect(experimentAction, &QAction::triggered, this, &TExperimentPresenter::OpenExperiment);
    auto* compareAction = simulation->addAction(GetStringById(TextCompare));
    compareAction->setObjectName(QStringLiteral("acSimCompare"));
    connect(compareAction, &QAction::triggered, this, &TExperimentPresenter::CompareWindowMove);
    lbRuns = new QLabel(&window);
    lbRuns->setObjectName(QStringLiteral("lbExperimentRuns"));
    window.statusBar()->addPermanentWidget(lbRuns);
    lbRuns->hide();
}

TfrmExperiment* TExperimentPresenter::OpenExperiment()
{
    const TScenarioDescription scenario = session.GetDescription();
    if (experiment && WantsNewExperiment(scenario) && experiment->MayDiscard())
        delete experiment;
    if (!experiment) {
        // The sweep names the window's file; a scenario in no file it holds itself.
        const QString file = document.GetFile();
        experiment = new TfrmExperiment(&window, scenario, file.isEmpty() ? file : QFileInfo(file).absoluteFilePath(),
                                        document.GetName());
        KeepPlaced(*experiment, window, QStringLiteral("experiment"));
        connect(experiment, &TfrmExperiment::RunOpened, this, &TExperimentPresenter::OpenRun);
        connect(experiment, &TfrmExperiment::CompareRequested, this, &TExperimentPresenter::Compare);
        connect(experiment, &TfrmExperiment::RunsProgressed, this, &TExperimentPresenter::ShowRuns);
    }
    lbRuns->hide();
    experiment->show();
    experiment->raise();
    experiment->activateWindow();
    return experiment;
}

bool TExperimentPresenter::WantsNewExperiment(const TScenarioDescription& scenario)
{
    if (experiment->IsRunning() || scenario == experiment->GetScenario() || scenario == runOpened)
        return false;
    QMessageBox question(QMessageBox::Question, Plain(TextExperiment),
                         GetStringById(TextOtherScenario).arg(experiment->windowTitle(), document.GetName()),
                         QMessageBox::NoButton, &window);
    QPushButton* fresh = question.addButton(GetStringById(TextNewExperiment), QMessageBox::AcceptRole);
    QPushButton* keep = question.addButton(GetStringById(TextKeepExperiment), QMessageBox::RejectRole);
    question.setDefaultButton(keep);
    question.setEscapeButton(keep);
    question.exec();
    return question.clickedButton() == fresh;
}

void TExperimentPresenter::OpenRun(const TScenarioDescription& scenario)
{
    document.Replace(scenario);
    if (session.GetDescription() == scenario)
        runOpened = scenario;
}

void TExperimentPresenter::ShowRuns(std::size_t done, std::size_t total, bool over)
{
    const std::int32_t text = !over ? TextExperimentRunning : done == total ? TextExperimentFinished : TextExperimentCancelled;
    lbRuns->setText(GetStringById(text).arg(done).arg(total));
    // Beside the experiment the status bar need not say it again.
    lbRuns->setVisible(!experiment || !experiment->isVisible());
}

QString TExperimentPresenter::GetStatusText() const
{
    return lbRuns->isVisibleTo(&window) ? lbRuns->text() : QString();
}

bool TExperimentPresenter::MayQuit()
{
    return !experiment || experiment->MayDiscard();
}

TfrmCompare* TExperimentPresenter::GetCompare()
{
    if (!compare) {
        compare = new TfrmCompare(&window, session.GetWork());
        compare->setAttribute(Qt::WA_DeleteOnClose);
        KeepPlaced(*compare, window, QStringLiteral("compare"));
    }
    compare->show();
    compare->raise();
    return compare;
}

void TExperimentPresenter::Compare(const TScenarioDescription& scenario, const QString& name)
{
    GetCompare()->AddRun(scenario, name);
}

void TExperimentPresenter::CompareWindowMove()
{
    const TScenarioDescription scenario = session.GetDescription();
    Compare(scenario, GetStringById(TextRunName).arg(document.GetName()).arg(scenario.seed));
}
