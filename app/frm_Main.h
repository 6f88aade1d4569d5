#pragma once

#include "model/clsZOManager.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenarioDescription.h"

#include <QMainWindow>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QTimer;
class QToolBar;
class TBCThread;
class TBucketChain;
class TExperimentPresenter;
class TReportPresenter;
class TRunChart;
class TLegend;
class TScenario;
class TScenarioDocument;
class TMoveJumper;
class TTimeline;
struct TSteppedMove;

namespace Ui {
class frmMain;
}

// The program's one window: the chain view fills it; its menus open, edit
// and save scenario files (TScenarioDocument), control the run (pause, single step, speed, restart), open the
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
    // Starts the description afresh, as edited in the window or opened from
    // an experiment; path is the file it belongs to, empty for none.
    void RunDescription(const TScenarioDescription& edited, const QString& path);
    // The program's name, with the document's note or the refused file's.
    void ShowTitle();
    TScenarioDocument& GetDocument() const { return *document; }
    // The file the running move is, unedited; empty for any other move.
    QString GetScenarioFile() const;
    // The running move's name for titles: its file, "unbenannt" or the built-in move.
    QString GetScenarioName() const;

    // For tests: the simulation is running.
    bool IsSimulating() const { return thread != nullptr; }
    bool IsPaused() const;
    TBucketChain* GetChain() const { return chain; }
    const TZOManager& GetObjects() const { return *objects; }
    TChainPublisher& GetPublisher() { return *publisher; }
    QString GetStatusText() const;
    TReportPresenter& GetReport() const { return *report; }

    // Reviewing the move (frm_MainReview.cpp). The move in the window goes to
    // exactly the chain at a step, paused or running as it was; jumps
    // coalesce and never hold up the window.
    void JumpTo(std::int64_t step);
    bool IsJumping() const;
    // The step the window shows, or is on its way to.
    std::int64_t GetShownStep();
    TTimeline& GetTimeline() const { return *timeline; }
    // The scenario in the window, as a description.
    TScenarioDescription GetDescription() const;
    // Exports as the menu's entries make them, without their dialogs: an
    // empty answer, or the German message. The view at the picture's size
    // unless another is given.
    QString ExportView(const QString& path, QSize size = {});
    QString ExportChart(const QString& path);
    QString ExportSeries(const QString& path);
    void CopyView();

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

    void acSimPauseExecute();
    void acSimStepExecute();
    void acSpeedExecute(std::int32_t factor);
    void acEditPersonsExecute();
    void OpenPersons(std::int32_t selectedId);
    void acInfoAboutExecute();

    void SetUpReview();
    // A fresh move: jumps in its scenario, and its course run in the background.
    void StartReview();
    void JumpBy(std::int64_t steps);
    // The timeline's knob follows the step shown unless a jump is on its way.
    void FollowReview(std::int64_t step);
    // Puts a move built by the jumper in place of the running one.
    void ReplaceMove(std::unique_ptr<TSteppedMove> move);
    void acExportViewExecute();
    // Asks for a file of the filter's kinds and writes it, saying why when it could not.
    void AskAndExport(std::int32_t filterId, QString (TfrmMain::*write)(const QString&));
    // The trace and the report take a run of their own: written in the background.
    void ExportInBackground(const QString& path, std::function<QString()> write);
    QString SaveFileName(std::int32_t filterId);

    std::unique_ptr<Ui::frmMain> ui;
    QLabel* lbStatus = nullptr;
    TRunChart* chart = nullptr;
    TLegend* legend = nullptr;
    TReportPresenter* report = nullptr;
    TScenarioDocument* document = nullptr;
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
    // Swapped with the scenario filed in it when the move is replaced.
    std::unique_ptr<TZOManager> objects = std::make_unique<TZOManager>();
    // Owns the scenario's objects, so that nothing is left to the leak check at exit.
    std::unique_ptr<TScenario> scenario;
    QString scenarioFile;
    // A file named on the command line that was refused: the built-in move
    // runs in its stead, and the title says so until another file opens.
    QString refusedFile;
    // The file's scenario as read; none for the built-in move.
    std::optional<TScenarioDescription> description;
    std::int32_t speedFactor = 1;
    // The bound as the chart shows it.
    double boundPerMinute = 0.0;

    QToolBar* tbTimeline = nullptr;
    TTimeline* timeline = nullptr;
    TMoveJumper* jumper = nullptr;
    // Tells the course run of the move before to give up.
    std::shared_ptr<std::atomic<bool>> courseCancel;
};
