// What it costs to watch: the view's picture, a repaint of the persons
// dialog's rows, and the caption localisation of the main window.
#include "dialogs/frm_Persons.h"
#include "model/clsBucketChain.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "strings/clsStringsForVCLControls.h"
#include "view/frame_Zemba.h"

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

} // namespace
