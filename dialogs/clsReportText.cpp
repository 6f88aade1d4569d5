#include "dialogs/clsReportText.h"

#include "dialogs/clsStepText.h"
#include "model/clsSimulationTime.h"
#include "strings/clsStringTable.h"
#include "strings/clsTypedNumber.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::int32_t TextReportFinished = 2501;
constexpr std::int32_t TextUnfinished = 2502;
constexpr std::int32_t TextReportStalled = 2503;
constexpr std::int32_t TextThroughput = 2504;
constexpr std::int32_t TextQuarter = 2505;
// Column i's header is 2510 + i.
constexpr std::int32_t TextFirstColumn = 2510;
constexpr std::int32_t TextSharesNote = 2521;
constexpr std::int32_t TextStartedFinished = 3802;
constexpr std::int32_t TextStartedStopped = 3803;
constexpr std::int32_t TextTrailMetres = 3804;
// The columns from ReportTimeColumn on, each a text of its own.
constexpr std::int32_t TextTimeOnTrail = 3805;
constexpr std::int32_t TextAllPersonHours = 3807;
constexpr int ReportTimeColumn = 11;

QString Steps(std::int64_t steps)
{
    return QString::number(steps);
}

QString Time(std::int64_t steps)
{
    return QString::fromStdString(FormatSimulatedTime(steps));
}

// QString::number writes "." whatever the locale.
QString Decimal(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

double PersonHours(std::int64_t stepsOnTrail)
{
    return static_cast<double>(stepsOnTrail) / StepsPerHour;
}

} // namespace

QStringList ReportMoveLines(const TMoveReport& r)
{
    QStringList lines;
    if (r.finishStep >= 0)
        lines << GetStringById(TextReportFinished).arg(r.stock).arg(Steps(r.finishStep), Time(r.finishStep));
    else
        lines << GetStringById(TextUnfinished).arg(r.delivered).arg(r.stock).arg(Steps(r.steps), Time(r.steps));
    if (r.startSecond >= 0)
        lines << GetStringById(r.finishStep >= 0 ? TextStartedFinished : TextStartedStopped)
                     .arg(ClockMinuteText(0, r.startSecond), ClockMinuteText(r.finishStep >= 0 ? r.finishStep : r.steps, r.startSecond));
    lines << GetStringById(TextTrailMetres).arg(Decimal(r.trailLength * r.metresPerUnit, 1), TypedNumberText(r.metresPerUnit));
    if (r.stalledSince >= 0)
        lines << GetStringById(TextReportStalled).arg(Steps(r.stalledSince), Time(r.stalledSince));
    lines << GetStringById(TextThroughput)
                 .arg(Decimal(r.perMinute, 2), Decimal(r.percentOfBound, 0), Decimal(r.boundPerMinute, 2));
    for (std::size_t q = 0; q < r.quarters.size(); ++q) {
        const TMoveReport::TQuarter& quarter = r.quarters[q];
        if (quarter.firstStep <= quarter.lastStep)
            lines << GetStringById(TextQuarter)
                         .arg(q + 1)
                         .arg(Steps(quarter.firstStep), Steps(quarter.lastStep))
                         .arg(quarter.delivered)
                         .arg(Decimal(quarter.perMinute, 1));
    }
    double personHours = 0.0;
    for (const TMoveReport::TPersonLine& p : r.persons)
        personHours += PersonHours(p.stepsOnTrail);
    lines << GetStringById(TextAllPersonHours).arg(Decimal(personHours, 2));
    return lines;
}

QString ReportColumnHeader(int column)
{
    return column < ReportTimeColumn ? GetStringById(TextFirstColumn + column)
                                     : GetStringById(TextTimeOnTrail + column - ReportTimeColumn);
}

std::array<QString, ReportColumnCount> ReportPersonCells(const TMoveReport::TPersonLine& p)
{
    return {QString::fromStdString(p.name), Decimal(p.speed * 100.0, 2), Decimal(p.share[0], 1),
            Decimal(p.share[1], 1),         Decimal(p.share[2], 1),      Decimal(p.share[3], 1),
            Decimal(p.share[4], 1),         Steps(p.breaks),             Steps(p.founded),
            Steps(p.givenUp),               Steps(p.moved),              Time(p.stepsOnTrail),
            Decimal(PersonHours(p.stepsOnTrail), 2)};
}

QString ReportText(const TMoveReport& report)
{
    std::vector<std::array<QString, ReportColumnCount>> rows;
    std::array<QString, ReportColumnCount> header;
    for (int column = 0; column < ReportColumnCount; ++column)
        header[static_cast<std::size_t>(column)] = ReportColumnHeader(column);
    rows.push_back(header);
    for (const TMoveReport::TPersonLine& person : report.persons)
        rows.push_back(ReportPersonCells(person));
    std::array<qsizetype, ReportColumnCount> widths{};
    for (const auto& row : rows)
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QString text = ReportMoveLines(report).join(QLatin1Char('\n')) + QStringLiteral("\n\n");
    for (const auto& row : rows) {
        // Names to the left, figures to the right, as the dialog's table sets them.
        QString line = row[0].leftJustified(widths[0]);
        for (std::size_t c = 1; c < widths.size(); ++c)
            line += QStringLiteral("  ") + row[c].rightJustified(widths[c]);
        text += line + QLatin1Char('\n');
    }
    return text + QLatin1Char('\n') + GetStringById(TextSharesNote) + QLatin1Char('\n');
}
