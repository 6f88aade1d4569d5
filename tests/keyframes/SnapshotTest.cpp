// A move restored from a snapshot and stepped on must be the move that ran
// straight there, to the last bit: at random steps of the built-in move, of
// every scenario file and of a chain of 110, from snapshots taken up to a few
// thousand steps before.
#include "analysis/TraceWriter.h"
#include "model/clsBucketChain.h"
#include "model/clsPerson.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// The sanitizers step ten to twenty times slower: fewer steps, fewer checks.
constexpr std::int64_t StepLimit = 6'000;
constexpr int Checks = 12;
#else
constexpr std::int64_t StepLimit = 400'000;
constexpr int Checks = 50;
#endif
// How far before a checked step its snapshot is taken, at most.
constexpr std::int64_t LongestGap = 3'000;
// Every few checks falls into the start crowd, where many stand at equal positions.
constexpr std::int64_t StartCrowd = 2'000;

struct TMoveCase
{
    std::string name;
    TScenarioDescription description;
    // Where the straight run stops if the move is not over by then.
    std::int64_t limit = StepLimit;
};

void PrintTo(const TMoveCase& move, std::ostream* out)
{
    *out << move.name;
}

// The built-in move with persons joining and leaving early on, several at one step.
TScenarioDescription ScheduledMove()
{
    using TKind = TScheduleEntry::TKind;
    TScenarioDescription move = BuiltInMove();
    TPersonGroup two;
    two.count = 2;
    two.speed = 0.0025;
    TPersonGroup one = two;
    one.count = 1;
    one.position = 1.0;
    move.schedule = {{300, false, TKind::Join, two, {}}, {600, false, TKind::Leave, {}, "Fred"},
                     {4'000, false, TKind::Leave, {}, TPerson::TableName(11)}, {4'000, false, TKind::Join, one, {}},
                     {9'000, false, TKind::Leave, {}, "Lotte"}};
    return move;
}

std::vector<TMoveCase> Moves()
{
    std::vector<TMoveCase> moves{{"built_in", BuiltInMove()}, {"persons_110", BuiltInMove(110), 20'000},
                                 {"schedule", ScheduledMove(), 20'000}};
    for (const auto& entry : std::filesystem::directory_iterator(ZEMBA_SCENARIOS_DIR)) {
        std::string name = entry.path().stem().string();
        std::replace(name.begin(), name.end(), '-', '_');
        moves.push_back({"file_" + name, ReadScenarioFile(entry.path().string())});
    }
    for (TMoveCase& move : moves)
        move.limit = std::min(move.limit, StepLimit);
    return moves;
}

// What a run shows at its step: the trace's rows, and what its loop has
// decided and sampled.
std::string Observed(const TScenario& scenario)
{
    const TMoveLoop& loop = scenario.GetLoop();
    std::ostringstream out;
    TTraceWriter(out).WriteStep(loop.GetStep(), *scenario.GetChain());
    out << "outcome " << int(loop.GetOutcome()) << ", last hand-over " << loop.GetLastHandoverStep() << ", curve";
    for (const TDeliveryPoint& point : loop.GetDeliveries())
        out << ' ' << point.step << ':' << point.delivered;
    return out.str();
}

struct TCheck
{
    std::int64_t from = 0;
    std::int64_t at = 0;
};

using SnapshotExactness = testing::TestWithParam<TMoveCase>;

TEST_P(SnapshotExactness, ARestoredSnapshotSteppedOnShowsWhatTheStraightRunShows)
{
    const TMoveCase& move = GetParam();
    TZOManager objects;
    TScenario straight(objects, move.description);
    TMoveLoop& loop = straight.GetLoop();
    const std::int64_t end = [&] {
        TZOManager ownObjects;
        TScenario probe(ownObjects, move.description);
        probe.GetLoop().RunUntilOver(move.limit, [] { return true; });
        return probe.GetLoop().GetStep();
    }();

    std::mt19937 random(31);
    std::vector<TCheck> checks;
    for (int i = 0; i < Checks; ++i) {
        const std::int64_t upTo = i % 5 == 0 ? std::min(end, StartCrowd) : end;
        const std::int64_t at = std::uniform_int_distribution<std::int64_t>(0, upTo)(random);
        const std::int64_t gap = i % 7 == 0 ? 0 : std::uniform_int_distribution<std::int64_t>(0, LongestGap)(random);
        checks.push_back({std::max<std::int64_t>(0, at - gap), at});
    }
    checks.push_back({end, end});

    // One straight run, taking the snapshots and the observations on its way.
    std::map<std::int64_t, TScenarioSnapshot> snapshots;
    std::map<std::int64_t, std::string> expected;
    std::vector<std::int64_t> stops;
    for (const TCheck& check : checks)
        stops.insert(stops.end(), {check.from, check.at});
    std::sort(stops.begin(), stops.end());
    for (const std::int64_t stop : stops) {
        loop.RunSteps(stop, [] { return true; });
        snapshots.try_emplace(stop, straight.TakeSnapshot());
        expected.try_emplace(stop, Observed(straight));
    }

    // Every other restore goes into a scenario left at another step by the one before.
    TZOManager reusedObjects;
    TScenario reused(reusedObjects, move.description);
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const TCheck& check = checks[i];
        TZOManager freshObjects;
        TScenario fresh(freshObjects, move.description);
        TScenario& restored = i % 2 == 0 ? fresh : reused;
        restored.Restore(snapshots.at(check.from), loop.GetDeliveries());
        restored.GetLoop().RunSteps(check.at, [] { return true; });
        ASSERT_EQ(Observed(restored), expected.at(check.at)) << "restored at " << check.from << ", stepped to " << check.at;
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, SnapshotExactness, testing::ValuesIn(Moves()),
                         [](const auto& row) { return row.param.name; });

TEST(Snapshot, OfAnotherChainIsRefusedAndChangesNothing)
{
    TZOManager objects;
    TZOManager otherObjects;
    TScenario eleven(objects, BuiltInMove());
    TScenario twelve(otherObjects, BuiltInMove(12));
    eleven.GetLoop().RunSteps(500, [] { return true; });
    const std::string before = Observed(twelve);
    EXPECT_THROW(twelve.Restore(eleven.TakeSnapshot(), eleven.GetLoop().GetDeliveries()), std::invalid_argument);
    // A curve shorter than the snapshot's is refused too.
    EXPECT_THROW(twelve.Restore(twelve.TakeSnapshot(), {}), std::invalid_argument);
    EXPECT_EQ(Observed(twelve), before);
}

} // namespace
