#include "app/clsRunChart.h"

#include "analysis/MoveReport.h"
#include "strings/clsStringTable.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <QHBoxLayout>

#include <algorithm>

namespace {

constexpr std::int32_t TextDelivered = 2331;
constexpr std::int32_t TextBound = 2332;
constexpr std::int32_t TextPerMinute = 2333;
constexpr std::int32_t TextMinutes = 2334;
constexpr std::int32_t TextLoads = 2335;

constexpr int ChartHeight = 200;
constexpr int LabelPixels = 10;

QLineSeries* AddSeries(QChart& chart, std::int32_t name, const QColor& colour, Qt::PenStyle style)
{
    auto* series = new QLineSeries(&chart);
    series->setName(GetStringById(name));
    series->setPen(QPen(colour, 2, style));
    chart.addSeries(series);
    return series;
}

QValueAxis* AddAxis(QChart& chart, std::int32_t title, Qt::Alignment side)
{
    auto* axis = new QValueAxis(&chart);
    QFont font = axis->labelsFont();
    font.setPixelSize(LabelPixels);
    axis->setLabelsFont(font);
    axis->setTitleFont(font);
    axis->setTitleText(GetStringById(title));
    axis->setLabelFormat(QStringLiteral("%g"));
    chart.addAxis(axis, side);
    return axis;
}

// One chart of two curves over simulated minutes, the second dashed.
void MakeChart(QWidget& owner, std::int32_t curve, const QColor& colour, std::int32_t yTitle, QLineSeries*& line,
               QLineSeries*& boundLine, QValueAxis*& x, QValueAxis*& y)
{
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignTop);
    QFont font = chart->legend()->font();
    font.setPixelSize(LabelPixels);
    chart->legend()->setFont(font);
    chart->setMargins(QMargins(0, 0, 0, 0));
    line = AddSeries(*chart, curve, colour, Qt::SolidLine);
    boundLine = AddSeries(*chart, TextBound, Qt::darkGray, Qt::DashLine);
    x = AddAxis(*chart, TextMinutes, Qt::AlignBottom);
    y = AddAxis(*chart, yTitle, Qt::AlignLeft);
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
    return static_cast<double>(step) / TMoveReport::StepsPerMinute;
}

} // namespace

TRunChart::TRunChart(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    MakeChart(*this, TextDelivered, QColor(0, 128, 0), TextLoads, delivered, deliveredBound, deliveredTime, deliveredLoads);
    MakeChart(*this, TextPerMinute, QColor(0, 0, 255), TextPerMinute, rate, rateBound, rateTime, rateLoads);
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
    if (bound > 0.0) {
        // The bound delivers the whole stock, then nothing more.
        constexpr double Far = 1.0e6;
        deliveredBound->append({{0.0, 0.0}, {stock / bound, static_cast<double>(stock)}, {Far, static_cast<double>(stock)}});
        rateBound->append({{0.0, bound}, {Far, bound}});
    }
    FitAxes(0.0);
}

void TRunChart::Add(std::int64_t step, std::int32_t deliveredSoFar)
{
    if (step <= lastStep)
        return;
    lastStep = step;
    const double minutes = Minutes(step);
    window.Add(step, deliveredSoFar);
    delivered->append(minutes, deliveredSoFar);
    if (step > 0) {
        const double perMinute = window.PerMinute();
        highestRate = std::max(highestRate, perMinute);
        rate->append(minutes, perMinute);
    }
    FitAxes(minutes);
}

qsizetype TRunChart::GetPointCount() const
{
    return delivered->count();
}

void TRunChart::FitAxes(double minutes)
{
    const double span = std::max(1.0, minutes);
    for (QValueAxis* axis : {deliveredTime, rateTime})
        axis->setRange(0.0, span);
    // What the bound could have delivered by now stands above every curve.
    const double reachable = bound > 0.0 ? std::min<double>(stock, bound * span) : stock;
    deliveredLoads->setRange(0.0, std::max(1.0, reachable));
    rateLoads->setRange(0.0, std::max(1.0, highestRate));
    // Round figures on the scales, the ranges widened to them.
    for (QValueAxis* axis : {deliveredLoads, rateLoads})
        axis->applyNiceNumbers();
}
