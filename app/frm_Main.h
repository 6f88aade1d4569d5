#pragma once

#include "model/clsZOManager.h"
#include "runtime/clsChainPublisher.h"

#include <QMainWindow>

#include <memory>

class TBCThread;
class TBucketChain;
class TScenario;

namespace Ui {
class frmMain;
}

// The program's one window: the chain view fills it; its menu opens the
// persons dialog and the about box. Its first show builds the scenario and
// starts the simulation thread; closing it stops the thread before anything
// the thread reaches is destroyed.
class TfrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TfrmMain(QWidget* owner = nullptr);
    ~TfrmMain() override;

    // The scenario file the first show builds instead of the built-in move.
    void SetScenarioFile(const QString& path);

    // For tests: the simulation is running.
    bool IsSimulating() const { return thread != nullptr; }
    TBucketChain* GetChain() const { return chain; }
    const TZOManager& GetObjects() const { return objects; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void CreateScenario();
    void StartSimulation();
    // Requests the thread's stop and waits for it; the scenario and the view
    // may go only after this.
    void StopSimulation();

    void acEditPersonsExecute();
    void acInfoAboutExecute();

    std::unique_ptr<Ui::frmMain> ui;
    // What the view and the persons dialog show; outlives the thread that fills it.
    TChainPublisher publisher;
    std::unique_ptr<TBCThread> thread;
    TBucketChain* chain = nullptr;
    TZOManager objects;
    // Owns the scenario's objects, so that nothing is left to the leak check at exit.
    std::unique_ptr<TScenario> scenario;
    QString scenarioFile;
};
