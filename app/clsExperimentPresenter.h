#pragma once

#include "scenario/clsScenarioDescription.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstddef>
#include <optional>

class QLabel;
class QMainWindow;
class QMenu;
class TMoveSession;
class TScenarioDocument;
class TfrmCompare;
class TfrmExperiment;

// Simulation → Experiment and Vergleichen: keeps the one experiment, hidden
// when closed and shown again as it was, with its progress in the window's
// status bar while it runs; runs a result chosen there as the window's move,
// asking first as Neu does; and keeps the one comparison of runs that the
// window's move and the experiment's runs are added to, run on the
// session's pool.
class TExperimentPresenter : public QObject
{
    Q_OBJECT

public:
    TExperimentPresenter(QMainWindow& window, QMenu* simulation, TMoveSession& session, TScenarioDocument& document);

    // The experiment kept, shown; a new one on the window's scenario if there
    // is none, or if the user would rather have one than the one kept for
    // another scenario.
    TfrmExperiment* OpenExperiment();
    // Adds the window's move, run to its end off the window's thread.
    void CompareWindowMove();
    TfrmCompare* GetCompare();
    // Asks before quitting loses a sweep under way or rows not saved.
    bool MayQuit();
    QString GetStatusText() const;

private:
    void Compare(const TScenarioDescription& scenario, const QString& name);
    void OpenRun(const TScenarioDescription& scenario);
    // The experiment kept varies another scenario than the window's move:
    // true if the user wants a new one on the window's.
    bool WantsNewExperiment(const TScenarioDescription& scenario);
    void ShowRuns(std::size_t done, std::size_t total, bool over);

    QMainWindow& window;
    TMoveSession& session;
    TScenarioDocument& document;
    QPointer<TfrmExperiment> experiment;
    QPointer<TfrmCompare> compare;
    QLabel* lbRuns = nullptr;
    // The run opened from the experiment last: the window's move is then its, not another scenario.
    std::optional<TScenarioDescription> runOpened;
};
