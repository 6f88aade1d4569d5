#include "model/clsLoadHandler.h"
#include "model/clsMoveLoop.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct TMoveEndRow
{
    const char* name;
    std::uint32_t seed;
    THandoverRule rule;
    TMoveOutcome outcome;
    // The step the loop ends in, its last hand-over and the loads delivered.
    std::int64_t step, lastHandover;
    std::int32_t delivered;
};

using MoveEnd = testing::TestWithParam<TMoveEndRow>;

} // namespace

// The built-in move with seed 22 stands still once a giver is chosen again and
// again by empty persons; under the finish rule the same move is delivered.
TEST_P(MoveEnd, TheLoopEndsTheBuiltInMoveWhereItFinishesOrStandsStill)
{
    const TMoveEndRow& row = GetParam();
    TScenarioDescription description = BuiltInMove();
    description.seed = row.seed;
    description.handover = row.rule;
    TZOManager objects;
    TScenario scenario(objects, description);
    TMoveLoop& loop = scenario.GetLoop();
    EXPECT_EQ(loop.GetStallSteps(), 12601) << "four slow crossings of the built-in trail, with breaks";
    const TMoveOutcome outcome = loop.RunUntilOver(5'000'000, [] { return true; });
    EXPECT_EQ(std::tuple(outcome, loop.GetStep(), loop.GetLastHandoverStep(), scenario.GetSink()->GetDeliveredCount()),
              std::tuple(row.outcome, row.step, row.lastHandover, row.delivered));
}

INSTANTIATE_TEST_SUITE_P(
    MoveLoop, MoveEnd,
    testing::ValuesIn(std::vector<TMoveEndRow>{
        {"BuiltIn", 5489, THandoverRule::Restart, TMoveOutcome::Finished, 221150, 221150, 666},
        {"Seed22Stalls", 22, THandoverRule::Restart, TMoveOutcome::Stalled, 64299, 51697, 161},
        {"Seed22FinishesUnderTheFinishRule", 22, THandoverRule::Finish, TMoveOutcome::Finished, 222003, 222003, 666}}),
    [](const testing::TestParamInfo<TMoveEndRow>& row) { return row.param.name; });
