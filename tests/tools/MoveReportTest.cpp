#include "analysis/MoveReport.h"
#include "analysis/MoveRecorder.h"
#include "analysis/MoveRerun.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using A = TActivity;

// Two persons on a trail of 0.3 plain ground and a 0.2 flight of steps, which
// costs twice its length when carrying: one load is 0.7 of work. Speeds 0.2 and
// 0.5 carry 0.7 per step, so no chain of them delivers more than one load per
// step, 1500 per simulated minute.
TMoveLayout SmallMove()
{
    TMoveLayout layout;
    layout.trailLength = 0.5;
    layout.stock = 3;
    layout.stretches = {{.start = 0.0, .length = 0.3, .steps = false, .carryingFactor = 1.0},
                        {.start = 0.3, .length = 0.2, .steps = true, .carryingFactor = 0.5}};
    layout.persons = {{.id = 4, .name = "Fred", .speed = 0.2}, {.id = 5, .name = "Ferdi", .speed = 0.5}};
    return layout;
}

TPersonObservation Doing(A activity)
{
    return {.activity = activity, .carriesLoad = activity == A::Carrying || activity == A::Giving};
}

TPersonObservation Home(bool in, double lo = 0.0, double hi = 0.0)
{
    return {.inHomeArea = in, .homeStart = lo, .homeEnd = hi};
}

// Eight steps: the loads arrive after steps 2, 5 and 6.
TMoveRecord EightSteps()
{
    const std::vector<TPersonObservation> start = {Doing(A::WalkingEmpty), Home(true, 0.0, 0.5)};
    TMoveRecord record(SmallMove(), start);
    const std::vector<std::int32_t> delivered = {0, 1, 1, 1, 2, 3, 3, 3};
    const std::vector<A> fred = {A::Carrying, A::Carrying, A::Giving,  A::Giving,
                                 A::WalkingEmpty, A::Receiving, A::OnBreak, A::OnBreak};
    const std::vector<TPersonObservation> ferdi = {Home(true, 0.0, 0.5), Home(true, 0.0, 0.4), Home(false), Home(false),
                                                   Home(true, 0.2, 0.6), Home(true, 0.2, 0.6), Home(false), Home(true, 0.1, 0.5)};
    for (std::size_t s = 0; s < delivered.size(); ++s)
        record.Add(delivered[s], std::vector<TPersonObservation>{Doing(fred[s]), ferdi[s]});
    return record;
}

} // namespace

TEST(MoveReport, FiguresOfASmallMoveAndSimulatedTimesWorkedOutByHand)
{
    const TMoveReport r = SummariseMove(EightSteps());
    EXPECT_EQ(std::tie(r.steps, r.finishStep, r.delivered), std::make_tuple(8, 6, 3));

    // Quarters of two steps each: 1, 0, 2 and 0 loads.
    const std::int32_t loads[] = {1, 0, 2, 0};
    for (std::size_t q = 0; q < 4; ++q) {
        const TMoveReport::TQuarter& got = r.quarters[q];
        const auto first = 2 * static_cast<std::int64_t>(q) + 1;
        EXPECT_EQ(std::tie(got.firstStep, got.lastStep, got.delivered), std::make_tuple(first, first + 1, loads[q])) << q;
        EXPECT_DOUBLE_EQ(got.perMinute, loads[q] * 750.0) << q;
    }

    ASSERT_EQ(r.persons.size(), 2u);
    // Fred's shares carrying, walking empty, giving, receiving and on a break (whole halves and quarters).
    EXPECT_EQ(std::vector<double>(r.persons[0].share.begin(), r.persons[0].share.begin() + 5),
              std::vector<double>({25.0, 12.5, 25.0, 12.5, 25.0}));
    EXPECT_EQ(r.persons[0].breaks, 1);
    const TMoveReport::TPersonLine& ferdi = r.persons[1];
    EXPECT_EQ(std::tie(ferdi.founded, ferdi.givenUp, ferdi.moved), std::make_tuple(2, 2, 1));

    // Three loads in the six steps up to the last delivery: 750 a minute, half the bound.
    for (const auto& [got, want] : {std::pair{r.summedSpeed, 0.7}, {r.workPerLoad, 0.7}, {r.boundPerMinute, 1500.0},
                                    {r.perMinute, 750.0}, {r.percentOfBound, 50.0}})
        EXPECT_DOUBLE_EQ(got, want);

    std::ostringstream out;
    WriteMoveReport(r, out);
    for (const char* line : {"the last of 3 loads was delivered in step 6, after 0:00:00 of simulated time",
                             "quarter 3, steps 5 to 6: 2 loads, 1500.0 per minute",
                             "750.00 loads per simulated minute, 50 % of the upper bound of 1500.00"})
        EXPECT_NE(out.str().find(line), std::string::npos) << line << " in\n" << out.str();

    // Simulated time runs at 25 steps a second.
    const std::pair<std::int64_t, const char*> rows[] = {
        {24, "0:00:00"}, {25, "0:00:01"}, {89999, "0:59:59"}, {221150, "2:27:26"}, {2'250'000, "25:00:00"}};
    for (const auto& [steps, time] : rows)
        EXPECT_EQ(FormatSimulatedTime(steps), time) << steps;
}

TEST(MoveReport, AnUnfinishedOrEmptyMoveIsReportedWithoutDividingByZero)
{
    const std::vector<TPersonObservation> start(2);
    TMoveRecord record(SmallMove(), start);
    record.Add(0, start);
    record.Add(1, start);
    const TMoveReport r = SummariseMove(record);
    EXPECT_EQ(r.finishStep, -1);
    EXPECT_DOUBLE_EQ(r.perMinute, 750.0);

    std::ostringstream out;
    WriteMoveReport(r, out);
    for (const char* line : {"the move has not finished: 1 of 3 loads delivered after 2 steps", "quarter 1: no steps"})
        EXPECT_NE(out.str().find(line), std::string::npos) << out.str();

    TMoveLayout nothing;
    nothing.stock = 1;
    const TMoveReport empty = SummariseMove(TMoveRecord(nothing, {}));
    EXPECT_EQ(empty.perMinute + empty.boundPerMinute + empty.percentOfBound, 0.0) << "no steps, persons or trail";
}

// The window's report at the end of a move comes from the record its course
// run kept on the way: it reads as a fresh run's, for a move that finishes and
// for one that stands still (the built-in move with seed 22).
TEST(MoveReport, TheCourseRunsOwnRecordReportsTheMoveAsAFreshRunDoes)
{
    TScenarioDescription finishes = BuiltInMove(5);
    finishes.stock = 30;
    TScenarioDescription stalls = BuiltInMove();
    stalls.seed = 22;
    const std::atomic<bool> never{false};
    for (const TScenarioDescription& description : {finishes, stalls}) {
        TZOManager objects;
        TScenario scenario(objects, description);
        const TReportedCourse run = RunReportedCourse(scenario, never);
        ASSERT_TRUE(run.report.has_value());
        std::ostringstream fromCourse, fresh;
        WriteMoveReport(*run.report, fromCourse);
        WriteMoveReport(ReportMoveUpTo(description, run.course.endStep, never), fresh);
        EXPECT_EQ(fromCourse.str(), fresh.str()) << description.seed;
    }
}

// The bound is that of the persons on the trail at the start, whichever way
// it is worked out: from the description, from the chain at step 0 and from
// a run's record, which lists those who join later too.
TEST(MoveReport, TheBoundCountsThePersonsOnTheTrailAtTheStartNotThoseWhoJoinLater)
{
    TScenarioDescription base = BuiltInMove(5);
    base.stock = 30;
    const auto with = [&](std::int64_t step, bool join) {
        TScenarioDescription d = base;
        TScheduleEntry entry;
        entry.step = step;
        entry.kind = join ? TScheduleEntry::TKind::Join : TScheduleEntry::TKind::Leave;
        entry.join.count = 2;
        entry.join.speed = 0.0025;
        entry.leave = "Fred";
        d.schedule.push_back(entry);
        return d;
    };
    const auto boundsOf = [](const TScenarioDescription& d) {
        TZOManager objects;
        TScenario scenario(objects, d);
        const TMoveRecorder recorder(scenario);
        return std::vector<double>{BoundPerMinute(MoveLayoutOf(d)),
                                   BoundPerMinute(MoveLayoutOf(*scenario.GetChain(), *scenario.GetTrail(), d.stock)),
                                   BoundPerMinute(recorder.GetRecord().GetLayout())};
    };
    const double alone = boundsOf(base)[0];
    const struct { const char* what; TScenarioDescription description; int comparedWithAlone; } rows[] = {
        {"no schedule", base, 0},
        {"two join later", with(100, true), 0},
        {"two join at the start", with(0, true), 1},
        {"one leaves at the start", with(0, false), -1},
        {"one leaves later", with(100, false), 0},
    };
    for (const auto& row : rows) {
        const std::vector<double> bounds = boundsOf(row.description);
        EXPECT_EQ(bounds, std::vector<double>(3, bounds[0])) << row.what;
        EXPECT_EQ((bounds[0] > alone) - (bounds[0] < alone), row.comparedWithAlone) << row.what;
    }
}
