#pragma once

#include "analysis/MoveReport.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class QComboBox;
class QTableWidget;

// Two bookmarks of a move side by side: a column for each, its mark chosen
// from the move's marks, with the report's figures of the move up to that
// step. Not modal; the owner works the reports out and hands them in.
class TfrmMarkCompare : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Columns = 2;

    explicit TfrmMarkCompare(QWidget* owner);

    // The marks to choose from, in order. A column keeps its mark while that
    // is among them; else the columns take the last but one and the last.
    void SetMarks(const std::vector<std::int64_t>& marks);
    // -1 while there is no mark to choose.
    std::int64_t GetMark(int column) const;
    // The figures of the column's mark; none: blank while they are worked out.
    void ShowReport(int column, const TMoveReport* report);
    // A figure as shown, for tests.
    QString GetFigure(int row, int column) const;

signals:
    void MarkChosen(int column, std::int64_t step);

private:
    std::array<QComboBox*, Columns> choices{};
    QTableWidget* table = nullptr;
};
