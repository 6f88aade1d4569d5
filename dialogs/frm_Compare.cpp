#include "dialogs/frm_Compare.h"

#include "analysis/MoveReport.h"
#include "analysis/PictureFile.h"
#include "analysis/PlotColours.h"
#include "dialogs/clsChartAxes.h"
#include "dialogs/clsChartPicture.h"
#include "dialogs/clsExperimentTables.h"
#include "dialogs/clsSaveDialog.h"
#include "model/clsSimulationTime.h"
#include "strings/clsStringTable.h"
#include "strings/clsStringsForVCLControls.h"
#include "ui_frm_Compare.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QFutureWatcher>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMessageBox>
#include <QPainter>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr std::int32_t TextDeliveredAxis = 2771;
constexpr std::int32_t TextTimeAxis = 2772;
constexpr std::int32_t TextClockAxis = 3842;
constexpr std::int32_t TextPending = 2777;
constexpr std::int32_t TextNotWritten = 2761;
constexpr std::int32_t TextPngFiles = 2778;
constexpr std::int32_t TextSvgFiles = 2779;
constexpr std::int32_t TextExperimentCsvFiles = 2759;
// At most this many parts along each axis, so that the labels never crowd.
constexpr int MostTimeTicks = 8;
constexpr int MostLoadTicks = 6;

// A run that never ends is cut off where a sweep's would be by default.
constexpr std::int64_t MostSteps = 5'000'000;
static_assert(TfrmCompare::MostCurves <= CategoryColours.size(), "every curve shown has a colour of its own");

} // namespace

TfrmCompare::TfrmCompare(QWidget* owner, TJobPool& theWork)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmCompare>()), chart(new QChart), work(theWork)
{
    ui->setupUi(this);
    LocalizeComponent(this);
    chart->legend()->setAlignment(Qt::AlignBottom);
    view = new QChartView(chart, ui->pnlChart);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(ui->pnlChart);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    connect(ui->btPng, &QPushButton::clicked, this, [this] { AskExport(TextPngFiles, false); });
    connect(ui->btSvg, &QPushButton::clicked, this, [this] { AskExport(TextSvgFiles, false); });
    connect(ui->btCsv, &QPushButton::clicked, this, [this] { AskExport(TextExperimentCsvFiles, true); });
    connect(ui->btClear, &QPushButton::clicked, this, [this] {
        curves.clear();
        Redraw();
    });
    Redraw();
}

TfrmCompare::~TfrmCompare()
{
    for (const TJobPool::TFlag& run : running)
        *run = true;
    // The runs stop at their flags and end before their watchers go.
    for (QFutureWatcherBase* watcher : findChildren<QFutureWatcherBase*>(Qt::FindDirectChildrenOnly))
        watcher->waitForFinished();
}

void TfrmCompare::AddRun(const TScenarioDescription& scenario, const QString& name)
{
    ++pending;
    ShowPending();
    auto job = work.Run([scenario](const std::atomic<bool>& stop) { return DeliveryCurveOf(scenario, MostSteps, stop); });
    running.push_back(job.cancel);
    auto* watcher = new QFutureWatcher<TDeliveryCurve>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, name, start = scenario.startSecond, cancel = job.cancel] {
        watcher->deleteLater();
        std::erase(running, cancel);
        --pending;
        ShowPending();
        // A run given up has no curve worth drawing.
        if (!*cancel)
            AddCurve(watcher->result(), name, start);
    });
    watcher->setFuture(job.future);
}

void TfrmCompare::ShowPending()
{
    ui->lbPending->setText(pending > 0 ? GetStringById(TextPending).arg(pending) : QString());
}

void TfrmCompare::AskExport(std::int32_t filter, bool csv)
{
    const QString path = AskSaveFileName(this, windowTitle(), QString(), GetStringById(filter));
    if (!path.isEmpty() && !(csv ? ExportCsv(path) : ExportPicture(path)))
        QMessageBox::warning(this, windowTitle(), GetStringById(TextNotWritten).arg(path));
}

void TfrmCompare::AddCurve(const TDeliveryCurve& curve, const QString& name, std::int32_t startSecond)
{
    if (curves.size() == MostCurves)
        curves.erase(curves.begin());
    curves.push_back({name, curve, startSecond});
    Redraw();
}

void TfrmCompare::Redraw()
{
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    // One clock for all, or the time since each run's start.
    const std::int32_t start = !curves.empty() && std::ranges::all_of(curves, [&](const TCurve& c) {
        return c.startSecond == curves.front().startSecond;
    }) ? curves.front().startSecond : -1;
    auto* time = new QCategoryAxis;
    time->setTitleText(GetStringById(start >= 0 ? TextClockAxis : TextTimeAxis));
    auto* loads = new QValueAxis;
    loads->setTitleText(GetStringById(TextDeliveredAxis));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(loads, Qt::AlignLeft);
    double right = 0.0;
    std::int32_t top = 0;
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const TDeliveryCurve& c = curves[i].curve;
        const QColor colour = QColor::fromRgb(CategoryRgb(i));
        auto* line = new QLineSeries;
        line->setName(curves[i].name);
        line->setPen(QPen(colour, 2.0));
        for (const TDeliveryPoint& p : c.points)
            line->append(static_cast<double>(p.step) / StepsPerMinute, p.delivered);
        auto* bound = new QLineSeries;
        QPen dashed(colour, 1.2, Qt::DashLine);
        bound->setPen(dashed);
        if (c.boundPerMinute > 0.0)
            bound->append({QPointF(0.0, 0.0), QPointF(c.stock / c.boundPerMinute, c.stock)});
        for (QLineSeries* s : {line, bound}) {
            chart->addSeries(s);
            s->attachAxis(time);
            s->attachAxis(loads);
        }
        for (QLegendMarker* marker : chart->legend()->markers(bound))
            marker->setVisible(false);
        if (!c.points.empty())
            right = std::max(right, static_cast<double>(c.points.back().step) / StepsPerMinute);
        top = std::max(top, c.stock);
    }
    ShowTimeTicks(*time, right > 0.0 ? right : 1.0, MostTimeTicks, start);
    ShowCountTicks(*loads, top > 0 ? top : 1, MostLoadTicks);
}

bool TfrmCompare::ExportPicture(const QString& path)
{
    std::string error;
    return WritePicture(ChartsPicture(*ui->pnlChart, windowTitle()), QFile::encodeName(path).toStdString(), error);
}

std::string TfrmCompare::CsvText() const
{
    std::string text = "curve,name,step,time,delivered\n";
    for (std::size_t i = 0; i < curves.size(); ++i) {
        // A name's commas and quotes stay inside its quoted field.
        std::string name = "\"";
        for (const char ch : curves[i].name.toStdString())
            name += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        name += "\"";
        for (const TDeliveryPoint& p : curves[i].curve.points)
            text += std::to_string(i + 1) + "," + name + "," + std::to_string(p.step) + "," + FormatSimulatedTime(p.step)
                + "," + std::to_string(p.delivered) + "\n";
    }
    return text;
}

bool TfrmCompare::ExportCsv(const QString& path)
{
    return WriteWhole(path, QByteArray::fromStdString(CsvText()));
}
