#include "dialogs/clsExperimentChart.h"

#include "analysis/PlotAxes.h"
#include "analysis/PlotColours.h"
#include "dialogs/clsChartAxes.h"
#include "dialogs/clsExperimentTables.h"
#include "dialogs/clsScenarioWords.h"
#include "strings/clsStringTable.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t TextFinishTime = 2751;
constexpr std::int32_t TextPersonHours = 2752;
constexpr std::int32_t TextMedian = 2753;
constexpr std::int32_t TextBand = 2754;
constexpr std::int32_t TextFastest = 2755;
constexpr std::int32_t TextSlowest = 2756;
// The run table's words for a run that stood still and one that met the step limit.
constexpr std::int32_t TextEndStalled = 2746;
constexpr std::int32_t TextEndAtLimit = 2747;
constexpr std::int32_t TextMedianInterval = 3401;
constexpr std::int32_t TextFinishClock = 3841;

// Along x, so that the values' labels never crowd; along y for clock times.
constexpr int MostValueTicks = 10;
constexpr int MostTimeTicks = 8;

std::optional<double> Number(const std::string& text)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void HideFromLegend(QChart* chart, QAbstractSeries* series)
{
    for (QLegendMarker* marker : chart->legend()->markers(series))
        marker->setVisible(false);
}

} // namespace

TExperimentChart::TExperimentChart(QWidget* parent) : QWidget(parent), chart(new QChart)
{
    chart->legend()->setAlignment(Qt::AlignRight);
    // Each entry with the mark its series draws: a triangle, a square, a line.
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    view = new QChartView(chart, this);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void TExperimentChart::Clear()
{
    pointRuns.clear();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

QXYSeries* TExperimentChart::Track(QXYSeries* series, std::vector<std::size_t> runs)
{
    pointRuns[series] = std::move(runs);
    connect(series, &QXYSeries::doubleClicked, this, [this, series](const QPointF& point) {
        const QList<QPointF> points = series->points();
        qsizetype nearest = -1;
        double best = std::numeric_limits<double>::max();
        for (qsizetype i = 0; i < points.size(); ++i) {
            const QPointF d = view->chart()->mapToPosition(points[i], series) - view->chart()->mapToPosition(point, series);
            if (const double distance = d.x() * d.x() + d.y() * d.y(); distance < best) {
                best = distance;
                nearest = i;
            }
        }
        if (nearest >= 0)
            emit RunOpened(RunAt(series, nearest));
    });
    return series;
}

std::size_t TExperimentChart::RunAt(const QXYSeries* series, qsizetype index) const
{
    return pointRuns.at(series).at(static_cast<std::size_t>(index));
}

void TExperimentChart::Show(const TSweepPlan& plan, const TSweepTable& table, const std::vector<TSweepGroup>& groups,
                            const QString& firstName, bool personHours, bool fromZero, std::int32_t startSecond)
{
    Clear();
    if (plan.seeds.empty())
        return;
    // x: the first varied value as a number, or its place among the values
    // when they are words; without a varied value, one place.
    const std::vector<std::string> firstValues = plan.values.empty() ? std::vector<std::string>{""} : plan.values[0];
    const bool numeric = std::all_of(firstValues.begin(), firstValues.end(), [](const std::string& v) { return Number(v).has_value(); });
    const auto xOf = [&](const std::string& value) {
        if (numeric)
            return *Number(value);
        return static_cast<double>(std::find(firstValues.begin(), firstValues.end(), value) - firstValues.begin());
    };
    const std::size_t lines = plan.values.size() > 1 ? plan.values[1].size() : 1;
    const auto lineOf = [&](const std::vector<std::string>& values) -> std::size_t {
        if (values.size() < 2)
            return 0;
        return static_cast<std::size_t>(std::find(plan.values[1].begin(), plan.values[1].end(), values[1]) - plan.values[1].begin());
    };
    const std::map<std::vector<std::string>, std::int64_t> personsOf = PersonsByValues(plan);
    // y: hours, counted once per person of the combination in person-hours.
    const auto personsCounted = [&](const std::vector<std::string>& values) -> std::int64_t {
        const auto found = personsOf.find(values);
        return personHours && found != personsOf.end() ? found->second : 1;
    };

    struct TLine
    {
        QLineSeries* median = new QLineSeries;
        QLineSeries* low = new QLineSeries;
        QLineSeries* high = new QLineSeries;
        QLineSeries* medianLow = new QLineSeries;
        QLineSeries* medianHigh = new QLineSeries;
        QScatterSeries* fastest = new QScatterSeries;
        QScatterSeries* slowest = new QScatterSeries;
        std::vector<std::size_t> medianRuns, fastestRuns, slowestRuns;
    };
    std::vector<TLine> perLine(lines);
    // Runs that stood still and runs that met the limit, each with marks of their own.
    struct TUnfinished
    {
        QScatterSeries* marks = new QScatterSeries;
        std::vector<std::size_t> runs;
    };
    TUnfinished stalled, limited;
    double top = 0.0;
    double bottom = std::numeric_limits<double>::max();
    for (const TSweepGroup& group : groups) {
        TLine& line = perLine[lineOf(group.values)];
        const double x = xOf(group.values.empty() ? "" : group.values[0]);
        const std::int64_t persons = personsCounted(group.values);
        const auto hours = [persons](double steps) { return PersonHours(steps, persons); };
        // The figures of finished runs; the band reaches the top where the
        // 90th percentile rests on runs that did not finish.
        const std::optional<double> median = FinishedSteps(group.median);
        const std::optional<double> slowestTime = FinishedSteps(group.max);
        if (median) {
            line.median->append(x, hours(*median));
            line.low->append(x, hours(*FinishedSteps(group.p10)));
            line.high->append(x, hours(FinishedSteps(group.p90).value_or(static_cast<double>(plan.maxSteps))));
            line.fastest->append(x, hours(*FinishedSteps(group.min)));
            if (FinishedSteps(group.medianHigh)) {
                line.medianLow->append(x, hours(*FinishedSteps(group.medianLow)));
                line.medianHigh->append(x, hours(*FinishedSteps(group.medianHigh)));
            }
            bottom = std::min(bottom, hours(*FinishedSteps(group.min)));
            top = std::max(top, hours(FinishedSteps(group.p90).value_or(0.0)));
            if (slowestTime) {
                line.slowest->append(x, hours(*slowestTime));
                top = std::max(top, hours(*slowestTime));
            }
        }
        // The runs behind the marks: the seeds of the least and the greatest
        // time, and the seed nearest the median.
        std::size_t fastest = 0, slowest = 0, nearest = 0;
        double nearestGap = std::numeric_limits<double>::max();
        for (const TSweepTable::TRow& row : table.rows) {
            if (row.values != group.values)
                continue;
            if (row.end != TMoveOutcome::Finished) {
                TUnfinished& unfinished = row.end == TMoveOutcome::Stalled ? stalled : limited;
                unfinished.marks->append(x, hours(static_cast<double>(row.steps)));
                unfinished.runs.push_back(row.run);
                top = std::max(top, hours(static_cast<double>(row.steps)));
                continue;
            }
            fastest = FinishedSteps(group.min) == static_cast<double>(row.steps) ? row.run : fastest;
            slowest = FinishedSteps(group.max) == static_cast<double>(row.steps) ? row.run : slowest;
            if (const double gap = std::abs(static_cast<double>(row.steps) - median.value_or(0.0)); gap < nearestGap) {
                nearestGap = gap;
                nearest = row.run;
            }
        }
        if (median) {
            line.medianRuns.push_back(nearest);
            line.fastestRuns.push_back(fastest);
            if (slowestTime)
                line.slowestRuns.push_back(slowest);
        }
    }

    auto* xAxis = numeric ? static_cast<QAbstractAxis*>(new QValueAxis) : new QCategoryAxis;
    xAxis->setTitleText(firstName);
    if (auto* categories = qobject_cast<QCategoryAxis*>(xAxis)) {
        categories->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (std::size_t i = 0; i < firstValues.size(); ++i)
            categories->append(RuleWordsInGerman(QString::fromStdString(firstValues[i])), static_cast<double>(i));
        categories->setRange(-0.5, static_cast<double>(firstValues.size()) - 0.5);
    } else if (auto* values = qobject_cast<QValueAxis*>(xAxis)) {
        double low = std::numeric_limits<double>::max(), high = std::numeric_limits<double>::lowest();
        for (const std::string& v : firstValues) {
            low = std::min(low, xOf(v));
            high = std::max(high, xOf(v));
        }
        const bool whole = std::all_of(firstValues.begin(), firstValues.end(),
                                       [](const std::string& v) { return v.find_first_of(".eE") == std::string::npos; });
        const double span = high > low ? high - low : 1.0;
        values->setRange(low - span * 0.03, high + span * 0.03);
        // Ticks on round values, whole counts among whole values.
        const double tick = TickSpacing(span, MostValueTicks);
        values->setTickType(QValueAxis::TicksDynamic);
        values->setTickAnchor(0.0);
        values->setTickInterval(whole ? std::max(1.0, tick) : tick);
        values->setLabelFormat(whole ? QStringLiteral("%d") : QStringLiteral("%.3g"));
    }
    const double least = fromZero || bottom > top ? 0.0 : bottom - (top - bottom) * 0.05;
    QAbstractAxis* yAxis = nullptr;
    if (startSecond >= 0 && !personHours) {
        // Finish times by the clock: the hours since the start, labelled with the clock time they end at.
        auto* clock = new QCategoryAxis;
        const double low = std::max(0.0, least);
        const double high = top > 0.0 ? top * 1.05 : 1.0;
        clock->setStartValue(low);
        clock->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (const auto& [minutes, label] : TimeTicks(low * 60.0, high * 60.0, MostTimeTicks, startSecond))
            clock->append(label, minutes / 60.0);
        clock->setRange(low, high);
        clock->setTitleText(GetStringById(TextFinishClock));
        yAxis = clock;
    } else {
        auto* hours = new QValueAxis;
        hours->setTitleText(GetStringById(personHours ? TextPersonHours : TextFinishTime));
        hours->setRange(std::max(0.0, least), top > 0.0 ? top * 1.05 : 1.0);
        hours->applyNiceNumbers();
        hours->setLabelFormat(QStringLiteral("%.1f"));
        yAxis = hours;
    }
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    const auto add = [&](QAbstractSeries* series) {
        chart->addSeries(series);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    };

    for (std::size_t i = 0; i < lines; ++i) {
        TLine& line = perLine[i];
        // One colour per value of the second varied value.
        const QColor colour = QColor::fromRgb(CategoryRgb(i));
        const QString value = plan.values.size() > 1 ? RuleWordsInGerman(QString::fromStdString(plan.values[1][i])) : QString();
        auto* band = new QAreaSeries(line.high, line.low);
        // The band's edges are not on the chart themselves: they go with it.
        line.high->setParent(band);
        line.low->setParent(band);
        QColor fill = colour;
        fill.setAlpha(50);
        band->setBrush(fill);
        band->setPen(Qt::NoPen);
        band->setName(GetStringById(TextBand));
        add(band);
        // The median's 95 % interval, darker within the band.
        auto* interval = new QAreaSeries(line.medianHigh, line.medianLow);
        line.medianHigh->setParent(interval);
        line.medianLow->setParent(interval);
        fill.setAlpha(120);
        interval->setBrush(fill);
        interval->setPen(Qt::NoPen);
        interval->setName(GetStringById(TextMedianInterval));
        add(interval);
        line.median->setName(value.isEmpty() ? GetStringById(TextMedian) : GetStringById(TextMedian) + QStringLiteral(" ") + value);
        line.median->setPen(QPen(colour, 2.5));
        line.median->setPointsVisible(true);
        add(Track(line.median, line.medianRuns));
        for (auto [marks, runs, text, shape] : {std::tuple{line.fastest, &line.fastestRuns, TextFastest, QScatterSeries::MarkerShapeTriangle},
                                                std::tuple{line.slowest, &line.slowestRuns, TextSlowest, QScatterSeries::MarkerShapeRectangle}}) {
            marks->setName(GetStringById(text));
            marks->setMarkerShape(shape);
            marks->setMarkerSize(8.0);
            marks->setColor(colour);
            marks->setBorderColor(colour.darker());
            add(Track(marks, *runs));
            if (i > 0)
                HideFromLegend(chart, marks);
        }
        if (i > 0) {
            HideFromLegend(chart, band);
            HideFromLegend(chart, interval);
        }
    }
    for (auto [unfinished, text, shape] : {std::tuple{&stalled, TextEndStalled, QScatterSeries::MarkerShapeStar},
                                           std::tuple{&limited, TextEndAtLimit, QScatterSeries::MarkerShapeRotatedRectangle}}) {
        unfinished->marks->setName(GetStringById(text));
        unfinished->marks->setMarkerShape(shape);
        unfinished->marks->setMarkerSize(12.0);
        unfinished->marks->setColor(Qt::black);
        add(Track(unfinished->marks, std::move(unfinished->runs)));
        if (unfinished->marks->count() == 0)
            HideFromLegend(chart, unfinished->marks);
    }
}
