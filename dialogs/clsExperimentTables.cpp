#include "dialogs/clsExperimentTables.h"

#include "analysis/MoveReport.h"
#include "analysis/OutputFile.h"
#include "dialogs/clsScenarioWords.h"
#include "dialogs/clsStepText.h"
#include "model/clsSimulationTime.h"
#include "strings/clsStringTable.h"

#include <QFile>
#include <QTableWidget>

#include <cmath>
#include <limits>
#include <map>

namespace {

// The group table's columns from here, the run table's from TextFirstRunColumn.
constexpr std::int32_t TextFirstGroupColumn = 2730;
constexpr int GroupColumns = 10;
constexpr std::int32_t TextFirstRunColumn = 2740;
constexpr int RunColumns = 5;
constexpr std::int32_t TextFirstEnd = 2745;
constexpr std::int32_t TextNever = 3400;
constexpr std::int32_t TextMedianInterval = 3401;
constexpr std::int32_t TextByDeadline = 3405;

QTableWidgetItem* Cell(const QString& text, bool number = true)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

void Start(QTableWidget& grid, const QStringList& header, qsizetype rows)
{
    grid.clear();
    grid.setColumnCount(static_cast<int>(header.size()));
    grid.setHorizontalHeaderLabels(header);
    grid.setRowCount(static_cast<int>(rows));
}

} // namespace

QString SimulatedTime(double steps)
{
    return QString::fromStdString(FormatSimulatedTime(static_cast<std::int64_t>(std::llround(steps))));
}

void ShowGroupTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table,
                    const std::vector<TSweepGroup>& groups, const QStringList& names,
                    std::optional<std::int64_t> deadline, std::int32_t startSecond)
{
    QStringList header = names;
    for (int c = 0; c < GroupColumns; ++c)
        header << GetStringById(TextFirstGroupColumn + c);
    // The median's interval beside the median.
    constexpr int MedianColumn = 6;
    header.insert(names.size() + MedianColumn + 1, GetStringById(TextMedianInterval));
    if (deadline)
        header << GetStringById(TextByDeadline).arg(MoveTimeText(*deadline, startSecond));
    Start(grid, header, static_cast<qsizetype>(groups.size()));
    const std::map<std::vector<std::string>, std::int64_t> personsOf = PersonsByValues(plan);
    for (int r = 0; r < static_cast<int>(groups.size()); ++r) {
        const TSweepGroup& g = groups[static_cast<std::size_t>(r)];
        int c = 0;
        for (const std::string& value : g.values)
            grid.setItem(r, c++, Cell(RuleWordsInGerman(QString::fromStdString(value))));
        const auto time = [startSecond](const std::optional<TFinishTime>& t) {
            if (!t)
                return QString();
            switch (t->kind) {
            case TFinishTime::TKind::Finished: return MoveTimeText(t->steps, startSecond);
            case TFinishTime::TKind::BeyondLimit: return QStringLiteral("> ") + MoveTimeText(t->steps, startSecond);
            case TFinishTime::TKind::Never: break;
            }
            return GetStringById(TextNever);
        };
        const QString interval = g.medianLow ? time(g.medianLow) + QStringLiteral(" – ") + time(g.medianHigh) : QString();
        for (const QString& text : {QString::number(g.runs), QString::number(g.finished), QString::number(g.stalled),
                                    QString::number(g.limited), time(g.min), time(g.p10), time(g.median), interval,
                                    time(g.p90), time(g.max)})
            grid.setItem(r, c++, Cell(text));
        const std::optional<double> median = FinishedSteps(g.median);
        grid.setItem(r, c++, Cell(median ? QString::number(PersonHours(*median, personsOf.at(g.values)), 'f', 1) : QString()));
        if (deadline) {
            const TDeadlineChance chance = ChanceByDeadline(g, *deadline);
            grid.setItem(r, c, Cell(QStringLiteral("%1 % (%2–%3 %)")
                                        .arg(100.0 * chance.byDeadline.share, 0, 'f', 0)
                                        .arg(100.0 * chance.byDeadline.lower, 0, 'f', 0)
                                        .arg(100.0 * chance.upper, 0, 'f', 0)));
        }
        // The seed nearest the median stands for the row.
        double best = std::numeric_limits<double>::max();
        QVariant run;
        for (const TSweepTable::TRow& row : table.rows)
            if (median && row.values == g.values && row.end == TMoveOutcome::Finished
                && std::abs(static_cast<double>(row.steps) - *median) < best) {
                best = std::abs(static_cast<double>(row.steps) - *median);
                run = QVariant::fromValue(row.run);
            }
        grid.item(r, 0)->setData(Qt::UserRole, run);
    }
    grid.resizeColumnsToContents();
}

void ShowRunTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table, const QStringList& names,
                  std::int32_t startSecond)
{
    QStringList header = QStringList{GetStringById(TextFirstRunColumn)} + names;
    for (int c = 1; c < RunColumns; ++c)
        header << GetStringById(TextFirstRunColumn + c);
    Start(grid, header, static_cast<qsizetype>(table.rows.size()));
    for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
        const TSweepTable::TRow& row = table.rows[static_cast<std::size_t>(r)];
        int c = 0;
        grid.setItem(r, c++, Cell(QString::number(row.run)));
        for (const std::string& value : row.values)
            grid.setItem(r, c++, Cell(RuleWordsInGerman(QString::fromStdString(value))));
        grid.setItem(r, c++, Cell(QString::number(plan.SeedOf(row.run))));
        grid.setItem(r, c++, Cell(GetStringById(TextFirstEnd + static_cast<std::int32_t>(row.end)), false));
        grid.setItem(r, c++, Cell(MoveTimeText(row.steps, startSecond)));
        grid.setItem(r, c, Cell(QString::number(row.steps)));
    }
    grid.resizeColumnsToContents();
}

bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    std::string error;
    return WriteWholeFile(QFile::encodeName(path).toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}
