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

    // No person on the trail under the row's id: the row shows the note
    // instead of cells, after the name if it has one.
    bool gone = true;
    // The deleted marker, or when the person comes or that it has gone.
    QString note;
    // Name, speed, fitness, load, maximum load, position, home-area length,
    // satisfaction. Empty where a column does not apply to the person.
    std::array<QString, ColumnCount> cells;

    // The cell text of a column; empty for columns beyond the table.
    QString Cell(int column) const;

    // The row of the handler; gone for none, or for one that is no person.
    static TPersonRow Of(const THandlerState* handler);
    // The row of a person of the move who is not on the trail at the step
    // shown: its name, and still to come if it joins later (joinsAt, none
    // for a person there from the start), else gone.
    static TPersonRow OffTrail(const QString& name, std::optional<std::int64_t> joinsAt, std::int64_t shownStep);
};

// The id a row's item text stands for: leading blanks and a sign allowed,
// reading stops at the first non-digit. None without digits or out of range.
std::optional<std::int32_t> ParseRowId(const QString& text);
