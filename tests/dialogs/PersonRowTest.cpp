#include "analysis/CText.h"
#include "dialogs/clsPersonRow.h"
#include "model/clsHandlerState.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

namespace {

using TKind = THandlerState::TKind;

// A walking person with empty hands a quarter along the trail.
THandlerState Walker()
{
    THandlerState p;
    p.kind = TKind::Person, p.name = "Fred", p.stepLength = 0.004, p.position = 0.25, p.freeCapacity = 1.0;
    return p;
}

struct TRowCase
{
    const char* what;
    void (*stage)(THandlerState&);
    std::array<const char*, TPersonRow::ColumnCount> cells;
};

const TRowCase RowCases[] = {
    {"walking, empty hands", [](THandlerState&) {}, {"Fred", "0.4", "100 %", "0.0", "100.0", "25.0", "", ""}},
    {"carrying", [](THandlerState& p) { p.loadWeight = 1.0, p.freeCapacity = 0.0, p.fitness = 0.994; },
     {"Fred", "0.4", "99 %", "100.0", "100.0", "25.0", "", ""}},
    {"on a break", [](THandlerState& p) { p.onBreak = true, p.fitness = 0.07, p.loadWeight = 1.0, p.freeCapacity = 0.0; },
     {"Fred", "Pause!", " 7 %", "100.0", "100.0", "25.0", "", ""}},
    {"home-area person without an area", [](THandlerState& p) { p.kind = TKind::HomeareaPerson, p.homeSteps = 10; },
     {"Fred", "0.4", "100 %", "0.0", "100.0", "25.0", "(nein)", ""}},
    {"home-area person in its area",
     [](THandlerState& p) {
         p.kind = TKind::HomeareaPerson, p.inHomeArea = true, p.homeStart = 0.2, p.homeEnd = 0.45, p.satisfaction = 7;
     },
     {"Fred", "0.4", "100 %", "0.0", "100.0", "25.0", "25.0", "  7 %"}},
};

// Restores the process locale however the test ends.
struct TProcessLocale
{
    explicit TProcessLocale(const char* name) { active = std::setlocale(LC_ALL, name) != nullptr; }
    ~TProcessLocale() { std::setlocale(LC_ALL, "C"); }
    bool active = false;
};

} // namespace

// A German desktop sets the process locale; the numbers must still read with ".".
TEST(PersonRow, ShowsEachKindOfPersonWithItsQuantitiesTimesAHundredWithAPointUnderAGermanLocale)
{
    const TProcessLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.active) << "de_DE.UTF-8 is not generated on this machine (scripts/install-deps)";
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    for (const TRowCase& c : RowCases) {
        THandlerState state = Walker();
        c.stage(state);
        const TPersonRow row = TPersonRow::Of(&state);
        ASSERT_FALSE(row.gone) << c.what;
        for (int column = 0; column < TPersonRow::ColumnCount; ++column)
            EXPECT_EQ(row.Cell(column).toStdString(), c.cells[static_cast<std::size_t>(column)])
                << c.what << ", column " << column;
    }
    EXPECT_EQ(CFormat("%.1lf|%5.2f|%g", 100.0, 27.55, 0.2), "100.0|27.55|0.2");
    THandlerState sink{.kind = TKind::Sink, .name = {}};
    EXPECT_TRUE(TPersonRow::Of(&sink).gone);
    EXPECT_TRUE(TPersonRow::Of(nullptr).gone);
}

// A person not on the trail is still to come until the step it joins at, then gone.
TEST(PersonRow, APersonOffTheTrailIsComingUntilItsStepAndGoneAfter)
{
    const struct { const char* what; std::optional<std::int64_t> joinsAt; std::int64_t shown; const char* note; } rows[] = {
        {"before it joins", 45'000, 100, "kommt um 0:30:00"},
        {"at its step, having left at once", 45'000, 45'000, "gegangen"},
        {"there from the start", std::nullopt, 100, "gegangen"},
    };
    for (const auto& row : rows) {
        const TPersonRow off = TPersonRow::OffTrail(QStringLiteral("Anna"), row.joinsAt, row.shown);
        EXPECT_TRUE(off.gone) << row.what;
        EXPECT_EQ(off.Cell(0), QStringLiteral("Anna")) << row.what;
        EXPECT_EQ(off.note.toStdString(), row.note) << row.what;
    }
}

