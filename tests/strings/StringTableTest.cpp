#include "strings/clsStringTable.h"

#include <gtest/gtest.h>

#include <QStringView>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

struct TEntry
{
    std::int32_t id;
    std::u16string_view text;
};

// Umlauts written as escapes, so that a source file mangled on its way
// through an editor or a compiler with the wrong charset shows up here.
constexpr TEntry expectedTable[] = {
    {1000, u"Vuzuzidazerezeda V 0.01"},
    {2000, u"OK"},
    {2001, u"Abbrechen"},
    {2002, u"\u00DCbernehmen"},
    {2100, u"Personen"},
    {2101, u"## Gel\u00F6scht ##"},
    {2102, u"(nein)"},
    {2103, u"Pause!"},
    {2110, u"Name"},
    {2111, u"Geschw."},
    {2112, u"Fitness"},
    {2113, u"Last"},
    {2114, u"Maximallast"},
    {2115, u"Position"},
    {2116, u"Home L\u00E4nge"},
    {2117, u"Zufriedenheit"},
    {2200, u"macht Pause!"},
    {50000, u"Datei"},
    {50100, u"Bearbeiten"},
    {50110, u"Personen..."},
    {50200, u"?"},
    {50210, u"\u00DCber..."},
};

TEST(StringTable, EveryIdGivesItsTextExactly)
{
    for (const TEntry& entry : expectedTable) {
        SCOPED_TRACE(entry.id);
        const QString text = GetStringById(entry.id);
        EXPECT_EQ(text, QStringView(entry.text.data(), qsizetype(entry.text.size())))
            << "got \"" << text.toStdString() << '"';
    }
}

TEST(StringTable, IdsWithoutTextGiveTheEmptyText)
{
    // Neighbours of real ids catch an off-by-one search; the extremes catch
    // arithmetic on the id.
    constexpr std::int32_t unknown[] = {
        0, -1, 1, 999, 1001, 1999, 2003, 2109, 2118, 2199, 2201, 49999, 50001, 50211, -2000, -50110,
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
    };
    for (const std::int32_t id : unknown) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(GetStringById(id).isEmpty());
    }
}

} // namespace
