#pragma once

#include "analysis/SweepJob.h"
#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"
#include "analysis/SweepSetup.h"
#include "scenario/clsScenarioDescription.h"

#include <QDialog>
#include <QElapsedTimer>

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTimer;
class TExperimentChart;

// Simulation → Experiment: up to two fields of the window's scenario varied
// over values and seeds, run on every core through the sweep engine of
// zemba-run, answered as a table per combination, a table of the runs and a
// chart. Not modal: the move in the window goes on behind it. It writes the
// CSV zemba-run --sweep writes for the same sweep file, and the sweep file.
class TfrmExperiment : public QDialog
{
    Q_OBJECT

public:
    // scenarioPath: the file the sweep names; empty for the built-in move.
    TfrmExperiment(QWidget* owner, const TScenarioDescription& scenario, const QString& scenarioPath,
                   const QString& scenarioName);
    ~TfrmExperiment() override;

    // The sweep file of the setup as it stands, and its plan; nothing, with
    // the German reason, when the setup cannot run.
    std::optional<std::string> GetSweepText(QString* reason = nullptr) const;
    std::optional<TSweepPlan> GetPlan(QString* reason = nullptr) const;
    // Starts the setup's sweep; false, saying why, when it cannot run.
    bool Start(unsigned jobs = 0);
    void Cancel();
    bool IsRunning() const { return job && !job->IsDone(); }
    // Shows a sweep and its rows, as run or as read back.
    void ShowResult(const TSweepPlan& plan, const std::string& csv);
    // The CSV as written so far: header and whole rows.
    std::string GetCsv() const { return csv; }
    bool SaveCsv(const QString& path);
    bool SaveSweep(const QString& path);
    // Reads a sweep file and the CSV of its run back into the tables and chart.
    bool OpenResult(const QString& sweepPath, const QString& csvPath);

    // For tests: the setup's widgets, per varied value.
    struct TAxisWidgets
    {
        QComboBox* field = nullptr;
        QRadioButton* range = nullptr;
        QLineEdit* from = nullptr;
        QLineEdit* to = nullptr;
        QLineEdit* step = nullptr;
        QLineEdit* list = nullptr;
    };
    TAxisWidgets& GetAxis(int i) { return axes[static_cast<std::size_t>(i)]; }
    QSpinBox* GetSeedFrom() const { return seedFrom; }
    QSpinBox* GetSeedCount() const { return seedCount; }
    QSpinBox* GetMaxSteps() const { return maxSteps; }
    QTableWidget* GetGroupTable() const { return groupTable; }
    QTableWidget* GetRunTable() const { return runTable; }
    TExperimentChart* GetChart() const { return chart; }
    // The scenario and the window's name of a run of the sweep shown.
    std::pair<TScenarioDescription, QString> RunOf(std::size_t run) const;

signals:
    // Open this run as the move in the window.
    void RunOpened(const TScenarioDescription& scenario, const QString& name);
    // Add this run to the comparison.
    void CompareRequested(const TScenarioDescription& scenario, const QString& name);

private:
    QWidget* BuildSetup();
    void UpdateRunCount();
    void Poll();
    void ShowTables();
    void Refuse(const QString& text);
    QString FieldName(const std::string& pointer) const;
    void OpenRun(std::size_t run);
    std::optional<std::size_t> SelectedRun() const;

    TScenarioDescription scenario;
    std::string scenarioPath;
    QString scenarioName;
    std::vector<TSweepField> fields;

    std::array<TAxisWidgets, 2> axes;
    QSpinBox* seedFrom = nullptr;
    QSpinBox* seedCount = nullptr;
    QSpinBox* maxSteps = nullptr;
    QLabel* runCount = nullptr;
    QPushButton* btStart = nullptr;
    QPushButton* btCancel = nullptr;
    QPushButton* btSave = nullptr;
    QPushButton* btCompare = nullptr;
    QProgressBar* progress = nullptr;
    QLabel* progressText = nullptr;
    QCheckBox* personHours = nullptr;
    QTableWidget* groupTable = nullptr;
    QTableWidget* runTable = nullptr;
    TExperimentChart* chart = nullptr;
    QTimer* pollTimer = nullptr;

    // The sweep shown: its plan, its file's text (the hash column is over
    // these bytes), its CSV so far and that CSV read as the report reads it.
    std::optional<TSweepPlan> plan;
    std::string sweepText;
    std::string csv;
    TSweepTable table;
    std::vector<TSweepGroup> groups;
    std::unique_ptr<TSweepJob> job;
    QElapsedTimer clock;
    QElapsedTimer redrawn;
};
