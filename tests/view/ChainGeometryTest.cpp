#include "view/clsChainGeometry.h"

#include "model/clsChainState.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "view/clsPersonPanel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A trail of level sections of these lengths.
struct TLevelTrail
{
    explicit TLevelTrail(const std::vector<double>& lengths)
    {
        for (const double length : lengths) {
            sections.push_back(std::make_unique<TTrailSection>(ids, length));
            trail.AddSection(sections.back().get());
        }
    }
    TObjectIds ids;
    TTrail trail{ids};
    std::vector<std::unique_ptr<TTrailSection>> sections;
};

THandlerState Handler(THandlerState::TKind kind, std::int32_t id, double position)
{
    return {.kind = kind, .id = id, .position = position, .name = {}};
}

} // namespace

// In the main window's usual client area, 523 × 271: 517 columns of trail, 215 rows of rise.
TEST(MapPosition, PlacesTheHandlerColumnAndBaseline)
{
    TZOManager objects;
    const TScenario scenario(objects);
    const TLevelTrail level({0.5, 0.5});
    const TLevelTrail empty({});
    const struct { const char* name; const TTrail* trail; double position; int column, top; } rows[] = {
        // Height 0 lies one row above the bottom of the rise: H − 1.
        {"the trail's start", scenario.GetTrail(), 0.0, 0, 214},
        // The top height truncates −0.5 toward zero: the bar touches row 0.
        {"the trail's end at the top height", scenario.GetTrail(), 1.75, 517, 0},
        {"the foot of the first flight", scenario.GetTrail(), 0.3, 89, 214},
        {"the head of the first flight", scenario.GetTrail(), 0.5, 148, 171},
        // A walker may end a step just before the start: −0.517 + 0.5 truncates
        // to column 0, where rounding down would give −1.
        {"just before the trail's start", scenario.GetTrail(), -0.00175, 0, 214},
        {"a quarter along a level trail", &level.trail, 0.25, 129, 214},
        {"the end of a level trail", &level.trail, 1.0, 517, 214},
        {"anywhere on a trail without length", &empty.trail, 0.7, 0, 214},
    };
    for (const auto& row : rows) {
        const TBarRect r = MapPosition(*row.trail, 523, 271, row.position);
        EXPECT_EQ(r.left, row.column) << row.name;
        EXPECT_EQ(r.right, row.column) << row.name;
        EXPECT_EQ(r.top, row.top) << row.name;
        EXPECT_EQ(r.bottom, row.top + BarHeight) << row.name;
    }
}

// A level trail of length 1 in a picture 206 pixels wide: position p stands in
// column p * 200 + 0.5 cut to an integer (0.26 in 52), every bar from row 143
// down to row 173.
TEST(PersonAt, APointSelectsThePersonWhoseBarItTouches)
{
    const TLevelTrail level({1.0});
    using K = THandlerState::TKind;
    TChainState chain;
    chain.handlers = {Handler(K::Source, 1, 0.0), Handler(K::Person, 2, 0.25), Handler(K::HomeareaPerson, 3, 0.26),
                      Handler(K::Person, 4, 0.75), Handler(K::Person, 5, 0.5), Handler(K::Person, 6, 0.5)};
    const struct { const char* name; std::int32_t x, y, id; /* id -1: nobody */ } rows[] = {
        {"on the bar", 50, 150, 2},           {"on the neighbour's bar", 53, 150, 3},
        {"nearer to the left bar", 49, 150, 2}, {"nearer to the right bar", 52, 150, 3},
        {"within the grace beside", 55, 150, 3}, {"beyond the grace beside", 56, 150, -1},
        {"within the grace above", 150, 140, 4}, {"beyond the grace above", 150, 139, -1},
        {"within the grace below", 150, 176, 4}, {"beyond the grace below", 150, 177, -1},
        {"the source is no person", 0, 150, -1}, {"of two in one place the one drawn last", 100, 150, 6},
    };
    for (const auto& row : rows) {
        const THandlerState* hit = PersonAt(level.trail, 206, 200, chain, row.x, row.y);
        EXPECT_EQ(hit ? hit->id : -1, row.id) << row.name;
    }
}

// Figures as the persons list writes them: hundredfold with one decimal and a point.
TEST(PersonPanel, NamesEachFigureAndWritesItAsThePersonsListDoes)
{
    THandlerState person{.kind = THandlerState::TKind::HomeareaPerson, .id = 7, .position = 0.54, .loadCount = 1,
                         .name = "Lara", .stepLength = 0.004, .fitness = 0.07, .state = TPersonState::Giving,
                         .loadWeight = 1.0, .inHomeArea = true, .homeStart = 0.1, .homeEnd = 0.2};
    EXPECT_EQ(PersonPanelText(person).toStdString(), "Lara\nZustand: gibt ab\nGeschwindigkeit: 0.4\nFitness: 7 %\n"
                                                     "Last: 100.0\nPosition: 54.0\nHeimbereich: 10.0 – 20.0");
    person.onBreak = true;
    person.inHomeArea = false;
    EXPECT_EQ(PersonPanelText(person).section(QLatin1Char('\n'), 1, 2).toStdString(),
              "Zustand: macht Pause!\nGeschwindigkeit: Pause!");
    EXPECT_TRUE(PersonPanelText(person).endsWith(QStringLiteral("Heimbereich: (nein)")));
}

// Persons are drawn one by one while each has a few columns to itself and the
// copy holds them all; otherwise as a crowd, whose bars are no persons to click.
TEST(DrawsCrowd, WhenThePersonsOutnumberTheColumnsOrTheCopyHoldsOnlySomeOfThem)
{
    const struct
    {
        std::int32_t persons;
        std::int32_t held;
        bool counted;
        std::int32_t width;
        bool crowd;
        bool named;
    } rows[] = {
        {11, 11, true, 523, false, true},      {11, 11, false, 523, false, true},
        {22, 22, true, 523, false, false},     {200, 200, true, 523, true, false},
        {200, 200, true, 1920, false, false},  {3000, 2000, true, 100'000, true, true},
        {3000, 2000, false, 100'000, false, true},
    };
    const TLevelTrail level({1.0});
    for (const auto& row : rows) {
        TChainState chain;
        chain.personCount = row.persons;
        for (std::int32_t i = 0; i < row.held; ++i)
            chain.handlers.push_back(Handler(THandlerState::TKind::Person, 4 + i, 0.5));
        if (row.counted)
            chain.crowd.Begin(0.0, 1.0);
        SCOPED_TRACE(std::to_string(row.persons) + " persons at " + std::to_string(row.width));
        EXPECT_EQ(DrawsCrowd(chain, row.width), row.crowd);
        EXPECT_EQ(NamesFit(chain, row.width), row.named);
        const TBarRect at = MapPosition(level.trail, row.width, 271, 0.5);
        EXPECT_EQ(PersonAt(level.trail, row.width, 271, chain, at.left, at.bottom) != nullptr, !row.crowd);
    }
}

// A click on the picture names the trail position drawn in its column.
TEST(PositionAt, UndoesTheColumnOfMapPositionWithinTheTrail)
{
    const TLevelTrail level({0.5, 0.5});
    const TLevelTrail empty({});
    const struct { const char* name; const TTrail* trail; int x; double position; } rows[] = {
        {"the first column", &level.trail, 0, 0.0},
        {"a quarter along", &level.trail, 129, 129.0 / 517.0},
        {"the last column", &level.trail, 517, 1.0},
        {"right of the trail's end", &level.trail, 522, 1.0},
        {"left of the trail's start", &level.trail, -3, 0.0},
        {"a trail without length", &empty.trail, 200, 0.0},
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(PositionAt(*row.trail, 523, row.x), row.position) << row.name;
        if (row.x >= 0 && row.x <= 517 && row.trail->GetLength() > 0.0) {
            EXPECT_EQ(MapPosition(*row.trail, 523, 271, row.position).left, row.x) << row.name;
        }
    }
}
