#include "ModelTestSupport.h"
#include "model/clsChainState.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

// Every scenario numbers and names its objects as a fresh process would: the
// chain, the trail, the source and its sample load, the persons, the sections, the sink.
TEST(Scenario, NumbersNamesAndFilesItsObjectsInOrderOfConstructionAndScalesWithThePersons)
{
    TZOManager objects;
    const TScenario scenario(objects);
    const TBucketChain& chain = *scenario.GetChain();
    EXPECT_EQ(scenario.GetTrail()->GetId(), 1);
    EXPECT_EQ(scenario.GetSource()->GetLoad(0)->GetId(), 3);
    for (std::int32_t i = 0; i < 11; ++i) {
        const auto* person = dynamic_cast<const THomeareaPerson*>(chain.GetHandler(i + 1));
        ASSERT_NE(person, nullptr) << "every person has a home area";
        EXPECT_EQ(person->GetId(), 4 + i);
        EXPECT_EQ(person->GetName(), TPerson::TableName(i));
        EXPECT_EQ(person->GetSpeed(), static_cast<double>(i) * 0.0003 + 0.002);
    }
    EXPECT_EQ(scenario.GetTrail()->GetSection(0)->GetId(), 15);
    EXPECT_EQ(scenario.GetSink()->GetId(), 27);
    EXPECT_EQ(objects.GetCount(), 27u);
    EXPECT_EQ(objects.Find(3), nullptr) << "the sample load is not filed";
    EXPECT_EQ(objects.Find(0), &chain);

    const std::unique_ptr<TZLoad> load(scenario.GetSource()->TakeLoad(0));
    EXPECT_EQ(load->GetId(), 28);
    EXPECT_EQ(load->GetSerialNumber(), scenario.GetSource()->GetLoad(0)->GetSerialNumber() + 1)
        << "serials count only loads";

    // More persons lengthen the trail and the stock per eleven persons.
    TZOManager elsewhere;
    const TScenario bigger(elsewhere, BuiltInMove(12));
    EXPECT_EQ(bigger.GetTrail()->GetId(), 1) << "another scenario's ids start afresh";
    EXPECT_EQ(bigger.GetChain()->GetHandlerCount(), 14);
    EXPECT_DOUBLE_EQ(bigger.GetTrail()->GetLength(), 3.5);
    EXPECT_EQ(bigger.GetSource()->GetLoadCount(), 2 * 666);
    EXPECT_EQ(TScenario(elsewhere, BuiltInMove(11, 5)).GetSource()->GetLoadCount(), 5);
}

// A scenario files its objects only once it stands, and takes them out when
// it goes: the registry never points at freed objects.
TEST(Scenario, AScenarioThatFailsHalfBuiltOrGoesLeavesTheRegistryAsItFoundIt)
{
    TZOManager objects;
    TObjectIds ids;
    while (ids.NextId() < 99) {
    }
    TTrail bystander(ids); // id 100, clear of the scenario's
    objects.Add(&bystander);

    int made = 0;
    const TScenario::TPersonFactory failing = [&made](TObjectIds& personIds, std::string name) {
        if (++made > 3)
            throw std::runtime_error("no more persons");
        return std::make_unique<THomeareaPerson>(personIds, std::move(name));
    };
    EXPECT_THROW(TScenario(objects, BuiltInMove(), failing), std::runtime_error);
    EXPECT_EQ(made, 4);
    EXPECT_EQ(objects.GetCount(), 1u);
    {
        const TScenario standing(objects);
        std::vector<TZembaObject*> persons;
        objects.Collect(persons, TZembaObject::KindPerson);
        EXPECT_EQ(persons.size(), 11u);
    }
    EXPECT_EQ(objects.GetCount(), 1u);
    EXPECT_EQ(objects.Find(100), &bystander);
}

// A bounded read keeps the source, the first persons and the sink, and counts
// every person into its crowd; its totals are those of a whole read.
TEST(ChainState, ABoundedReadHoldsTheFirstPersonsAndCountsEveryPersonIntoItsCrowd)
{
    TZOManager objects;
    const TScenario scenario(objects);
    for (int i = 0; i < 3000; ++i)
        scenario.GetChain()->Step();
    TChainState whole;
    whole.Read(*scenario.GetChain());
    for (const std::int32_t kept : {4, 11, 2000}) {
        TChainState bounded;
        bounded.ReadBounded(*scenario.GetChain(), kept);
        const std::size_t held = static_cast<std::size_t>(std::min(kept, 11)) + 2;
        ASSERT_EQ(bounded.handlers.size(), held);
        EXPECT_EQ(bounded.handlers.back().id, whole.handlers.back().id) << "the sink";
        for (std::size_t i = 0; i + 1 < held; ++i)
            EXPECT_EQ(bounded.handlers[i].id, whole.handlers[i].id);
        EXPECT_EQ(bounded.HoldsEveryPerson(), kept >= 11);
        EXPECT_EQ(std::tie(bounded.personCount, bounded.stock, bounded.inHands, bounded.delivered),
                  std::tie(whole.personCount, whole.stock, whole.inHands, whole.delivered));
        std::int32_t counted = 0;
        for (const TCrowdDensity::TBin& bin : bounded.crowd.bins)
            for (const std::int32_t count : bin)
                counted += count;
        EXPECT_EQ(counted, 11);
    }
}

// Readers of a large chain take its totals one handler at a time, without a copy.
TEST(ChainState, FiguresReadOneHandlerAtATimeMatchAWholeRead)
{
    TZOManager objects;
    const TScenario scenario(objects);
    for (int i = 0; i < 3000; ++i)
        scenario.GetChain()->Step();
    TChainState whole;
    whole.Read(*scenario.GetChain());
    TChainState figures;
    std::vector<std::int32_t> visited;
    figures.ReadFigures(*scenario.GetChain(), [&](const THandlerState& h) { visited.push_back(h.id); });
    EXPECT_TRUE(figures.handlers.empty());
    EXPECT_GT(whole.inHands, 0);
    EXPECT_EQ(std::tie(figures.step, figures.stock, figures.inHands, figures.delivered),
              std::tie(whole.step, whole.stock, whole.inHands, whole.delivered));
    ASSERT_EQ(visited.size(), whole.handlers.size());
    for (std::size_t i = 0; i < visited.size(); ++i)
        EXPECT_EQ(visited[i], whole.handlers[i].id);
}
