#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct THandlerState;

// The texts of one row of the persons table, worked out from a published
// state of the person, apart from any painting.
struct TPersonRow
{
    static constexpr int ColumnCount = 8;

    // No person under the row's id (gone, or not a person): the row shows the
    // deleted marker instead of cells.
    bool gone = true;
    // Name, speed, fitness, load, maximum load, position, home-area length,
    // satisfaction. Empty where a column does not apply to the person.
    std::array<QString, ColumnCount> cells;

    // The cell text of a column; empty for columns beyond the table.
    QString Cell(int column) const;

    // The row of the handler; gone for none, or for one that is no person.
    static TPersonRow Of(const THandlerState* handler);
};

// The id a row's item text stands for: leading blanks and a sign allowed,
// reading stops at the first non-digit. None without digits or out of range.
std::optional<std::int32_t> ParseRowId(const QString& text);
