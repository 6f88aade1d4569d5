#include "app/clsExperimentPresenter.h"

#include "app/clsMoveSession.h"
#include "app/clsScenarioDocument.h"
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

TExperimentPresenter::TExperimentPresenter(QWidget* owner, QMenu* simulation, TMoveSession& theSession,
                                           TScenarioDocument& theDocument)
    : QObject(owner), window(owner), session(theSession), document(theDocument)
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
    if (const QString file = document.GetFile(); !file.isEmpty())
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
        const TScenarioDescription scenario = session.GetDescription();
        experiment = new TfrmExperiment(window, scenario, SweepScenarioPath(scenario), document.GetName());
        // A run opened from the experiment is an edit of the window's move, unsaved until saved.
        connect(experiment, &TfrmExperiment::RunOpened, &document, &TScenarioDocument::Run);
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
        compare = new TfrmCompare(window, session.GetWork());
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
    const TScenarioDescription scenario = session.GetDescription();
    Compare(scenario, GetStringById(TextRunName).arg(document.GetName()).arg(scenario.seed));
}
