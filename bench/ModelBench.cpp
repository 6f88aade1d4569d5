// The simulation's hot paths: a chain step of the scenario in steady state, the
// step of scaled scenarios per person-step, and the position index's interval
// query against a scan of all handlers.
#include "app/clsScenario.h"
#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsZOManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

void StepTimes(TBucketChain& chain, std::int64_t steps)
{
    for (std::int64_t i = 0; i < steps; ++i)
        chain.Step();
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

// Scaled scenarios, warmed up for the same simulated time as the eleven-person
// one. Reported per person-step.
void BM_ScaledStep(benchmark::State& state)
{
    const auto persons = static_cast<std::int32_t>(state.range(0));
    TZOManager objects;
    TScenario scenario(objects, {.persons = persons});
    StepTimes(*scenario.GetChain(), state.range(1));
    for (auto _ : state)
        scenario.GetChain()->Step();
    state.counters["person_step"] =
        benchmark::Counter(static_cast<double>(persons), benchmark::Counter::kIsIterationInvariantRate
                                                              | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScaledStep)->Args({11, 10'000})->Args({110, 10'000})->Args({1'100, 10'000})->Args({11'000, 2'000})
    ->Unit(benchmark::kMicrosecond);

// Interval queries of one person's reach around every handler's position.
template <bool UseIndex>
void BM_FindHandlers(benchmark::State& state)
{
    const auto persons = static_cast<std::int32_t>(state.range(0));
    TZOManager objects;
    TScenario scenario(objects, {.persons = persons});
    TBucketChain& chain = *scenario.GetChain();
    StepTimes(chain, 2'000);
    const double reach = 0.0175 * ((persons + 10) / 11);
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
