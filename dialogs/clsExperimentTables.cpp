#include "dialogs/clsExperimentTables.h"

#include "analysis/MoveReport.h"
#include "analysis/OutputFile.h"
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

std::map<std::vector<std::string>, std::int64_t> PersonsByValues(const TSweepPlan& plan)
{
    std::map<std::vector<std::string>, std::int64_t> persons;
    for (std::size_t c = 0; c < plan.combinations.size(); ++c)
        persons[plan.ValuesOf(c)] = plan.combinations[c].GetPersonCount();
    return persons;
}

double PersonHours(double steps, std::int64_t persons)
{
    return steps * static_cast<double>(persons) / StepsPerSecond / 3600.0;
}

void ShowGroupTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table,
                    const std::vector<TSweepGroup>& groups, const QStringList& names)
{
    QStringList header = names;
    for (int c = 0; c < GroupColumns; ++c)
        header << GetStringById(TextFirstGroupColumn + c);
    Start(grid, header, static_cast<qsizetype>(groups.size()));
    const std::map<std::vector<std::string>, std::int64_t> personsOf = PersonsByValues(plan);
    for (int r = 0; r < static_cast<int>(groups.size()); ++r) {
        const TSweepGroup& g = groups[static_cast<std::size_t>(r)];
        int c = 0;
        for (const std::string& value : g.values)
            grid.setItem(r, c++, Cell(QString::fromStdString(value)));
        const bool any = g.finished > 0;
        const auto time = [any](double steps) { return any ? SimulatedTime(steps) : QString(); };
        for (const QString& text : {QString::number(g.runs), QString::number(g.finished), QString::number(g.stalled),
                                    QString::number(g.limited), time(static_cast<double>(g.min)), time(g.p10),
                                    time(g.median), time(g.p90), time(static_cast<double>(g.max))})
            grid.setItem(r, c++, Cell(text));
        const double personHours = PersonHours(g.median, personsOf.at(g.values));
        grid.setItem(r, c, Cell(any ? QString::number(personHours, 'f', 1) : QString()));
        // The seed nearest the median stands for the row.
        double best = std::numeric_limits<double>::max();
        QVariant run;
        for (const TSweepTable::TRow& row : table.rows)
            if (row.values == g.values && row.end == TMoveOutcome::Finished
                && std::abs(static_cast<double>(row.steps) - g.median) < best) {
                best = std::abs(static_cast<double>(row.steps) - g.median);
                run = QVariant::fromValue(row.run);
            }
        grid.item(r, 0)->setData(Qt::UserRole, run);
    }
    grid.resizeColumnsToContents();
}

void ShowRunTable(QTableWidget& grid, const TSweepPlan& plan, const TSweepTable& table, const QStringList& names)
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
            grid.setItem(r, c++, Cell(QString::fromStdString(value)));
        grid.setItem(r, c++, Cell(QString::number(plan.SeedOf(row.run))));
        grid.setItem(r, c++, Cell(GetStringById(TextFirstEnd + static_cast<std::int32_t>(row.end)), false));
        grid.setItem(r, c++, Cell(SimulatedTime(static_cast<double>(row.steps))));
        grid.setItem(r, c, Cell(QString::number(row.steps)));
    }
    grid.resizeColumnsToContents();
}

bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    std::string error;
    return WriteWholeFile(QFile::encodeName(path).toStdString(), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}
