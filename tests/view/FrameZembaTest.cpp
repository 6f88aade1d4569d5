#include "view/frame_Zemba.h"

#include "PictureProbe.h"

#include "scenario/clsScenario.h"
#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsZOManager.h"
#include "view/clsChainPainter.h"

#include <QEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <mutex>
#include <thread>

namespace {

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

// The scenario with the frame attached as the main window attaches it. The
// frame's own timer is stopped: the tests tick it themselves.
class ScenarioFrame : public testing::Test
{
protected:
    ScenarioFrame()
    {
        frame.SetTrail(scenario.GetTrail());
        frame.SetChain(scenario.GetChain());
        frame.findChild<QTimer*>(QStringLiteral("timer"))->stop();
        frame.SetCalendarClock([this] { return now; });
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
    TScenario scenario{objects};
    TframeZemba frame;
    std::time_t now = 1000;
    QWidget* paintBox = nullptr;
    PaintCounter paints;
};

TEST_F(ScenarioFrame, PictureShowsSourceSinkTrailAndRates)
{
    // Move the persons off the source, which they would otherwise cover.
    TBucketChain* chain = scenario.GetChain();
    for (int i = 1; i < chain->GetHandlerCount() - 1; ++i)
        static_cast<TPerson*>(chain->GetHandler(i))->SetPosition(1.0);

    const QImage picture = frame.RenderPicture(UsualSize);
    ASSERT_EQ(picture.size(), UsualSize);

    EXPECT_EQ(picture.pixelColor(0, 230), TChainPainter::HandlerColour(scenario.GetSource()->GetId()));
    EXPECT_EQ(picture.pixelColor(517, 15), TChainPainter::HandlerColour(scenario.GetSink()->GetId()));
    EXPECT_EQ(CountPixelsOtherThan(picture, QRect(521, 0, 2, UsualSize.height()), TChainPainter::Background), 0)
        << "nothing lies right of the trail's end";

    EXPECT_TRUE(HasColourNear(picture, 45, 244, TChainPainter::LevelSection)) << "the plain run-up";
    EXPECT_TRUE(HasColourNear(picture, 118, 222, TChainPainter::RisingSection)) << "the first flight";

    EXPECT_GT(CountPixelsOtherThan(picture, QRect(5, 10, 80, 26), TChainPainter::Background), 40);
}

TEST(UnattachedFrame, PaintsBeforeTheScenarioIsAttached)
{
    TframeZemba frame;
    EXPECT_FALSE(frame.IsRedrawPending()) << "the timer has nothing to draw yet";
    const QImage picture = frame.RenderPicture(UsualSize);
    EXPECT_EQ(picture.pixelColor(300, 200), TChainPainter::Background);
    EXPECT_TRUE(frame.RenderPicture(QSize(0, 0)).isNull());
}

TEST_F(ScenarioFrame, OnlyAMoveThatHasHappenedMarksThePictureStale)
{
    EXPECT_TRUE(frame.IsRedrawPending()) << "attaching the scenario";
    frame.timerTimer();
    ASSERT_FALSE(frame.IsRedrawPending());

    TBucketChain* chain = scenario.GetChain();
    chain->HandlerMoving(FirstPerson(), TBucketChain::PhaseMoving);
    EXPECT_FALSE(frame.IsRedrawPending());
    chain->HandlerMoving(FirstPerson(), TBucketChain::PhaseMoved);
    EXPECT_TRUE(frame.IsRedrawPending());

    frame.timerTimer();
    frame.OnHandlerMove(FirstPerson(), 7);
    EXPECT_FALSE(frame.IsRedrawPending()) << "an unknown phase";
}

TEST_F(ScenarioFrame, TimerTickDrawsOnlyAStalePicture)
{
    ShowFrame();
    frame.timerTimer();
    paints.count = 0;

    frame.timerTimer();
    EXPECT_EQ(paints.count, 0);

    frame.OnHandlerMove(FirstPerson(), TBucketChain::PhaseMoved);
    frame.OnHandlerMove(FirstPerson(), TBucketChain::PhaseMoved);
    frame.timerTimer();
    EXPECT_EQ(paints.count, 1) << "one picture for any number of moves";
    EXPECT_FALSE(frame.IsRedrawPending());

    frame.timerTimer();
    EXPECT_EQ(paints.count, 1);
}

TEST_F(ScenarioFrame, FramesPerSecondCountsEveryTickOfTheLastCompletedSecond)
{
    EXPECT_EQ(frame.GetFramesPerSecond(), 0);
    frame.timerTimer();
    EXPECT_EQ(frame.GetFramesPerSecond(), 1) << "the first tick closes the second before it";

    // Ticks that draw and ticks that do not count alike.
    frame.timerTimer();
    frame.OnHandlerMove(FirstPerson(), TBucketChain::PhaseMoved);
    frame.timerTimer();
    frame.timerTimer();
    EXPECT_EQ(frame.GetFramesPerSecond(), 1) << "until the second changes";

    ++now;
    frame.timerTimer();
    EXPECT_EQ(frame.GetFramesPerSecond(), 4) << "three ticks and the one that saw the new second";

    now += 5;
    frame.timerTimer();
    EXPECT_EQ(frame.GetFramesPerSecond(), 1);
}

TEST_F(ScenarioFrame, PaintRequestsDrawButLeaveFlagAndFrameCountAlone)
{
    ShowFrame();
    frame.timerTimer();
    ASSERT_EQ(frame.GetFramesPerSecond(), 1);
    frame.OnHandlerMove(FirstPerson(), TBucketChain::PhaseMoved);
    paints.count = 0;

    paintBox->repaint();
    paintBox->repaint();
    EXPECT_EQ(paints.count, 2);
    EXPECT_TRUE(frame.IsRedrawPending());

    ++now;
    frame.timerTimer();
    EXPECT_EQ(frame.GetFramesPerSecond(), 1) << "only the tick is counted";
}

TEST_F(ScenarioFrame, DrawsWhileTheSimulationStepsOnAnotherThread)
{
    ShowFrame();
    TBucketChain* chain = scenario.GetChain();
    std::atomic<bool> done{false};
    std::thread simulation([chain, &done] {
        for (int i = 0; i < 400; ++i) {
            const std::lock_guard guard(chain->GetStepGuard());
            chain->Step();
        }
        done = true;
    });

    int pictures = 0;
    while (!done || pictures < 20) {
        frame.timerTimer();
        if (!frame.RenderPicture(UsualSize).isNull())
            ++pictures;
    }
    simulation.join();

    EXPECT_GT(paints.count, 0);
    EXPECT_LT(scenario.GetSource()->GetLoadCount(), scenario.GetInitialStock()) << "the persons took loads";
}

} // namespace
