#include "view/frame_Zemba.h"

#include "PictureProbe.h"

#include "model/clsBucketChain.h"
#include "model/clsHomeareaPerson.h"
#include "model/clsLoadHandler.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenario.h"
#include "view/clsChainPainter.h"

#include <QEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr QSize UsualSize{523, 271};

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// The first person (id 4) makes every step take longer than the simulation's period.
class TSlowPerson : public THomeareaPerson
{
public:
    using THomeareaPerson::THomeareaPerson;
    bool Step() override
    {
        if (GetId() == 4)
            std::this_thread::sleep_for(std::chrono::milliseconds(TStepPacer::PeriodMs + 20));
        return THomeareaPerson::Step();
    }
};

// The scenario with the frame attached as the main window attaches it. The
// frame's own timer is stopped: the tests tick it themselves.
class ScenarioFrame : public testing::Test
{
protected:
    explicit ScenarioFrame(const TScenario::TPersonFactory& makePerson = {})
        : scenario(objects, BuiltInMove(), makePerson)
    {
        frame.SetTrail(scenario.GetTrail());
        frame.SetChain(scenario.GetChain());
        frame.SetPublisher(&publisher);
        frame.findChild<QTimer*>(QStringLiteral("timer"))->stop();
    }

    // Shows the frame on screen, so that its paint box can be painted, and
    // starts counting the paint box's paint events.
    void ShowFrame()
    {
        frame.resize(UsualSize);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        paintBox = frame.findChild<QWidget*>(QStringLiteral("pb"));
        ASSERT_NE(paintBox, nullptr);
        paintBox->installEventFilter(&paints);
    }

    TLoadHandler* FirstPerson() const { return scenario.GetChain()->GetHandler(1); }

    TZOManager objects;
    TScenario scenario;
    TChainPublisher publisher;
    TframeZemba frame;
    QWidget* paintBox = nullptr;
    PaintCounter paints;
};

class OverrunningFrame : public ScenarioFrame
{
protected:
    OverrunningFrame()
        : ScenarioFrame([](TObjectIds& ids, std::string name) -> std::unique_ptr<TPerson> {
            return std::make_unique<TSlowPerson>(ids, std::move(name));
        })
    {
    }
};

TEST_F(ScenarioFrame, PictureShowsSourceSinkTrailRatesAndTheOverrunMark)
{
    // Move the persons off the source, which they would otherwise cover.
    TBucketChain* chain = scenario.GetChain();
    for (int i = 1; i < chain->GetHandlerCount() - 1; ++i)
        static_cast<TPerson*>(chain->GetHandler(i))->SetPosition(1.0);
    publisher.Publish(*chain);

    const QImage picture = frame.RenderPicture(UsualSize);
    ASSERT_EQ(picture.size(), UsualSize);

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
    publisher.Publish(*chain);
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
TEST_F(OverrunningFrame, DrawsWithinAFewPeriodsWhileEveryStepOverruns)
{
    ShowFrame();
    TBCThread simulation(false, scenario.GetChain(), &publisher);
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
