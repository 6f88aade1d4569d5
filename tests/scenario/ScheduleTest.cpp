// Persons who join and leave a move under way, by the schedule's rule: the
// changes at step N take effect after step N; newcomers stand before the
// sink, rested and empty-handed; a leaver takes no new load, completes the
// hand-over under way, and leaves once it walks with empty hands.
#include "model/clsBucketChain.h"
#include "model/clsChainChecker.h"
#include "model/clsPerson.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"
#include "scenario/clsScenarioRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

const TPerson* PersonNamed(const TBucketChain& chain, const std::string& name)
{
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i)
        if (const auto* person = dynamic_cast<const TPerson*>(chain.GetHandler(i)); person && person->GetName() == name)
            return person;
    return nullptr;
}

// The person a giver gives to, if a person is giving to this one.
const TPerson* GiverTo(const TBucketChain& chain, const TPerson& receiver)
{
    for (std::int32_t i = 0; i < chain.GetHandlerCount(); ++i)
        if (const auto* person = dynamic_cast<const TPerson*>(chain.GetHandler(i));
            person && person->GetState() == TPersonState::Giving && person->GetPartner() == &receiver)
            return person;
    return nullptr;
}

using TSituation = std::function<bool(const TPerson&, const TBucketChain&)>;

struct TFound
{
    std::int64_t step = -1;
    std::string name;
};

// The first step of the built-in move after which a person is in the situation.
TFound FirstStepWhere(const TSituation& situation)
{
    TZOManager objects;
    TScenario move(objects);
    const TBucketChain& chain = *move.GetChain();
    for (std::int64_t step = 1; step < 60'000; ++step) {
        move.GetLoop().Step();
        for (std::int32_t i = 1; i + 1 < chain.GetHandlerCount(); ++i)
            if (const auto& person = dynamic_cast<const TPerson&>(*chain.GetHandler(i)); situation(person, chain))
                return {step, person.GetName()};
    }
    return {};
}

// What is seen of the leaver so many steps after its leave took effect.
struct TSeen
{
    std::int64_t after = 0;
    bool onTrail = true;
    std::int32_t loads = 0;
    TPersonState state = TPersonState::Walking;
};

struct TLeaveCase
{
    const char* situation;
    TSituation matches;
    std::vector<TSeen> expected;
};

using W = TPersonState;

std::vector<TLeaveCase> LeaveCases()
{
    const auto walking = [](const TPerson& p) { return p.GetState() == W::Walking; };
    return {
        {"walking with empty hands: leaves at once",
         [=](const TPerson& p, const TBucketChain&) { return walking(p) && p.GetLoadCount() == 0 && !p.IsOnBreak(); },
         {{0, false}}},
        {"carrying: keeps the load and stays until it has handed it over",
         [=](const TPerson& p, const TBucketChain&) { return walking(p) && p.GetLoadCount() == 1 && !p.IsOnBreak(); },
         {{0, true, 1, W::Walking}, {1, true, 1}}},
        {"giving, its first step: the load changes hands in the third, and it leaves after it",
         [](const TPerson& p, const TBucketChain&) { return p.GetState() == W::Giving && p.GetStepCounter() == 0; },
         {{0, true, 1, W::Giving}, {2, true, 1, W::Giving}, {3, false}}},
        {"giving, its last step to come: it leaves after that step",
         [](const TPerson& p, const TBucketChain&) { return p.GetState() == W::Giving && p.GetStepCounter() == 2; },
         {{0, true, 1, W::Giving}, {1, false}}},
        {"receiving, the load under way: it takes it and walks on with it",
         [](const TPerson& p, const TBucketChain& chain) {
             const TPerson* giver = GiverTo(chain, p);
             return p.GetState() == W::Receiving && p.GetStepCounter() == 0 && p.GetLoadCount() == 0 && giver
                 && giver->GetStepCounter() == 0;
         },
         {{0, true, 0, W::Receiving}, {2, true, 0, W::Receiving}, {3, true, 1, W::Receiving}, {5, true, 1, W::Walking}}},
        {"on a break with empty hands: leaves at once",
         [=](const TPerson& p, const TBucketChain&) { return walking(p) && p.IsOnBreak() && p.GetLoadCount() == 0; },
         {{0, false}}},
        {"on a break holding a load: stays with it, taking no other",
         [=](const TPerson& p, const TBucketChain&) { return walking(p) && p.IsOnBreak() && p.GetLoadCount() == 1; },
         {{0, true, 1, W::Walking}, {1, true, 1, W::Walking}}},
    };
}

TEST(Schedule, ALeaverCompletesWhatItHasBegunAndLeavesOnceItWalksWithEmptyHands)
{
    for (const TLeaveCase& row : LeaveCases()) {
        SCOPED_TRACE(row.situation);
        const TFound found = FirstStepWhere(row.matches);
        ASSERT_GE(found.step, 0) << "the built-in move never shows the situation";
        TScenarioDescription description = BuiltInMove();
        description.schedule.push_back({found.step, false, TScheduleEntry::TKind::Leave, {}, found.name});
        TZOManager objects;
        TScenario move(objects, description);
        const TChainChecker checker(*move.GetChain(), *move.GetSource(), *move.GetSink(), move.GetInitialStock());
        for (const TSeen& seen : row.expected) {
            move.GetLoop().RunSteps(found.step + seen.after, [&] { return checker.Check().empty(); });
            ASSERT_EQ(checker.Check(), "");
            const std::string at = "step " + std::to_string(found.step) + " + " + std::to_string(seen.after);
            const TPerson* leaver = PersonNamed(*move.GetChain(), found.name);
            ASSERT_EQ(leaver != nullptr, seen.onTrail) << at;
            if (!leaver)
                continue;
            EXPECT_EQ(leaver->GetLoadCount(), seen.loads) << at;
            EXPECT_EQ(leaver->GetState(), seen.state) << at;
            EXPECT_TRUE(leaver->IsLeaving()) << at;
            if (seen.state == W::Walking) {
                EXPECT_EQ(leaver->GetFreeCapacity(), 0.0) << at << ": a leaver takes no new load";
            }
        }
    }
}

TEST(Schedule, NewcomersStandBeforeTheSinkRestedWhileAHandOverUnderWayCompletesAsWithoutThem)
{
    const TFound giving =
        FirstStepWhere([](const TPerson& p, const TBucketChain&) { return p.GetState() == W::Giving && p.GetStepCounter() == 0; });
    ASSERT_GE(giving.step, 0);
    TScenarioDescription description = BuiltInMove();
    TPersonGroup friends;
    friends.count = 2;
    friends.kind = TPersonGroup::TKind::Plain;
    friends.position = 0.1;
    friends.speed = 0.0025;
    friends.names = {"Anna"};
    description.schedule.push_back({giving.step, false, TScheduleEntry::TKind::Join, friends, {}});

    TZOManager objects;
    TZOManager plainObjects;
    TScenario move(objects, description);
    TScenario without(plainObjects, BuiltInMove());
    move.GetLoop().RunSteps(giving.step - 1, [] { return true; });
    EXPECT_EQ(move.GetChain()->GetHandlerCount(), 13) << "nobody joins before the step";
    for (std::int64_t after = 0; after <= 3; ++after) {
        move.GetLoop().RunSteps(giving.step + after, [] { return true; });
        without.GetLoop().RunSteps(giving.step + after, [] { return true; });
        const TPerson* giver = PersonNamed(*move.GetChain(), giving.name);
        EXPECT_EQ(giver->GetLoadCount(), PersonNamed(*without.GetChain(), giving.name)->GetLoadCount()) << after;
        EXPECT_EQ(giver->GetState(), PersonNamed(*without.GetChain(), giving.name)->GetState()) << after;
    }
    EXPECT_EQ(PersonNamed(*move.GetChain(), giving.name)->GetLoadCount(), 0) << "the giving completed";

    TZOManager atJoinObjects;
    TScenario atJoin(atJoinObjects, description);
    atJoin.GetLoop().RunSteps(giving.step, [] { return true; });
    const TBucketChain& chain = *atJoin.GetChain();
    ASSERT_EQ(chain.GetHandlerCount(), 15);
    EXPECT_EQ(chain.GetHandler(14), atJoin.GetSink());
    // Made after the sink, named from the group and then the table where the move's persons left it.
    const std::vector<std::pair<std::int32_t, std::string>> newcomers{{28, "Anna"}, {29, TPerson::TableName(11)}};
    for (std::size_t i = 0; i < newcomers.size(); ++i) {
        const auto& person = dynamic_cast<const TPerson&>(*chain.GetHandler(12 + static_cast<std::int32_t>(i)));
        EXPECT_EQ(person.GetId(), newcomers[i].first);
        EXPECT_EQ(person.GetName(), newcomers[i].second);
        EXPECT_EQ(person.GetPosition(), 0.1);
        EXPECT_EQ(person.GetFitness(), 1.0);
        EXPECT_EQ(person.GetLoadCount(), 0);
        EXPECT_EQ(person.GetState(), W::Walking);
        EXPECT_EQ(person.GetSpeed(), 0.0025);
    }
}

// A move with random joins and leaves: 1 to 12 persons at the start, up to
// ten changes in the first 15,000 steps, each leave naming someone still on
// the trail and never the last.
TScenarioDescription RandomSchedule(std::uint64_t seed)
{
    std::mt19937_64 random(seed);
    const auto between = [&](std::int64_t lo, std::int64_t hi) {
        return std::uniform_int_distribution<std::int64_t>(lo, hi)(random);
    };
    TScenarioDescription d = BuiltInMove(static_cast<std::int32_t>(between(1, 12)), 400);
    d.seed = static_cast<std::uint32_t>(seed);
    TPersonNames names;
    std::vector<std::string> onTrail;
    const auto join = [&](const TPersonGroup& group) {
        for (std::int32_t i = 0; i < group.count; ++i)
            onTrail.push_back(names.Next(group, i));
    };
    for (const TPersonGroup& group : d.persons)
        join(group);
    std::int64_t step = 0;
    for (std::int64_t i = between(1, 10); i > 0; --i) {
        step += between(0, 3'000);
        TScheduleEntry entry;
        entry.step = step;
        if (onTrail.size() > 1 && between(0, 1) == 0) {
            entry.kind = TScheduleEntry::TKind::Leave;
            const auto leaver = onTrail.begin() + between(0, static_cast<std::int64_t>(onTrail.size()) - 1);
            entry.leave = *leaver;
            // The move takes the first of the name on the trail.
            onTrail.erase(std::find(onTrail.begin(), onTrail.end(), entry.leave));
        } else {
            entry.join.count = static_cast<std::int32_t>(between(1, 3));
            entry.join.kind = between(0, 2) == 0 ? TPersonGroup::TKind::Plain : TPersonGroup::TKind::HomeArea;
            entry.join.position = between(0, 1) == 0 ? 0.0 : d.GetTrailLength() * static_cast<double>(between(0, 6)) / 6.0;
            entry.join.speed = 0.001 + 0.0005 * static_cast<double>(between(0, 4));
            join(entry.join);
        }
        d.schedule.push_back(entry);
    }
    return d;
}

TEST(Schedule, RandomSchedulesNeverLoseOrDuplicateALoad)
{
    for (std::uint64_t seed = 1; seed <= 24; ++seed) {
        const TScenarioDescription description = RandomSchedule(seed);
        ASSERT_EQ(CheckScenario(description).size(), 0U) << "seed " << seed << ": " << CheckScenario(description)[0].what;
        TZOManager objects;
        TScenario move(objects, description);
        const TChainChecker checker(*move.GetChain(), *move.GetSource(), *move.GetSink(), move.GetInitialStock());
        std::string fault;
        move.GetLoop().RunUntilOver(20'000, [&] {
            fault = checker.Check();
            return fault.empty();
        });
        ASSERT_EQ(fault, "") << "seed " << seed << ", step " << move.GetLoop().GetStep();
    }
}

struct TScheduleRefusal
{
    const char* fault;
    std::string schedule;
    const char* message;
};

TEST(Schedule, AScheduleThatCannotRunIsRefusedWithOneLineNamingThePlace)
{
    const auto file = [](const std::string& schedule) {
        return R"({"trail": [{"kind": "plain", "length": 1}], "persons": [{"count": 2, "speed": 0.01, "names": ["Ada", "Bo"]}],)"
               R"( "schedule": )" + schedule + "}";
    };
    const std::vector<TScheduleRefusal> rows{
        {"a time that is no time", R"([{"at": "1:5:00", "leave": {"name": "Ada"}}])",
         "bad.json: /schedule/0/at: expected a simulated time h:mm:ss"},
        {"a negative step", R"([{"at": -1, "leave": {"name": "Ada"}}])", "bad.json: /schedule/0/at: -1 must be a whole number from 0 to"},
        {"both a join and a leave", R"([{"at": 5, "leave": {"name": "Ada"}, "join": {"speed": 0.01}}])",
         "bad.json: /schedule/0: expected one of join and leave"},
        {"a joining group's fault", R"([{"at": 5, "join": {"speed": 0}}])", "bad.json: /schedule/0/join/speed: 0 must be above 0"},
        {"nobody of the name", R"([{"at": 5, "leave": {"name": "Cy"}}])",
         "bad.json: /schedule/0/leave/name: nobody of that name is on the trail at that time"},
        {"a name that has left already, in the order of effect",
         R"([{"at": "0:00:02", "leave": {"name": "Ada"}}, {"at": 1, "leave": {"name": "Ada"}}])",
         "bad.json: /schedule/0/leave/name: nobody of that name"},
        {"the last person", R"([{"at": 1, "leave": {"name": "Ada"}}, {"at": 2, "leave": {"name": "Bo"}}])",
         "bad.json: /schedule/1/leave/name: the last person on the trail cannot leave"},
    };
    for (const TScheduleRefusal& row : rows) {
        try {
            ParseScenario(file(row.schedule), "bad.json");
            ADD_FAILURE() << row.fault << ": accepted";
        } catch (const TScenarioFileError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(row.message, 0), 0U) << row.fault << ": " << error.what();
        }
    }
    // A newcomer of the name may leave, and so may the last but one while a newcomer stays.
    EXPECT_NO_THROW(ParseScenario(file(R"([{"at": 3, "join": {"speed": 0.01, "names": ["Cy"]}}, {"at": 4, "leave": {"name": "Cy"}},)"
                                       R"( {"at": 4, "leave": {"name": "Ada"}}])"),
                                  "good.json"));
}

} // namespace
