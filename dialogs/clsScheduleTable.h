#pragma once

#include "scenario/clsScenarioDescription.h"

#include <QObject>

#include <cstdint>
#include <string>
#include <vector>

class QAbstractButton;
class QTableWidget;
class TFieldReader;

// The schedule of a move in the scenario editor, a row per change in the
// order written: its time (h:mm:ss after the start, or the clock time where
// the move has a start), what happens ("kommt", "geht"), who (the names of
// those who come, the name of who goes) and, for those who come, their
// count, kind, position in metres and speeds in metres per second. What is
// not edited goes back as it came, its time as a step number too.
class TScheduleTable : public QObject
{
    Q_OBJECT

public:
    enum TColumn { ColAt, ColWhat, ColWho, ColCount, ColKind, ColPosition, ColSpeed, ColIncrement, Columns };

    // Takes over the table and its buttons, which add a change after the
    // selected one (or at the end) and remove the selected one.
    TScheduleTable(QTableWidget& table, QAbstractButton& add, QAbstractButton& remove);

    // metresPerUnit: the scenario's; startSecond below 0 for none.
    void Fill(const std::vector<TScheduleEntry>& schedule, double metresPerUnit, std::int32_t startSecond);
    // The rows as the schedule, what cannot be read given to read as faults at
    // the entries' paths ("/schedule/0/at").
    std::vector<TScheduleEntry> Read(TFieldReader& read, double metresPerUnit, std::int32_t startSecond) const;
    // The column that a fault's path within an entry names ("/at", "/join/speed", "/leave/name"); -1 for none.
    static int ColumnOf(const std::string& inEntry);

signals:
    // A row added, removed or edited.
    void Changed();

private:
    void FillRow(int row, const TScheduleEntry& entry);
    // Whether the row is a leave, by its "what" box.
    bool IsLeave(int row) const;
    // A leave has no group: its cells are empty and cannot be edited.
    void ShowGroupCells(int row, const TPersonGroup* group);

    QTableWidget& table;
    // As last filled: what new rows are shown in.
    double metresPerUnit = TScenarioDescription::DefaultMetresPerUnit;
    std::int32_t startSecond = -1;
};
