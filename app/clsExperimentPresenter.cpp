#include "app/clsExperimentPresenter.h"

#include "app/frm_Main.h"
#include "dialogs/clsExperimentTables.h"
#include "dialogs/frm_Compare.h"
#include "dialogs/frm_Experiment.h"
#include "scenario/clsScenarioFile.h"
#include "strings/clsStringTable.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

namespace {

constexpr std::int32_t TextExperiment = 50350;
constexpr std::int32_t TextCompare = 50351;
constexpr std::int32_t TextRunName = 2764;

} // namespace

TExperimentPresenter::TExperimentPresenter(TfrmMain* owner, QMenu* simulation) : QObject(owner), main(owner)
{
    simulation->addSeparator();
    auto* experimentAction = simulation->addAction(GetStringById(TextExperiment));
    experimentAction->setObjectName(QStringLiteral("acSimExperiment"));
    connect(experimentAction, &QAction::triggered, this, &TExperimentPresenter::OpenExperiment);
    auto* compareAction = simulation->addAction(GetStringById(TextCompare));
    compareAction->setObjectName(QStringLiteral("acSimCompare"));
    connect(compareAction, &QAction::triggered, this, &TExperimentPresenter::CompareWindowMove);
}

QString TExperimentPresenter::SweepScenarioPath(const TScenarioDescription& scenario) const
{
    if (const QString file = main->GetScenarioFile(); !file.isEmpty())
        return QFileInfo(file).absoluteFilePath();
    if (scenario == BuiltInMove())
        return {};
    // Named by its content, so that the same scenario gives the same sweep file and hash.
    const std::string text = WriteScenario(scenario);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/experiments");
    const QString path = folder + QStringLiteral("/scenario-")
        + QString::fromLatin1(QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha256).toHex().left(16))
        + QStringLiteral(".json");
    QDir().mkpath(folder);
    // One that cannot be written leaves the sweep to refuse the missing file, in words.
    WriteWhole(path, QByteArray::fromStdString(text));
    return path;
}

TfrmExperiment* TExperimentPresenter::OpenExperiment()
{
    if (!experiment) {
        const TScenarioDescription scenario = main->GetDescription();
        experiment = new TfrmExperiment(main, scenario, SweepScenarioPath(scenario), main->GetScenarioName());
        // A run opened from the experiment is an edit of the window's move, unsaved until saved.
        connect(experiment, &TfrmExperiment::RunOpened, main,
                [main = main](const TScenarioDescription& run) { main->RunDescription(run, QString()); });
        connect(experiment, &TfrmExperiment::CompareRequested, this, &TExperimentPresenter::Compare);
    }
    experiment->show();
    experiment->raise();
    experiment->activateWindow();
    return experiment;
}

TfrmCompare* TExperimentPresenter::GetCompare()
{
    if (!compare) {
        compare = new TfrmCompare(main);
        compare->setAttribute(Qt::WA_DeleteOnClose);
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
    const TScenarioDescription scenario = main->GetDescription();
    Compare(scenario, GetStringById(TextRunName).arg(main->GetScenarioName()).arg(scenario.seed));
}
