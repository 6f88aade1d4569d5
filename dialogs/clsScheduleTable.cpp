#include "dialogs/clsScheduleTable.h"

#include "dialogs/clsFieldReader.h"
#include "dialogs/clsStepText.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsScenarioRules.h"
#include "strings/clsStringTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

#include <array>

namespace {

constexpr std::int32_t TextFirstScheduleColumn = 3821;
constexpr std::int32_t TextJoins = 3829;
constexpr std::int32_t TextLeaves = 3830;
constexpr std::int32_t TextNoTime = 3831;
constexpr std::int32_t TextNoClockTime = 3813;
constexpr std::int32_t TextWithHomeArea = 2638;
constexpr std::int32_t TextPlainKind = 2639;
// Whether a row's time was written as a time rather than a step number.
constexpr int AsTimeRole = Qt::UserRole + 20;

// A new change: one more person, as the built-in move's first one.
const TPersonGroup NewGroup{1, TPersonGroup::TKind::HomeArea, 0.0, 0.002, 0.0, {}};

QComboBox* Box(const QTableWidget& table, int row, int column)
{
    return qobject_cast<QComboBox*>(table.cellWidget(row, column));
}

QString Text(const QTableWidget& table, int row, int column)
{
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

} // namespace

TScheduleTable::TScheduleTable(QTableWidget& theTable, QAbstractButton& add, QAbstractButton& remove)
    : QObject(&theTable), table(theTable)
{
    table.setColumnCount(Columns);
    QStringList headers;
    for (int column = 0; column < Columns; ++column)
        headers << GetStringById(TextFirstScheduleColumn + column);
    table.setHorizontalHeaderLabels(headers);
    table.horizontalHeader()->setStretchLastSection(true);
    connect(&table, &QTableWidget::itemChanged, this, &TScheduleTable::Changed);
    connect(&add, &QAbstractButton::clicked, this, [this] {
        // A new change comes at the time of the selected one, or of the last: the likeliest next time.
        const int from = table.currentRow() >= 0 ? table.currentRow() : table.rowCount() - 1;
        TScheduleEntry entry;
        entry.atAsTime = true;
        entry.join = NewGroup;
        if (from >= 0)
            if (const std::optional<double> step = KeptCellValue(table.item(from, ColAt), startSecond))
                entry.step = static_cast<std::int64_t>(*step);
        table.insertRow(from + 1);
        FillRow(from + 1, entry);
        table.setCurrentCell(from + 1, ColAt);
        emit Changed();
    });
    connect(&remove, &QAbstractButton::clicked, this, [this] {
        if (table.currentRow() >= 0)
            table.removeRow(table.currentRow());
        emit Changed();
    });
}

void TScheduleTable::Fill(const std::vector<TScheduleEntry>& schedule, double metres, std::int32_t start)
{
    metresPerUnit = metres;
    startSecond = start;
    table.setRowCount(0);
    table.setRowCount(static_cast<int>(schedule.size()));
    for (std::size_t i = 0; i < schedule.size(); ++i)
        FillRow(static_cast<int>(i), schedule[i]);
    table.resizeColumnsToContents();
}

void TScheduleTable::FillRow(int row, const TScheduleEntry& entry)
{
    const QSignalBlocker quiet(table);
    auto* at = new QTableWidgetItem(MoveTimeText(entry.step, startSecond));
    KeepCellValue(*at, static_cast<double>(entry.step), startSecond);
    at->setData(AsTimeRole, entry.atAsTime);
    table.setItem(row, ColAt, at);
    auto* what = new QComboBox;
    what->addItems({GetStringById(TextJoins), GetStringById(TextLeaves)});
    what->setCurrentIndex(entry.kind == TScheduleEntry::TKind::Leave ? 1 : 0);
    table.setCellWidget(row, ColWhat, what);
    auto* kind = new QComboBox;
    kind->addItems({GetStringById(TextWithHomeArea), GetStringById(TextPlainKind)});
    table.setCellWidget(row, ColKind, kind);
    QStringList names;
    for (const std::string& name : entry.join.names)
        names << QString::fromStdString(name);
    const bool leave = entry.kind == TScheduleEntry::TKind::Leave;
    table.setItem(row, ColWho, new QTableWidgetItem(leave ? QString::fromStdString(entry.leave) : names.join(QStringLiteral(", "))));
    ShowGroupCells(row, leave ? nullptr : &entry.join);
    connect(kind, &QComboBox::currentIndexChanged, this, &TScheduleTable::Changed);
    connect(what, &QComboBox::currentIndexChanged, this, [this, what] {
        // The row of the box, wherever rows were added or removed since.
        for (int r = 0; r < table.rowCount(); ++r)
            if (Box(table, r, ColWhat) == what)
                ShowGroupCells(r, IsLeave(r) ? nullptr : &NewGroup);
        emit Changed();
    });
}

void TScheduleTable::ShowGroupCells(int row, const TPersonGroup* group)
{
    const QSignalBlocker quiet(table);
    const double speedFactor = metresPerUnit * StepsPerSecond;
    const std::array<std::pair<int, QTableWidgetItem*>, 4> cells{{
        {ColCount, new QTableWidgetItem(group ? QString::number(group->count) : QString())},
        {ColPosition, group ? PlannerCell(group->position, metresPerUnit) : new QTableWidgetItem},
        {ColSpeed, group ? PlannerCell(group->speed, speedFactor) : new QTableWidgetItem},
        {ColIncrement, group ? PlannerCell(group->speedIncrement, speedFactor) : new QTableWidgetItem},
    }};
    for (const auto& [column, cell] : cells) {
        if (!group)
            cell->setFlags(Qt::NoItemFlags);
        table.setItem(row, column, cell);
    }
    QComboBox* kind = Box(table, row, ColKind);
    kind->setCurrentIndex(group && group->kind == TPersonGroup::TKind::Plain ? 1 : 0);
    kind->setEnabled(group != nullptr);
}

bool TScheduleTable::IsLeave(int row) const
{
    return Box(table, row, ColWhat)->currentIndex() == 1;
}

std::vector<TScheduleEntry> TScheduleTable::Read(TFieldReader& read, double metres, std::int32_t start) const
{
    std::vector<TScheduleEntry> schedule;
    const double speedFactor = metres * StepsPerSecond;
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::string at = "/schedule/" + std::to_string(row);
        TScheduleEntry entry;
        const QTableWidgetItem* time = table.item(row, ColAt);
        if (const std::optional<double> kept = KeptCellValue(time, start)) {
            entry.step = static_cast<std::int64_t>(*kept);
            entry.atAsTime = time->data(AsTimeRole).toBool();
        } else if (const std::optional<std::int64_t> step = ReadMoveTime(time->text(), start);
                   step && *step <= MaxScheduleStep) {
            entry.step = *step;
            entry.atAsTime = true;
        } else {
            read.Refuse(at + "/at", GetStringById(start >= 0 ? TextNoClockTime : TextNoTime).arg(time->text().trimmed()));
        }
        const QString who = Text(table, row, ColWho).trimmed();
        if (IsLeave(row)) {
            entry.kind = TScheduleEntry::TKind::Leave;
            entry.leave = who.toStdString();
        } else {
            const std::string group = at + "/join";
            entry.join.count = read.Whole<std::int32_t>(Text(table, row, ColCount), group + "/count", 1, MaxScenarioCount);
            entry.join.kind = Box(table, row, ColKind)->currentIndex() == 1 ? TPersonGroup::TKind::Plain
                                                                              : TPersonGroup::TKind::HomeArea;
            entry.join.position = read.Planned(table.item(row, ColPosition), metres, group + "/position");
            entry.join.speed = read.Planned(table.item(row, ColSpeed), speedFactor, group + "/speed");
            entry.join.speedIncrement = read.Planned(table.item(row, ColIncrement), speedFactor, group + "/speed_increment");
            if (!who.isEmpty())
                for (const QString& name : who.split(QLatin1Char(',')))
                    entry.join.names.push_back(name.trimmed().toStdString());
        }
        schedule.push_back(std::move(entry));
    }
    return schedule;
}

int TScheduleTable::ColumnOf(const std::string& inEntry)
{
    static const std::array<std::pair<const char*, int>, 8> columns{{
        {"/at", ColAt},
        {"/leave/name", ColWho},
        {"/join/names", ColWho},
        {"/join/count", ColCount},
        {"/join/kind", ColKind},
        {"/join/position", ColPosition},
        {"/join/speed_increment", ColIncrement},
        {"/join/speed", ColSpeed},
    }};
    for (const auto& [path, column] : columns)
        if (inEntry.starts_with(path))
            return column;
    return -1;
}
