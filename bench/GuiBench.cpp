// What it costs to watch: the view's picture and the published copy at any
// size of move, a repaint of the persons dialog's rows, the caption
// localisation of the main window, and the whole
// move at top speed on the simulation thread, drawn by the view as the window
// draws it, against the same move headless.
#include "bench/SpreadPersons.h"
#include "dialogs/frm_Persons.h"
#include "model/clsBucketChain.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioDescription.h"
#include "strings/clsStringsForVCLControls.h"
#include "view/frame_Zemba.h"

#include <QApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <utility>
#include <memory>

namespace {

// A move of the given size, published once and kept for every benchmark that
// draws or lists it: building a million persons takes seconds. The built-in
// eleven a few minutes into the move, persons spread out and loads in hands;
// a larger group (speed increment 0, as the editor makes it) on the same
// trail, or on the scaled trail of `zemba-run --persons` (a section or so per
// person), spread evenly and stepped once.
struct TWatchedMove
{
    TZOManager objects;
    std::unique_ptr<TScenario> scenario;
    TChainPublisher publisher;

    TWatchedMove(std::int32_t persons, bool scaledTrail)
    {
        if (persons == 11 && !scaledTrail) {
            scenario = std::make_unique<TScenario>(objects);
            for (int i = 0; i < 10'000; ++i)
                scenario->GetChain()->Step();
        } else {
            TScenarioDescription description =
                scaledTrail ? BuiltInMove(persons, TScenarioDescription::DefaultStock) : BuiltInMove();
            description.persons[0].count = persons;
            description.persons[0].speedIncrement = 0.0;
            scenario = std::make_unique<TScenario>(objects, description);
            SpreadPersons(*scenario);
            scenario->GetChain()->Step();
        }
        publisher.Publish(scenario->GetLoop());
    }

    static TWatchedMove& Of(std::int64_t persons, bool scaledTrail = false)
    {
        static std::map<std::pair<std::int64_t, bool>, std::unique_ptr<TWatchedMove>> moves;
        std::unique_ptr<TWatchedMove>& move = moves[{persons, scaledTrail}];
        if (!move)
            move = std::make_unique<TWatchedMove>(static_cast<std::int32_t>(persons), scaledTrail);
        return *move;
    }
};

constexpr std::array<std::int64_t, 4> WatchedSizes{11, 1'100, 100'000, 1'000'000};

// The picture at the window's first size and at full HD, for each size of
// move; a fourth argument of 1 puts it on the scaled trail.
void BM_ViewDraw(benchmark::State& state)
{
    TWatchedMove& move = TWatchedMove::Of(state.range(0), state.range(3) != 0);
    TframeZemba view;
    view.SetTrail(move.scenario->GetTrail());
    view.SetPublisher(&move.publisher);
    const QSize size(static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    state.counters["sections"] = move.scenario->GetTrail()->GetSectionCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(view.RenderPicture(size));
}
BENCHMARK(BM_ViewDraw)
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (const std::int64_t persons : WatchedSizes) {
            b->Args({persons, 523, 271, 0});
            b->Args({persons, 1920, 1080, 0});
        }
        b->Args({100'000, 523, 271, 1});
    })
    ->Unit(benchmark::kMicrosecond);

// What the simulation thread spends on one published copy of the chain.
void BM_Publish(benchmark::State& state)
{
    TWatchedMove& move = TWatchedMove::Of(state.range(0));
    for (auto _ : state)
        move.publisher.Publish(move.scenario->GetLoop());
}
BENCHMARK(BM_Publish)->Arg(11)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// Handing a move to the persons dialog and one repaint of its visible rows.
void BM_PersonsDialogRepaint(benchmark::State& state)
{
    TWatchedMove& move = TWatchedMove::Of(state.range(0));
    TfrmPersons persons(nullptr);
    persons.SetManager(&move.objects);
    persons.SetPublisher(&move.publisher);
    persons.show(); // lays the list out at the dialog's size
    auto* list = persons.findChild<QListWidget*>(QStringLiteral("lbPersons"));
    state.counters["rows_visible"] = list->viewport()->height() / 16;
    state.counters["rows"] = list->count();
    for (auto _ : state)
        benchmark::DoNotOptimize(list->viewport()->grab());
}
BENCHMARK(BM_PersonsDialogRepaint)->Arg(11)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void BM_LocalizePersonsDialog(benchmark::State& state)
{
    TfrmPersons persons(nullptr);
    for (auto _ : state)
        LocalizeComponent(&persons);
}
BENCHMARK(BM_LocalizePersonsDialog)->Unit(benchmark::kMicrosecond);

// The built-in move from its first step to its last, in steps per second.
void BM_WholeMoveHeadless(benchmark::State& state)
{
    std::int64_t steps = 0;
    for (auto _ : state) {
        TZOManager objects;
        TScenario scenario(objects);
        scenario.GetLoop().RunUntilOver(5'000'000, [] { return true; });
        steps += scenario.GetLoop().GetStep();
    }
    state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeMoveHeadless)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same on the simulation thread as fast as possible, shown by the view
// with its own timer, as in the window.
void BM_WholeMoveShown(benchmark::State& state)
{
    std::int64_t steps = 0;
    for (auto _ : state) {
        TZOManager objects;
        TScenario scenario(objects);
        TChainPublisher publisher;
        TframeZemba view;
        view.SetTrail(scenario.GetTrail());
        view.SetChain(scenario.GetChain());
        view.SetPublisher(&publisher);
        view.resize(523, 271);
        view.show();
        TBCThread thread(true, &scenario.GetLoop(), &publisher);
        thread.SetSpeed(TStepPacer::AsFastAsPossible);
        thread.Resume();
        while (publisher.Latest().outcome == TMoveOutcome::Running)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        steps += publisher.Latest().step;
    }
    state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeMoveShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
