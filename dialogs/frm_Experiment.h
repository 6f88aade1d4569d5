#pragma once

#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"
#include "scenario/clsScenarioDescription.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TExperimentRun;

namespace Ui {
class TfrmExperiment;
}

// Simulation → Experiment: up to two fields of a scenario varied over values
// and seeds, run on every core through the sweep engine of zemba-run,
// answered as a table per combination, a table of the runs and a chart. Not
// modal: the move in the window goes on behind it. Closed, it is only
// hidden: its set-up, runs and answer stay and a sweep under way goes on. It
// writes the CSV that zemba-run --sweep writes for the same sweep file, and
// the sweep file.
class TfrmExperiment : public QDialog
{
    Q_OBJECT

public:
    // scenarioPath: the file the sweep names; empty for the built-in move,
    // which it names by leaving it out, and any other scenario, which it holds.
    TfrmExperiment(QWidget* owner, const TScenarioDescription& scenario, const QString& scenarioPath,
                   const QString& scenarioName);
    ~TfrmExperiment() override;

    // The sweep file of the set-up as it stands, and its plan; nothing, with
    // the German reason, when the set-up cannot run.
    std::optional<std::string> GetSweepText(QString* reason = nullptr) const;
    std::optional<TSweepPlan> GetPlan(QString* reason = nullptr) const;
    // Starts the set-up's sweep on jobs threads (0: every core); false,
    // saying why, when it cannot run.
    bool Start(unsigned jobs = 0);
    // Stops starting runs; the runs finished are kept, whole.
    void Cancel();
    // From the start until the dialog has shown the last of its rows.
    bool IsRunning() const;
    // The CSV as written so far: header and whole rows.
    std::string GetCsv() const { return csv; }
    bool SaveCsv(const QString& path);
    bool SaveSweep(const QString& path);
    // The summary per combination as zemba-run --sweep-report --summary-csv writes it.
    bool SaveSummary(const QString& path);
    // The CSV and, beside it, its sweep file, the pair that OpenResult reads back.
    bool SaveResult(const QString& csvPath);
    // Rows run, or read, that are in no file since.
    bool HasUnsavedResult() const;
    // Asks before a sweep under way or rows not saved are lost: true once
    // they are saved or may go (a sweep under way is cancelled then), or if
    // nothing would be lost; false if the user keeps them.
    bool MayDiscard();
    const TScenarioDescription& GetScenario() const { return scenario; }
    // Reads a sweep file and the CSV of its run back: its scenario, its
    // set-up, its tables and its chart. False, saying why, for a sweep file
    // the reader refuses or a CSV that is not that sweep's.
    bool OpenResult(const QString& sweepPath, const QString& csvPath);
    // The scenario and the window's name of a run of the sweep shown.
    std::pair<TScenarioDescription, QString> RunOf(std::size_t run) const;

signals:
    // Open this run as the move in the window.
    void RunOpened(const TScenarioDescription& scenario, const QString& name);
    // Add this run to the comparison.
    void CompareRequested(const TScenarioDescription& scenario, const QString& name);
    // Four times a second while a sweep runs, and once when it is over.
    void RunsProgressed(std::size_t done, std::size_t total, bool over);

private:
    void ConnectResults();
    void ConnectButtons();
    void SetScenario(const TScenarioDescription& scenario, const std::string& path, const QString& name);
    void ShowSetup(const TSweepPlan& shown);
    void UpdateRunCount();
    void ShowProgress(std::size_t done, std::size_t total, double seconds);
    void ShowOver(std::size_t done, std::size_t total, double seconds);
    void ShowResult(const std::string& rows);
    void ShowTables();
    // Says why something was refused, without waiting for the answer.
    void Refuse(const QString& text);
    QString FieldName(const std::string& pointer) const;
    // The deadline field as steps after the start; nothing while it holds no
    // h:mm:ss (a clock time where the scenario has a start).
    std::optional<std::int64_t> Deadline() const;
    void OpenRun(std::size_t run);
    std::optional<std::size_t> SelectedRun() const;
    // The sweep file that SaveSweep writes; nothing, saying why, if the set-up cannot run.
    std::optional<std::string> SweepToSave();
    void AskStart();
    bool AskSaveResult();
    void AskSaveSweep();
    void AskSaveSummary();
    void AskOpen();
    // Where a question goes: over the dialog, or over the window while the dialog is hidden.
    QWidget* Asker();

    std::unique_ptr<Ui::TfrmExperiment> ui;
    TScenarioDescription scenario;
    std::string scenarioPath;
    QString scenarioName;

    // The sweep shown: its plan, its file's text (the hash column is over
    // these bytes), its CSV so far and that CSV read as the report reads it.
    std::optional<TSweepPlan> plan;
    std::string sweepText;
    std::string csv;
    // The CSV as last saved or read.
    std::string savedCsv;
    TSweepTable table;
    std::vector<TSweepGroup> groups;
    // The sweep started last; a child of the dialog.
    TExperimentRun* sweep = nullptr;
};
