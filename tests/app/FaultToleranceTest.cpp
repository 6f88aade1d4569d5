// Faults the running program must survive: overrunning steps and closing
// while the simulation thread steps.
#include "app/frm_Main.h"
#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsTrail.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"
#include "view/frame_Zemba.h"

#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A handler whose step takes longer than the simulation's 40 ms period.
class TSlowHandler : public TLoadHandler
{
public:
    using TLoadHandler::TLoadHandler;
    double GetPosition() const override { return 0.0; }
    bool Step() override
    {
        std::this_thread::sleep_for(45ms);
        return true;
    }
};

TEST(Faults, AnOverrunningStepIsFollowedAtOnceAndTheViewShowsTheMark)
{
    TObjectIds ids;
    TBucketChain chain(ids);
    TLoadSource source(ids, 1.0, 0);
    TSlowHandler slow(ids);
    TLoadSink sink(ids, 1.0);
    chain.AddHandler(&source);
    chain.AddHandler(&slow);
    chain.AddHandler(&sink);
    TTrail trail(ids);
    TTrailSectionSteps section(ids, 1.0);
    trail.AddSection(&section);
    TChainPublisher publisher;
    TframeZemba view;
    view.SetTrail(&trail);
    view.SetChain(&chain);
    view.SetPublisher(&publisher);
    publisher.Publish(chain);
    const QImage withoutMark = view.RenderPicture(QSize(523, 271));

    TBCThread thread(true, &chain, &publisher);
    thread.Resume();
    EXPECT_TRUE(QTest::qWaitFor([&] { return publisher.Latest().overrun; }, 2000));
    const QImage withMark = view.RenderPicture(QSize(523, 271));
    thread.StopAndWait();

    // Only the rates' corner differs between the two pictures.
    EXPECT_NE(withMark.copy(0, 0, 120, 40), withoutMark.copy(0, 0, 120, 40));
    EXPECT_EQ(withMark.copy(0, 60, 523, 211), withoutMark.copy(0, 60, 523, 211));
}

TEST(Faults, ClosingTheWindowFiftyTimesWhileTheChainStepsJoinsTheThreadEachTime)
{
    for (int round = 0; round < 50; ++round) {
        TfrmMain window;
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.GetChain()->GetStepsPerSecond() > 0; }, 2000));
        QTest::qWait(30);

        const auto start = std::chrono::steady_clock::now();
        window.close();
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, 100ms) << "round " << round;
    }
}

} // namespace
