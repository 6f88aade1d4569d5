#include "strings/clsStringTable.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct TStringEntry
{
    std::int32_t id;
    std::u16string_view text;
};

// Kept in order of id for the binary search. The texts are UTF-16 literals so
// that the umlauts do not depend on any locale at run time.
constexpr std::array<TStringEntry, 22> stringTable{{
    {1000, u"Vuzuzidazerezeda V 0.01"},
    {2000, u"OK"},
    {2001, u"Abbrechen"},
    {2002, u"Übernehmen"},
    {2100, u"Personen"},
    {2101, u"## Gelöscht ##"},
    {2102, u"(nein)"},
    {2103, u"Pause!"},
    // The persons dialog takes the header of column i from 2110 + i.
    {2110, u"Name"},
    {2111, u"Geschw."},
    {2112, u"Fitness"},
    {2113, u"Last"},
    {2114, u"Maximallast"},
    {2115, u"Position"},
    {2116, u"Home Länge"},
    {2117, u"Zufriedenheit"},
    {2200, u"macht Pause!"},
    {50000, u"Datei"},
    {50100, u"Bearbeiten"},
    {50110, u"Personen..."},
    {50200, u"?"},
    {50210, u"Über..."},
}};

static_assert(std::ranges::adjacent_find(stringTable, std::ranges::greater_equal{}, &TStringEntry::id)
                  == stringTable.end(),
              "string table ids must be unique and in ascending order");

} // namespace

QString GetStringById(std::int32_t id)
{
    const auto entry = std::ranges::lower_bound(stringTable, id, {}, &TStringEntry::id);
    if (entry == stringTable.end() || entry->id != id)
        return {};
    return QStringView(entry->text.data(), qsizetype(entry->text.size())).toString();
}
