// The simulation's hot paths: a chain step of the scenario in steady state, the
// step of scaled scenarios per person-step, the position index's interval
// query against a scan of all handlers, and the timeline's background run and
// jumps.
#include "analysis/MoveCourse.h"
#include "analysis/MoveKeyframes.h"
#include "bench/SpreadPersons.h"
#include "scenario/clsScenario.h"
#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsMoveLoop.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace {

void StepTimes(TBucketChain& chain, std::int64_t steps)
{
    for (std::int64_t i = 0; i < steps; ++i)
        chain.Step();
}

void CountPersonSteps(benchmark::State& state, std::int32_t persons)
{
    state.counters["person_step"] =
        benchmark::Counter(static_cast<double>(persons), benchmark::Counter::kIsIterationInvariantRate
                                                              | benchmark::Counter::kInvert);
}

// The scenario after 10,000 steps: persons spread out, home areas founded.
void BM_ScenarioStep(benchmark::State& state)
{
    TZOManager objects;
    TScenario scenario(objects);
    StepTimes(*scenario.GetChain(), 10'000);
    for (auto _ : state)
        scenario.GetChain()->Step();
}
BENCHMARK(BM_ScenarioStep);

// Every size is timed over the same stretch of simulated steps, so that the
// figures per person-step compare like with like: left to choose its own
// count, the benchmark would run the eleven a million steps on, into a
// finished move, and the largest chain a hundred.
constexpr std::int64_t ComparedSteps = 500;

// Scaled scenarios from their real start, warmed up for the given steps: up to
// P = 1,100 the 10,000 steps of the eleven-person benchmark carry them past
// the start crowd. Reported per person-step.
void BM_ScaledStep(benchmark::State& state)
{
    const auto persons = static_cast<std::int32_t>(state.range(0));
    TZOManager objects;
    TScenario scenario(objects, BuiltInMove(persons));
    StepTimes(*scenario.GetChain(), state.range(1));
    for (auto _ : state)
        scenario.GetChain()->Step();
    CountPersonSteps(state, persons);
}
BENCHMARK(BM_ScaledStep)->Args({11, 10'000})->Args({110, 10'000})->Args({1'100, 10'000})
    ->Iterations(ComparedSteps)->Unit(benchmark::kMicrosecond);

// Scaled scenarios with the persons spread evenly over the trail, then stepped
// for the given steps, so that home areas form and the first hand-overs begin:
// the density every size reaches after its start crowd, at the same
// simulated time for every size. Reported per person-step.
void BM_SpreadStep(benchmark::State& state)
{
    const auto persons = static_cast<std::int32_t>(state.range(0));
    TZOManager objects;
    TScenario scenario(objects, BuiltInMove(persons));
    SpreadPersons(scenario);
    StepTimes(*scenario.GetChain(), state.range(1));
    for (auto _ : state)
        scenario.GetChain()->Step();
    CountPersonSteps(state, persons);
}
BENCHMARK(BM_SpreadStep)->Args({11, 500})->Args({110, 500})->Args({1'100, 500})->Args({11'000, 500})
    ->Iterations(ComparedSteps)->Unit(benchmark::kMicrosecond);

// Interval queries of one person's reach around every handler's position,
// with the persons spread evenly: a reach holds about 0.01 × P of them.
template <bool UseIndex>
void BM_FindHandlers(benchmark::State& state)
{
    const auto persons = static_cast<std::int32_t>(state.range(0));
    TZOManager objects;
    TScenario scenario(objects, BuiltInMove(persons));
    SpreadPersons(scenario);
    TBucketChain& chain = *scenario.GetChain();
    const double reach = scenario.GetTrail()->GetLength() * 0.01;
    THandlerList found;
    std::int32_t i = 0;
    for (auto _ : state) {
        const double at = chain.GetHandler(i)->GetPosition();
        if constexpr (UseIndex) {
            chain.FindHandlers(at - reach, at + reach, found);
        } else {
            found.clear();
            for (std::int32_t k = 0; k < chain.GetHandlerCount(); ++k)
                if (const double p = chain.GetHandler(k)->GetPosition(); at - reach <= p && p <= at + reach)
                    found.push_back(chain.GetHandler(k));
            std::stable_sort(found.begin(), found.end(),
                             [](auto* a, auto* b) { return a->GetPosition() < b->GetPosition(); });
        }
        benchmark::DoNotOptimize(found.data());
        i = (i + 1) % chain.GetHandlerCount();
    }
}
BENCHMARK_TEMPLATE(BM_FindHandlers, true)->Arg(11)->Arg(110)->Arg(1'100)->Arg(11'000);
BENCHMARK_TEMPLATE(BM_FindHandlers, false)->Arg(11)->Arg(110)->Arg(1'100)->Arg(11'000);

} // namespace

// The background run of the whole built-in move that finds its end for the
// timeline, without and with the keyframes it keeps on the way.
static void BM_CourseRun(benchmark::State& state)
{
    const std::atomic<bool> cancel{false};
    for (auto _ : state) {
        TMoveKeyframes keyframes;
        benchmark::DoNotOptimize(RunMoveCourse(BuiltInMove(), cancel, state.range(0) ? &keyframes : nullptr).endStep);
    }
}
BENCHMARK(BM_CourseRun)->ArgName("keyframes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What a jump of the window's timeline costs before the window swaps the
// move in: the scenario built afresh, the nearest keyframe at or before the
// step restored into it, and stepped through its loop to the step. The
// keyframes are those the background run keeps of the whole built-in move;
// their count, interval and storage are reported beside the figures.
static const TMoveKeyframes& BuiltInKeyframes()
{
    static const auto kept = [] {
        auto keyframes = std::make_unique<TMoveKeyframes>();
        const std::atomic<bool> cancel{false};
        RunMoveCourse(BuiltInMove(), cancel, keyframes.get());
        return keyframes;
    }();
    return *kept;
}

static void BM_JumpTo(benchmark::State& state)
{
    const TMoveKeyframes& keyframes = BuiltInKeyframes();
    const std::int64_t step = state.range(0);
    for (auto _ : state) {
        TZOManager objects;
        TScenario scenario(objects, BuiltInMove());
        keyframes.Nearest(step).RestoreInto(scenario);
        scenario.GetLoop().RunSteps(step, [] { return true; });
        benchmark::DoNotOptimize(scenario.GetLoop().GetStep());
    }
    state.counters["keyframes"] = static_cast<double>(keyframes.GetCount());
    state.counters["interval"] = static_cast<double>(keyframes.GetInterval());
    state.counters["bytes"] = static_cast<double>(keyframes.GetBytes());
}
// Ten steps spread over the whole move, its end the last; then the dearest
// jump, the step before a keyframe.
BENCHMARK(BM_JumpTo)->DenseRange(22'115, 221'150, 22'115)->Arg(100 * 1'260 - 1)->Unit(benchmark::kMillisecond);
