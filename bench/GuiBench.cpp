// What it costs to watch: the view's picture, a repaint of the persons
// dialog's rows, the caption localisation of the main window, and the whole
// move at top speed on the simulation thread, drawn by the view as the window
// draws it, against the same move headless.
#include "dialogs/frm_Persons.h"
#include "model/clsBucketChain.h"
#include "model/clsZOManager.h"
#include "runtime/clsBCThread.h"
#include "runtime/clsChainPublisher.h"
#include "scenario/clsScenario.h"
#include "strings/clsStringsForVCLControls.h"
#include "view/frame_Zemba.h"

#include <QApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>

namespace {

// The scenario a few minutes into the move: persons spread out, loads in hands.
struct TRunningScenario
{
    TZOManager objects;
    TScenario scenario{objects};

    TRunningScenario()
    {
        for (int i = 0; i < 10'000; ++i)
            scenario.GetChain()->Step();
    }
};

void BM_ViewDraw(benchmark::State& state)
{
    TRunningScenario running;
    TframeZemba view;
    view.SetTrail(running.scenario.GetTrail());
    view.SetChain(running.scenario.GetChain());
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(view.RenderPicture(size));
}
BENCHMARK(BM_ViewDraw)->Args({523, 271})->Args({1920, 1080})->Unit(benchmark::kMicrosecond);

void BM_PersonsDialogRepaint(benchmark::State& state)
{
    TRunningScenario running;
    TfrmPersons persons(nullptr);
    persons.SetManager(&running.objects);
    persons.show(); // lays the list out at the dialog's size
    auto* list = persons.findChild<QListWidget*>(QStringLiteral("lbPersons"));
    state.counters["rows_visible"] = list->viewport()->height() / 16;
    for (auto _ : state)
        benchmark::DoNotOptimize(list->viewport()->grab());
}
BENCHMARK(BM_PersonsDialogRepaint)->Unit(benchmark::kMicrosecond);

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
