#include "ModelTestSupport.h"
#include "model/clsChainChecker.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

// A source, one person carrying a load and a sink, broken in one way per row,
// or not at all: the long runs check that a sound chain passes.
TEST(ChainChecker, ReportsEveryKindOfSabotageAndNothingElse)
{
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    struct TRow
    {
        const char* report;
        std::function<void(THomeProbe&)> sabotage;
    };
    const TRow rows[] = {
        {"", [](THomeProbe&) {}},
        {"not conserved", [](THomeProbe& p) { delete p.TakeLoad(0); }},
        {"filed 0 times", [](THomeProbe& p) { p.SetPositionQuietly(0.6); }},
        {"position is not finite", [](THomeProbe& p) { p.SetPositionQuietly(NaN); }},
        {"fitness", [](THomeProbe& p) { p.SetFitness(1.5); }},
        {"fitness", [](THomeProbe& p) { p.SetFitness(0.0); }},
        {"fitness", [](THomeProbe& p) { p.SetFitness(NaN); }},
        {"home area", [](THomeProbe& p) { p.SetHome(0.4, 0.41); }},
    };
    for (const TRow& row : rows) {
        TTestWorld world;
        TLoadSource& source = world.Add<TLoadSource>(1.0, 4);
        THomeProbe& person = world.AddPerson<THomeProbe>(0.5);
        TLoadSink& sink = world.Add<TLoadSink>(1.0);
        person.Carry(world.ids);
        row.sabotage(person);
        const std::string fault = TChainChecker(world.chain, source, sink, 5).Check();
        EXPECT_EQ(fault.empty(), *row.report == '\0') << fault;
        EXPECT_NE(fault.find(row.report), std::string::npos) << row.report << ": " << fault;
    }
}
