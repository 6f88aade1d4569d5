#include "dialogs/clsDeadlineChart.h"

#include "analysis/PlotColours.h"
#include "dialogs/clsStepText.h"
#include "strings/clsStringTable.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>

namespace {

constexpr std::int32_t TextChance = 3407;
constexpr std::int32_t TextChanceBand = 3408;

// The first value along x: itself where every value is a number, else its place.
double XOf(const std::vector<std::string>& firstValues, const std::string& value)
{
    const bool numeric = std::all_of(firstValues.begin(), firstValues.end(), [](const std::string& v) {
        double number = 0.0;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), number);
        return ec == std::errc() && end == v.data() + v.size();
    });
    if (numeric) {
        double number = 0.0;
        std::from_chars(value.data(), value.data() + value.size(), number);
        return number;
    }
    return static_cast<double>(std::find(firstValues.begin(), firstValues.end(), value) - firstValues.begin());
}

} // namespace

TDeadlineChart::TDeadlineChart(QWidget* parent) : QWidget(parent), chart(new QChart)
{
    chart->legend()->setAlignment(Qt::AlignRight);
    auto* view = new QChartView(chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void TDeadlineChart::Show(const TSweepPlan& plan, const std::vector<TSweepGroup>& groups, const QString& firstName,
                          std::optional<std::int64_t> deadline, std::int32_t startSecond)
{
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    if (!deadline || plan.values.empty())
        return;
    const std::vector<std::string>& firstValues = plan.values[0];
    const std::size_t lines = plan.values.size() > 1 ? plan.values[1].size() : 1;
    auto* xAxis = new QValueAxis;
    xAxis->setTitleText(firstName);
    double low = XOf(firstValues, firstValues.front());
    double high = low;
    for (const std::string& v : firstValues) {
        low = std::min(low, XOf(firstValues, v));
        high = std::max(high, XOf(firstValues, v));
    }
    xAxis->setRange(low - 0.5, high + 0.5);
    auto* yAxis = new QValueAxis;
    const QString byDeadline = GetStringById(TextChance).arg(MoveTimeText(*deadline, startSecond));
    yAxis->setTitleText(byDeadline);
    yAxis->setRange(0.0, 100.0);
    yAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (std::size_t line = 0; line < lines; ++line) {
        auto* share = new QLineSeries;
        auto* lower = new QLineSeries;
        auto* upper = new QLineSeries;
        for (const TSweepGroup& g : groups) {
            if (g.values.empty() || (lines > 1 && g.values[1] != plan.values[1][line]))
                continue;
            const TDeadlineChance chance = ChanceByDeadline(g, *deadline);
            const double x = XOf(firstValues, g.values[0]);
            share->append(x, 100.0 * chance.byDeadline.share);
            lower->append(x, 100.0 * chance.byDeadline.lower);
            upper->append(x, 100.0 * chance.upper);
        }
        const QColor colour = QColor::fromRgb(CategoryRgb(line));
        auto* band = new QAreaSeries(upper, lower);
        upper->setParent(band);
        lower->setParent(band);
        QColor fill = colour;
        fill.setAlpha(50);
        band->setBrush(fill);
        band->setPen(Qt::NoPen);
        band->setName(GetStringById(TextChanceBand));
        share->setPen(QPen(colour, 2.5));
        share->setPointsVisible(true);
        share->setName(lines > 1 ? QString::fromStdString(plan.values[1][line]) : byDeadline);
        for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(band), static_cast<QAbstractSeries*>(share)}) {
            chart->addSeries(series);
            series->attachAxis(xAxis);
            series->attachAxis(yAxis);
        }
    }
}
