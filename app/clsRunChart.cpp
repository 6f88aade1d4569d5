#include "app/clsRunChart.h"

#include "analysis/MoveReport.h"
#include "analysis/PlotAxes.h"
#include "dialogs/clsChartAxes.h"
#include "model/clsSimulationTime.h"
#include "strings/clsStringTable.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <QHBoxLayout>

#include <algorithm>

namespace {

constexpr std::int32_t TextDeliveredCurve = 2331;
constexpr std::int32_t TextBoundCurve = 2332;
constexpr std::int32_t TextPerMinute = 2333;
constexpr std::int32_t TextMinutes = 2334;
constexpr std::int32_t TextLoads = 2335;
constexpr std::int32_t TextLoadsPerMinute = 3302;

// Tall enough for the legend, the plot, the tick labels and the axis titles
// to stand whole side by side; the dock gives way no further.
constexpr int ChartHeight = 180;
// At most this many time ticks, so the labels never crowd.
constexpr int MostTimeTicks = 6;
constexpr int LabelPixels = 10;

QLineSeries* AddSeries(QChart& chart, std::int32_t name, const QColor& colour, Qt::PenStyle style)
{
    auto* series = new QLineSeries(&chart);
    series->setName(GetStringById(name));
    series->setPen(QPen(colour, 2, style));
    chart.addSeries(series);
    return series;
}

template <typename TAxis>
TAxis* AddAxis(QChart& chart, std::int32_t title, Qt::Alignment side)
{
    auto* axis = new TAxis(&chart);
    QFont font = axis->labelsFont();
    font.setPixelSize(LabelPixels);
    axis->setLabelsFont(font);
    axis->setTitleFont(font);
    axis->setTitleText(GetStringById(title));
    // A small chart keeps its h:mm and load figures whole rather than eliding them.
    axis->setTruncateLabels(false);
    chart.addAxis(axis, side);
    return axis;
}

// One chart of two curves over simulated minutes, the second dashed.
void MakeChart(QWidget& owner, std::int32_t curve, const QColor& colour, std::int32_t yTitle, QLineSeries*& line,
               QLineSeries*& boundLine, QCategoryAxis*& x, QValueAxis*& y)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
    QFont font = chart->legend()->font();
    font.setPixelSize(LabelPixels);
    chart->legend()->setFont(font);
    // Room on the right for the half of a time label that stands past the axis' end.
    chart->setMargins(QMargins(0, 0, 2 * LabelPixels, 0));
    line = AddSeries(*chart, curve, colour, Qt::SolidLine);
    boundLine = AddSeries(*chart, TextBoundCurve, Qt::darkGray, Qt::DashLine);
    x = AddAxis<QCategoryAxis>(*chart, TextMinutes, Qt::AlignBottom);
    y = AddAxis<QValueAxis>(*chart, yTitle, Qt::AlignLeft);
    y->setLabelFormat(QStringLiteral("%g"));
    for (QLineSeries* series : {line, boundLine}) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    auto* view = new QChartView(chart, &owner);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(ChartHeight);
    owner.layout()->addWidget(view);
}

double Minutes(std::int64_t step)
{
    return static_cast<double>(step) / StepsPerMinute;
}

} // namespace

TRunChart::TRunChart(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MakeChart(*this, TextDeliveredCurve, QColor(0, 128, 0), TextLoads, delivered, deliveredBound, deliveredTime, deliveredLoads);
    MakeChart(*this, TextPerMinute, QColor(0, 0, 255), TextLoadsPerMinute, rate, rateBound, rateTime, rateLoads);
    Start(0.0, 0);
}

void TRunChart::Start(double boundPerMinute, std::int32_t theStock)
{
    bound = boundPerMinute;
    stock = theStock;
    lastStep = -1;
    highestRate = bound;
    window.Clear();
    delivered->clear();
    rate->clear();
    deliveredBound->clear();
    rateBound->clear();
    FitAxes(0.0);
}

void TRunChart::Follow(const std::vector<TDeliveryPoint>& curve)
{
    auto next = std::upper_bound(curve.begin(), curve.end(), lastStep,
                                 [](std::int64_t step, const TDeliveryPoint& point) { return step < point.step; });
    if (next == curve.end())
        return;
    // In one go: a move put in place of another brings its whole curve, and
    // each point on its own would lay the charts out anew.
    QList<QPointF> deliveredPoints;
    QList<QPointF> ratePoints;
    for (; next != curve.end(); ++next) {
        lastStep = next->step;
        const double minutes = Minutes(next->step);
        window.Add(next->step, next->delivered);
        deliveredPoints.append({minutes, static_cast<double>(next->delivered)});
        if (next->step > 0) {
            const double perMinute = window.PerMinute();
            highestRate = std::max(highestRate, perMinute);
            ratePoints.append({minutes, perMinute});
        }
    }
    // Replacing is the series' fast way; appending redraws per point.
    delivered->replace(delivered->points() + deliveredPoints);
    rate->replace(rate->points() + ratePoints);
    FitAxes(Minutes(lastStep));
}

qsizetype TRunChart::GetPointCount() const
{
    return delivered->count();
}

QStringList TRunChart::GetTimeLabels() const
{
    return deliveredTime->categoriesLabels();
}

void TRunChart::FitAxes(double minutes)
{
    const double span = std::max(1.0, minutes);
    const double tick = TimeTickMinutes(span, MostTimeTicks);
    // Labels are made anew only when the spacing changes or a tick comes into range.
    const QStringList labels = deliveredTime->categoriesLabels();
    if (tick != tickMinutes || labels.isEmpty() || deliveredTime->endValue(labels.last()) + tick <= span) {
        tickMinutes = tick;
        for (QCategoryAxis* axis : {deliveredTime, rateTime})
            ShowTimeTicks(*axis, span, MostTimeTicks);
    }
    for (QCategoryAxis* axis : {deliveredTime, rateTime})
        axis->setRange(0.0, span);
    // What the bound could have delivered by now stands above every curve.
    const double reachable = bound > 0.0 ? std::min<double>(stock, bound * span) : stock;
    // The bound delivers the whole stock, then nothing more; its lines end
    // where the time axis does, so that no picture draws them beyond the plot.
    if (bound > 0.0) {
        deliveredBound->replace({{0.0, 0.0}, {std::min(span, stock / bound), reachable}, {span, reachable}});
        rateBound->replace({{0.0, bound}, {span, bound}});
    }
    deliveredLoads->setRange(0.0, std::max(1.0, reachable));
    rateLoads->setRange(0.0, std::max(1.0, highestRate));
    // Round figures on the scales, the ranges widened to them.
    for (QValueAxis* axis : {deliveredLoads, rateLoads})
        axis->applyNiceNumbers();
}
