#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QMenu;
class QWidget;
class TMoveSession;
class TScenarioDocument;
class TfrmCompare;
class TfrmExperiment;
struct TScenarioDescription;

// Simulation → Experiment and Vergleichen: opens the experiment on the
// window's scenario, runs a result chosen there as the window's move, and
// keeps the one comparison of runs that the window's move and the
// experiment's runs are added to, run on the session's pool.
class TExperimentPresenter : public QObject
{
    Q_OBJECT

public:
    TExperimentPresenter(QWidget* window, QMenu* simulation, TMoveSession& session, TScenarioDocument& document);

    TfrmExperiment* OpenExperiment();
    // Adds the window's move, run to its end off the window's thread.
    void CompareWindowMove();
    TfrmCompare* GetCompare();

private:
    void Compare(const TScenarioDescription& scenario, const QString& name);
    // The file a sweep of the window's scenario names: its own file, none for
    // the built-in move, or a copy written for a scenario held only in memory.
    QString SweepScenarioPath(const TScenarioDescription& scenario) const;

    QWidget* window;
    TMoveSession& session;
    TScenarioDocument& document;
    QPointer<TfrmExperiment> experiment;
    QPointer<TfrmCompare> compare;
};
