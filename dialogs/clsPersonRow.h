#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class TZembaObject;
class TZOManager;

// The texts of one row of the persons table, computed apart from any painting
// so that they can be read while the simulation is held and drawn after.
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

    // The row of the object as it stands now. The caller makes sure that no
    // step changes the object meanwhile.
    static TPersonRow Of(const TZembaObject* object);

    // Looks the id up in the registry and reads the person under its chain's
    // step guard, if it belongs to a chain. Without a registry the row is gone.
    static TPersonRow Read(const TZOManager* manager, std::int32_t id);
};

// The id a row's item text stands for: leading blanks and a sign allowed,
// reading stops at the first non-digit. None without digits or out of range.
std::optional<std::int32_t> ParseRowId(const QString& text);
