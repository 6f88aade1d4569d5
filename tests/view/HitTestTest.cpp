#include "model/clsChainState.h"
#include "model/clsTrail.h"
#include "view/clsChainGeometry.h"
#include "view/clsPersonPanel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A flat trail of length 1 in a picture 206 pixels wide: position p stands in
// column p * 200 + 0.5 cut to an integer (0.26 in 52), every bar from row 143
// down to row 173.
constexpr std::int32_t Width = 206;
constexpr std::int32_t Height = 200;

THandlerState Handler(THandlerState::TKind kind, std::int32_t id, double position)
{
    THandlerState h;
    h.kind = kind;
    h.id = id;
    h.position = position;
    h.name = "P" + std::to_string(id);
    return h;
}

struct THitRow
{
    const char* name;
    std::int32_t x;
    std::int32_t y;
    // -1: nobody.
    std::int32_t id;
};

class HitTest : public testing::TestWithParam<THitRow>
{
protected:
    HitTest()
    {
        trail.AddSection(&section);
        using K = THandlerState::TKind;
        chain.handlers = {Handler(K::Source, 1, 0.0),           Handler(K::Person, 2, 0.25),
                          Handler(K::HomeareaPerson, 3, 0.26), Handler(K::Person, 4, 0.75),
                          Handler(K::Person, 5, 0.5),          Handler(K::Person, 6, 0.5)};
    }

    TObjectIds ids;
    TTrailSection section{ids, 1.0};
    TTrail trail{ids};
    TChainState chain;
};

} // namespace

TEST_P(HitTest, APointSelectsThePersonWhoseBarItTouches)
{
    const THitRow& row = GetParam();
    const THandlerState* hit = PersonAt(trail, Width, Height, chain, row.x, row.y);
    EXPECT_EQ(hit ? hit->id : -1, row.id);
}

INSTANTIATE_TEST_SUITE_P(
    ChainGeometry, HitTest,
    testing::Values(THitRow{"OnTheBar", 50, 150, 2},
                    THitRow{"OnTheNeighboursBar", 53, 150, 3},
                    THitRow{"NearerToTheLeftBar", 49, 150, 2},
                    THitRow{"NearerToTheRightBar", 52, 150, 3},
                    THitRow{"WithinTheGraceBeside", 55, 150, 3},
                    THitRow{"BeyondTheGraceBeside", 56, 150, -1},
                    THitRow{"WithinTheGraceAbove", 150, 140, 4},
                    THitRow{"BeyondTheGraceAbove", 150, 139, -1},
                    THitRow{"WithinTheGraceBelow", 150, 176, 4},
                    THitRow{"BeyondTheGraceBelow", 150, 177, -1},
                    THitRow{"TheSourceIsNoPerson", 0, 150, -1},
                    THitRow{"OfTwoInOnePlaceTheOneDrawnLast", 100, 150, 6}),
    [](const testing::TestParamInfo<THitRow>& row) { return std::string(row.param.name); });

TEST(PersonPanel, ShowsTheFiguresWithAPointWhateverTheLocale)
{
    THandlerState person = Handler(THandlerState::TKind::HomeareaPerson, 7, 0.125);
    person.name = "Lara";
    person.fitness = 0.87;
    person.loadCount = 1;
    person.loadWeight = 1.0;
    person.state = TPersonState::Giving;
    person.inHomeArea = true;
    person.homeStart = 0.1;
    person.homeEnd = 0.2;
    EXPECT_EQ(PersonPanelText(person).toStdString(),
              "Lara\nZustand: gibt ab\nFitness: 87 %\nLast: 1 (1.0)\nPosition: 0.125\nHeimbereich: 0.100 – 0.200");
    person.onBreak = true;
    person.inHomeArea = false;
    EXPECT_EQ(PersonPanelText(person).section(QLatin1Char('\n'), 1, 1).toStdString(), "Zustand: macht Pause!");
    EXPECT_TRUE(PersonPanelText(person).endsWith(QStringLiteral("Heimbereich: (nein)")));
}
