// Faults the running program must survive: overrunning steps, a calendar clock
// that jumps, a user-interface thread that hangs, and closing while the
// simulation thread steps.
#include "scenario/clsScenario.h"
#include "app/frm_Main.h"
#include "model/clsBucketChain.h"
#include "model/clsChainChecker.h"
#include "model/clsLoadHandler.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "view/frame_Zemba.h"

#include <QEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A handler whose step takes longer than the simulation's 40 ms period.
class TSlowHandler : public TLoadHandler
{
public:
    double GetPosition() const override { return 0.0; }
    bool Step() override
    {
        std::this_thread::sleep_for(45ms);
        return true;
    }
};

TEST(Faults, AnOverrunningStepIsFollowedAtOnceAndTheViewShowsTheMark)
{
    TBucketChain chain;
    TLoadSource source(1.0, 0);
    TSlowHandler slow;
    TLoadSink sink(1.0);
    chain.AddHandler(&source);
    chain.AddHandler(&slow);
    chain.AddHandler(&sink);
    TTrail trail;
    TTrailSectionSteps section(1.0);
    trail.AddSection(&section);
    TframeZemba view;
    view.SetTrail(&trail);
    view.SetChain(&chain);
    const QImage withoutMark = view.RenderPicture(QSize(523, 271));

    TBCThread thread(true, &chain);
    thread.Resume();
    EXPECT_TRUE(QTest::qWaitFor([&] { return chain.overrun.load(); }, 2000));
    const QImage withMark = view.RenderPicture(QSize(523, 271));
    thread.StopAndWait();

    // Only the rates' corner differs between the two pictures.
    EXPECT_NE(withMark.copy(0, 0, 120, 40), withoutMark.copy(0, 0, 120, 40));
    EXPECT_EQ(withMark.copy(0, 60, 523, 211), withoutMark.copy(0, 60, 523, 211));
}

// A calendar clock that a test moves by hand.
struct TFakeCalendar
{
    std::time_t now = 1'000'000;
    TRateCounter::TCalendarClock Clock()
    {
        return [this] { return now; };
    }
};

// Counts 25 events in each of the given seconds; returns the figure after each second.
template <typename Count, typename Figure>
std::vector<std::int32_t> RunSeconds(TFakeCalendar& calendar, int seconds, Count count, Figure figure)
{
    std::vector<std::int32_t> figures;
    for (int s = 0; s < seconds; ++s) {
        ++calendar.now;
        for (int event = 0; event < 25; ++event)
            count();
        figures.push_back(figure());
    }
    return figures;
}

// Three steady seconds, a jump of the calendar by hours either way, three more
// seconds: no figure ever exceeds what a second holds, and the second full
// second after the jump reads 25 again.
template <typename Rate>
void ExpectRecoveryFromCalendarJumps()
{
    for (const std::time_t jump : {-3 * 3600, +5 * 3600}) {
        TFakeCalendar calendar;
        Rate rate(calendar.Clock());
        RunSeconds(calendar, 3, [&] { rate.Count(); }, [&] { return rate.Figure(); });

        calendar.now += jump;
        const std::vector<std::int32_t> after =
            RunSeconds(calendar, 3, [&] { rate.Count(); }, [&] { return rate.Figure(); });
        for (const std::int32_t f : after)
            EXPECT_TRUE(f >= 0 && f <= 25) << "jump " << jump << ": " << f;
        EXPECT_EQ(after[1], 25) << "jump " << jump;
    }
}

struct TStepRate
{
    TBucketChain chain;
    explicit TStepRate(TRateCounter::TCalendarClock clock) : chain(std::move(clock)) {}
    void Count() { chain.Step(); }
    std::int32_t Figure() const { return chain.GetStepsPerSecond(); }
};

struct TFrameRate
{
    TframeZemba view;
    explicit TFrameRate(TRateCounter::TCalendarClock clock) { view.SetCalendarClock(std::move(clock)); }
    void Count() { view.timerTimer(); }
    std::int32_t Figure() const { return view.GetFramesPerSecond(); }
};

TEST(Faults, TheStepRateStaysSaneAndRecoversWhenTheCalendarJumps)
{
    ExpectRecoveryFromCalendarJumps<TStepRate>();
}

TEST(Faults, TheFrameRateStaysSaneAndRecoversWhenTheCalendarJumps)
{
    ExpectRecoveryFromCalendarJumps<TFrameRate>();
}

// Counts the paint events a widget receives.
class TPaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST(Faults, AHungUserInterfaceLosesNothingAndTheViewCatchesUpInOneFrame)
{
    TfrmMain window;
    window.show();
    TBucketChain& chain = *window.GetChain();
    auto* view = window.findChild<TframeZemba*>("fu");
    auto* paintBox = view ? view->findChild<QWidget*>("pb") : nullptr;
    ASSERT_NE(paintBox, nullptr);
    TPaintCounter counter;
    paintBox->installEventFilter(&counter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chain.GetStepsPerSecond() > 1; }, 3000));

    std::this_thread::sleep_for(2s); // the user-interface thread hangs; the simulation goes on

    EXPECT_GE(chain.GetStepsPerSecond(), 20);
    // Fifty steps of moves are waiting; the next tick draws them in one picture.
    EXPECT_TRUE(view->IsRedrawPending());
    const int paintsBefore = counter.paints;
    view->timerTimer();
    EXPECT_EQ(counter.paints, paintsBefore + 1);

    const std::lock_guard guard(chain.GetStepGuard());
    const auto* source = dynamic_cast<const TLoadSource*>(chain.GetHandler(0));
    const auto* sink = dynamic_cast<const TLoadSink*>(chain.GetHandler(chain.GetHandlerCount() - 1));
    ASSERT_TRUE(source && sink);
    EXPECT_EQ(TChainChecker(chain, *source, *sink, 666).Check(), "");
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
