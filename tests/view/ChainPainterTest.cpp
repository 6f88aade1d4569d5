#include "view/clsChainPainter.h"

#include "PictureProbe.h"

#include "scenario/clsScenario.h"
#include "model/clsZOManager.h"
#include "view/clsChainGeometry.h"
#include "model/clsChainState.h"

#include <gtest/gtest.h>

namespace {

const QColor Green(0, 128, 0);
const QColor Aqua(0, 255, 255);

// One person (id 4, aqua) on the plain run-up of the scenario's trail, drawn
// at the main window's usual size: column 30, baseline row 244.
class PersonPicture : public testing::Test
{
protected:
    static constexpr int Column = 30;
    static constexpr int Baseline = 244;
    static constexpr QSize Size{523, 271};

    PersonPicture()
    {
        person.id = 4;
        person.position = 0.1;
        person.kind = THandlerState::TKind::Person;
        person.name = "Fred";
    }

    QImage Render()
    {
        chain.handlers = {person};
        return painter.Render(Size, scenario.GetTrail(), chain, 0);
    }

    TZOManager objects;
    TScenario scenario{objects};
    TChainPainter painter;
    TChainState chain;
    THandlerState person;
};

TEST_F(PersonPicture, BarShrinksWithTiredness)
{
    for (const auto& [fitness, pixels] : {std::pair{1.0, 30}, {0.5, 15}, {0.0, 0}}) {
        person.fitness = fitness;
        const auto bar = FindRowRun(Render(), Column, Aqua);
        EXPECT_EQ(bar ? bar->Length() : 0, pixels) << fitness;
        EXPECT_TRUE(!bar || bar->last == Baseline - 1) << fitness;
    }
}

TEST_F(PersonPicture, StacksLoadsAboveTheBarOneEverySevenRows)
{
    const QRect aboveBar(Column - 4, 0, 9, Baseline - BarHeight);
    EXPECT_EQ(CountPixels(Render(), aboveBar, TChainPainter::Load), 0);

    person.loadCount = 1;
    const QImage one = Render();
    const auto box = FindRowRun(one, Column, TChainPainter::Load);
    ASSERT_TRUE(box);
    EXPECT_LE(box->first, Baseline - BarHeight - 1);
    EXPECT_GE(box->last, Baseline - BarHeight + 2);

    person.loadCount = 2;
    const auto stack = FindRowRun(Render(), Column, TChainPainter::Load);
    ASSERT_TRUE(stack);
    EXPECT_EQ(stack->first, box->first - 7);
    EXPECT_EQ(stack->last, box->last);
}

TEST_F(PersonPicture, DrawsTheHomeAreaDottedTwelveRowsBelowItsLowerEnd)
{
    // From the plain run-up up the first flight onto the second: the start's
    // baseline is the lower one.
    person.homeStart = 0.05;
    person.homeEnd = 0.6;
    const int from = MapPosition(*scenario.GetTrail(), Size.width(), Size.height(), 0.05).left;
    const int to = MapPosition(*scenario.GetTrail(), Size.width(), Size.height(), 0.6).left;
    const int lineRow = Baseline + 12;
    const QRect line(from, lineRow, to - from + 1, 1);
    const QRect everywhere(0, 0, Size.width(), Size.height());

    const int barOnly = CountPixels(Render(), everywhere, Aqua);
    EXPECT_EQ(CountPixels(Render(), line, Aqua), 0) << "no line without a home area";

    person.inHomeArea = true;
    const QImage picture = Render();
    const int dots = CountPixels(picture, line, Aqua);
    EXPECT_GT(dots, line.width() / 4);
    EXPECT_LT(dots, line.width()) << "dotted, not solid";
    EXPECT_EQ(CountPixels(picture, everywhere, Aqua), barOnly + dots) << "straight, on one row";
}

TEST(ChainPicture, ClipsTheSourceStockInsteadOfScalingIt)
{
    TZOManager objects;
    TScenario scenario(objects);
    TChainState chain;
    chain.handlers.resize(1);
    chain.handlers[0].id = 2;
    chain.handlers[0].loadCount = 666;
    const QImage picture = TChainPainter().Render(QSize(523, 271), scenario.GetTrail(), chain, 0);
    const auto bar = FindRowRun(picture, 0, Green);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->last, 243) << "the bar stands on the baseline";

    // The first box reaches 3 rows into the bar's top (row 214); from there up
    // to row 0 every seventh row is a gap between two boxes.
    const auto stack = FindRowRun(picture, 0, TChainPainter::Load);
    ASSERT_TRUE(stack);
    EXPECT_EQ(stack->first, 0);
    ASSERT_EQ(stack->last, 217);
    for (int y = 0; y <= stack->last; ++y) {
        const bool gap = (stack->last - 6 - y) % 7 == 0;
        EXPECT_EQ(picture.pixelColor(0, y) == TChainPainter::Load, !gap) << "row " << y;
    }
}

} // namespace
