#include "view/frame_Zemba.h"

#include "PictureProbe.h"

#include "model/clsBucketChain.h"
#include "model/clsChainState.h"
#include "model/clsHomeareaPerson.h"
#include "model/clsLoadHandler.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenario.h"
#include "view/clsChainGeometry.h"
#include "view/clsChainPainter.h"

#include <QEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr QSize UsualSize{523, 271};
const QColor Aqua(0, 255, 255);

// One person (id 4, aqua) on the plain run-up of the scenario's trail, drawn
// at the main window's usual size: column 30, baseline row 244.
class PersonPicture : public testing::Test
{
protected:
    static constexpr int Column = 30;
    static constexpr int Baseline = 244;

    QImage Render()
    {
        chain.handlers = {person};
        return TChainPainter().Render(UsualSize, scenario.GetTrail(), chain, 0);
    }

    TZOManager objects;
    TScenario scenario{objects};
    TChainState chain;
    THandlerState person{.kind = THandlerState::TKind::Person, .id = 4, .position = 0.1, .name = {}};
};

TEST_F(PersonPicture, LoadsStackAboveTheBarEverySevenRowsAndTheBarShrinksWithTiredness)
{
    EXPECT_EQ(CountPixels(Render(), QRect(Column - 4, 0, 9, Baseline - BarHeight), TChainPainter::Load), 0);
    person.loadCount = 1;
    const auto box = FindRowRun(Render(), Column, TChainPainter::Load);
    ASSERT_TRUE(box);
    EXPECT_LE(box->first, Baseline - BarHeight - 1);
    EXPECT_GE(box->last, Baseline - BarHeight + 2);
    person.loadCount = 2;
    const auto stack = FindRowRun(Render(), Column, TChainPainter::Load);
    ASSERT_TRUE(stack);
    EXPECT_EQ(std::make_pair(stack->first, stack->last), std::make_pair(box->first - 7, box->last));
    person.loadCount = 0;

    for (const auto& [fitness, pixels] : {std::pair{1.0, 30}, {0.5, 15}, {0.0, 0}}) {
        person.fitness = fitness;
        const auto bar = FindRowRun(Render(), Column, Aqua);
        EXPECT_EQ(bar ? bar->Length() : 0, pixels) << fitness;
        EXPECT_TRUE(!bar || bar->last == Baseline - 1) << fitness;
    }
}

// A crowd is a bar per pixel column, as high as its persons against the
// busiest column's, stacked by what they do: carriers at the bottom.
TEST_F(PersonPicture, ACrowdIsABarPerColumnAsHighAsItsShareStackedByWhatThePersonsDo)
{
    chain.personCount = 3000;
    chain.crowd.Begin(0.0, scenario.GetTrail()->GetLength());
    const auto add = [&](double position, TCrowdActivity activity, int count) {
        THandlerState someone{.kind = THandlerState::TKind::Person, .position = position, .name = {}};
        someone.loadCount = activity == TCrowdActivity::Carrying ? 1 : 0;
        someone.onBreak = activity == TCrowdActivity::Resting;
        for (int i = 0; i < count; ++i)
            chain.crowd.Add(someone);
    };
    add(0.1, TCrowdActivity::Carrying, 60);
    add(0.1, TCrowdActivity::Resting, 40);
    add(0.2, TCrowdActivity::Empty, 50);
    TChainPainter painter;
    painter.SetRatesShown(false);
    const QImage picture = painter.Render(UsualSize, scenario.GetTrail(), chain, 0);

    const auto columnOf = [&](double position) {
        const auto bin = static_cast<std::int32_t>(position / chain.crowd.to * TCrowdDensity::BinCount);
        return MapPosition(*scenario.GetTrail(), UsualSize.width(), UsualSize.height(), chain.crowd.PositionOf(bin));
    };
    const TBarRect busiest = columnOf(0.1);
    const auto carriers = FindRowRun(picture, busiest.left, TChainPainter::CrowdColour(TCrowdActivity::Carrying));
    const auto resting = FindRowRun(picture, busiest.left, TChainPainter::CrowdColour(TCrowdActivity::Resting));
    ASSERT_TRUE(carriers && resting);
    EXPECT_EQ(carriers->last, busiest.bottom - 1);
    EXPECT_EQ(carriers->Length(), 18);
    EXPECT_EQ(resting->last, carriers->first - 1);
    EXPECT_EQ(resting->first, busiest.bottom - BarHeight);
    const auto empty = FindRowRun(picture, columnOf(0.2).left, TChainPainter::CrowdColour(TCrowdActivity::Empty));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Length(), BarHeight / 2);
}

TEST_F(PersonPicture, ClipsTheSourceStockInsteadOfScalingIt)
{
    person = {.id = 2, .loadCount = 666, .name = {}};
    const QImage picture = Render();
    const auto bar = FindRowRun(picture, 0, QColor(0, 128, 0));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->last, Baseline - 1) << "the bar stands on the baseline";
    // The first box reaches 3 rows into the bar's top (row 214); from there up
    // to row 0 every seventh row is a gap between two boxes.
    const auto stack = FindRowRun(picture, 0, TChainPainter::Load);
    ASSERT_TRUE(stack);
    ASSERT_EQ(std::make_pair(stack->first, stack->last), std::make_pair(0, 217));
    for (int y = 0; y <= stack->last; ++y)
        EXPECT_EQ(picture.pixelColor(0, y) == TChainPainter::Load, (stack->last - 6 - y) % 7 != 0) << "row " << y;
}

struct TPaintCounter final : QObject
{
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override { count += event->type() == QEvent::Paint ? 1 : 0; return false; }
};

// The first person (id 4) makes every step take longer than the simulation's period.
struct TSlowPerson : THomeareaPerson
{
    using THomeareaPerson::THomeareaPerson;
    bool Step() override
    {
        if (GetId() == 4)
            std::this_thread::sleep_for(std::chrono::milliseconds(TStepPacer::PeriodMs + 20));
        return THomeareaPerson::Step();
    }
};

// The scenario, whose steps all overrun, with the frame attached as the main
// window attaches it. The frame's own timer is stopped: the tests tick it themselves.
class ScenarioFrame : public testing::Test
{
protected:
    ScenarioFrame()
        : scenario(objects, BuiltInMove(), [](TObjectIds& ids, std::string name) -> std::unique_ptr<TPerson> {
            return std::make_unique<TSlowPerson>(ids, std::move(name));
        })
    {
        frame.SetTrail(scenario.GetTrail());
        frame.SetChain(scenario.GetChain());
        frame.SetPublisher(&publisher);
        frame.findChild<QTimer*>(QStringLiteral("timer"))->stop();
    }

    // Shows the frame, so that its paint box can be painted, and counts the box's paints.
    void ShowFrame()
    {
        frame.resize(UsualSize);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.findChild<QWidget*>(QStringLiteral("pb"))->installEventFilter(&paints);
    }

    TLoadHandler* FirstPerson() const { return scenario.GetChain()->GetHandler(1); }

    TZOManager objects;
    TScenario scenario;
    TChainPublisher publisher;
    TframeZemba frame;
    TPaintCounter paints;
};

TEST_F(ScenarioFrame, PictureShowsSourceSinkTrailRatesAndTheOverrunMark)
{
    // Move the persons off the source, which they would otherwise cover.
    TBucketChain* chain = scenario.GetChain();
    for (int i = 1; i < chain->GetHandlerCount() - 1; ++i)
        static_cast<TPerson*>(chain->GetHandler(i))->SetPosition(1.0);
    publisher.Publish(scenario.GetLoop());

    const QImage picture = frame.RenderPicture(UsualSize);

    EXPECT_EQ(picture.pixelColor(0, 230), TChainPainter::HandlerColour(scenario.GetSource()->GetId()));
    EXPECT_EQ(picture.pixelColor(517, 15), TChainPainter::HandlerColour(scenario.GetSink()->GetId()));
    EXPECT_EQ(CountPixels(picture, QRect(521, 0, 2, 271), TChainPainter::Background), 2 * 271)
        << "nothing lies right of the trail's end";
    // Line edges fall on either side of a pixel boundary: look within one pixel.
    EXPECT_GT(CountPixels(picture, QRect(44, 243, 3, 3), TChainPainter::LevelSection), 0) << "the plain run-up";
    EXPECT_GT(CountPixels(picture, QRect(117, 221, 3, 3), TChainPainter::RisingSection), 0) << "the first flight";
    EXPECT_LT(CountPixels(picture, QRect(5, 10, 80, 26), TChainPainter::Background), 80 * 26 - 40) << "the rates";

    // An overrun is marked beside the rates, and nothing else changes.
    chain->overrun = true;
    publisher.Publish(scenario.GetLoop());
    const QImage marked = frame.RenderPicture(UsualSize);
    EXPECT_NE(marked.copy(0, 0, 120, 40), picture.copy(0, 0, 120, 40));
    EXPECT_EQ(marked.copy(0, 40, 523, 231), picture.copy(0, 40, 523, 231));
}

// The timer draws the picture only when a move has made it stale, once for any number of moves.
TEST_F(ScenarioFrame, OnlyAMoveThatHasHappenedMarksThePictureStaleAndTheTimerTickDrawsOnlyAStalePicture)
{
    EXPECT_TRUE(frame.IsRedrawPending()) << "attaching the scenario";
    ShowFrame();
    frame.timerTimer();
    ASSERT_FALSE(frame.IsRedrawPending());
    paints.count = 0;
    frame.timerTimer();
    EXPECT_EQ(paints.count, 0);

    TBucketChain* chain = scenario.GetChain();
    chain->HandlerMoving(FirstPerson(), TBucketChain::PhaseMoving);
    frame.OnHandlerMove(FirstPerson(), 7);
    EXPECT_FALSE(frame.IsRedrawPending()) << "a move not yet made, and an unknown phase";
    chain->HandlerMoving(FirstPerson(), TBucketChain::PhaseMoved);
    frame.OnHandlerMove(FirstPerson(), TBucketChain::PhaseMoved);
    EXPECT_TRUE(frame.IsRedrawPending());
    frame.timerTimer();
    EXPECT_EQ(paints.count, 1);
    EXPECT_FALSE(frame.IsRedrawPending());
    frame.timerTimer();
    EXPECT_EQ(paints.count, 1);
}

// Every step overruns and is followed at once by the next; the view must
// still draw within a few periods each time, from the newest published state.
TEST_F(ScenarioFrame, DrawsWithinAFewPeriodsWhileEveryStepOverruns)
{
    ShowFrame();
    TBCThread simulation(false, &scenario.GetLoop(), &publisher);
    const auto start = std::chrono::steady_clock::now();
    auto longest = std::chrono::steady_clock::duration::zero();
    int pictures = 0;
    while (std::chrono::steady_clock::now() - start < 2s) {
        const auto before = std::chrono::steady_clock::now();
        frame.timerTimer();
        pictures += !frame.RenderPicture(UsualSize).isNull();
        longest = std::max(longest, std::chrono::steady_clock::now() - before);
    }
    simulation.StopAndWait();
    EXPECT_LT(longest, 500ms) << "a busy shared machine may delay a call; a waiting one took minutes";
    EXPECT_GT(pictures, 20);
    EXPECT_GT(paints.count, 0);
    EXPECT_TRUE(publisher.Latest().overrun);
    EXPECT_GT(publisher.Latest().step, 5) << "the chain went on stepping";
}

} // namespace
