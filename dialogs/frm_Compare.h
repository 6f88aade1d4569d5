#pragma once

#include "analysis/DeliveryCurve.h"
#include "dialogs/clsJobPool.h"
#include "scenario/clsScenarioDescription.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <vector>

class QChart;
class QChartView;

namespace Ui {
class TfrmCompare;
}

// Runs side by side: loads delivered against simulated time, one curve per
// run named by its scenario and seed, each with its throughput bound dashed
// in its colour. Holds up to MostCurves; a further one pushes out the oldest.
// Where every run shown starts at the same clock time, the time goes by the clock.
// A run added is run headless on the pool given, to its end; the runs still
// under way are given up when the dialog goes.
class TfrmCompare : public QDialog
{
    Q_OBJECT

public:
    static constexpr std::size_t MostCurves = 8;

    // The pool outlives the dialog or stops first.
    TfrmCompare(QWidget* owner, TJobPool& work);
    ~TfrmCompare() override;

    // Runs the scenario and adds its curve when it is over.
    void AddRun(const TScenarioDescription& scenario, const QString& name);
    // Adds a curve already run, of a move starting by the clock at startSecond (below 0: none).
    void AddCurve(const TDeliveryCurve& curve, const QString& name, std::int32_t startSecond = -1);
    std::size_t GetCurveCount() const { return curves.size(); }
    // Runs still under way.
    int GetPending() const { return pending; }
    QChart* GetChart() const { return chart; }

    bool ExportPicture(const QString& path);
    bool ExportCsv(const QString& path);
    // The CSV's text: curve, name, step, time, delivered, one row per point.
    std::string CsvText() const;

private:
    // Asks for a file and writes the chart there as a picture or as CSV.
    void AskExport(std::int32_t filter, bool csv);
    void ShowPending();
    void Redraw();

    struct TCurve
    {
        QString name;
        TDeliveryCurve curve;
        std::int32_t startSecond = -1;
    };
    std::unique_ptr<Ui::TfrmCompare> ui;
    std::vector<TCurve> curves;
    QChart* chart = nullptr;
    QChartView* view = nullptr;
    TJobPool& work;
    // The runs under way.
    std::vector<TJobPool::TFlag> running;
    int pending = 0;
};
