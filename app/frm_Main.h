#pragma once

#include "model/clsZOManager.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenarioDescription.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QTimer;
class TBCThread;
class TBucketChain;
class TExperimentPresenter;
class TReportPresenter;
class TRunChart;
class TLegend;
class TScenario;

namespace Ui {
class frmMain;
}

// The program's one window: the chain view fills it; its menus open scenario
// files, control the run (pause, single step, speed, restart), open the
// persons dialog and the about box, and show the toolbar, the chart dock and
// the legend dock; the window's geometry and its docks are remembered.
// The status bar and the chart follow the published state. Its first show
// builds the scenario and starts the simulation thread; closing it stops the
// thread before anything the thread reaches is destroyed.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    // The speed factors of the Simulation menu, in its order.
    static constexpr std::array<std::int32_t, 5> SpeedFactors{1, 2, 5, 20, 0};

    explicit TfrmMain(QWidget* owner = nullptr);
    ~TfrmMain() override;

    // The scenario file the first show builds instead of the built-in move; a
    // file that is refused then leaves the built-in move running.
    void SetScenarioFile(const QString& path);
    // Reads the file and, if the reader accepts it, restarts on it; else
    // shows the reader's complaint in German and the running scenario goes on
    // untouched.
    bool OpenScenario(const QString& path);
    // Restarts on a scenario held in memory (a run of an experiment), named
    // in the title by name.
    void RunDescription(const TScenarioDescription& scenario, const QString& name);
    // The scenario the window runs, its file (empty for the built-in move and
    // a scenario held in memory), and its name for titles.
    TScenarioDescription GetDescription() const;
    QString GetScenarioFile() const;
    QString GetScenarioName() const;

    // For tests: the simulation is running.
    bool IsSimulating() const { return thread != nullptr; }
    bool IsPaused() const;
    TBucketChain* GetChain() const { return chain; }
    const TZOManager& GetObjects() const { return objects; }
    TChainPublisher& GetPublisher() { return *publisher; }
    QString GetStatusText() const;
    TReportPresenter& GetReport() const { return *report; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    // Stops the running scenario, builds the current one afresh and starts it
    // at the chosen speed; a scenario that cannot be built leaves the window
    // without a simulation and says why.
    void Restart();
    void CreateScenario();
    void StartSimulation();
    // Requests the thread's stop and waits for it; the scenario and the view
    // may go only after this.
    void StopSimulation();
    void ShowPaused(bool paused);
    void UpdateFigures();
    void ConnectDockable(QAction* toggle, QWidget* dockable);
    // Shows a refused file's complaint once the window is visible.
    void ShowRefusal(const QString& text);

    void acFileOpenExecute();
    void acSimPauseExecute();
    void acSimStepExecute();
    void acSpeedExecute(std::int32_t factor);
    void acEditPersonsExecute();
    void OpenPersons(std::int32_t selectedId);
    void acInfoAboutExecute();

    std::unique_ptr<Ui::frmMain> ui;
    QLabel* lbStatus = nullptr;
    TRunChart* chart = nullptr;
    TLegend* legend = nullptr;
    TReportPresenter* report = nullptr;
    TExperimentPresenter* experiments = nullptr;
    // The report shows once per run, when its move is over.
    bool reportedOver = false;
    QTimer* figuresTimer = nullptr;
    QString baseTitle;

    // What the view, the persons dialog, the status bar and the chart show;
    // one per run, outliving the thread that fills it.
    std::unique_ptr<TChainPublisher> publisher;
    std::unique_ptr<TBCThread> thread;
    TBucketChain* chain = nullptr;
    TZOManager objects;
    // Owns the scenario's objects, so that nothing is left to the leak check at exit.
    std::unique_ptr<TScenario> scenario;
    QString scenarioFile;
    // A file named on the command line that was refused: the built-in move
    // runs in its stead, and the title says so until another file opens.
    QString refusedFile;
    // The file's scenario as read; none for the built-in move.
    std::optional<TScenarioDescription> description;
    // The name of a scenario held in memory; empty when it came from scenarioFile.
    QString runName;
    std::int32_t speedFactor = 1;
};
