#include "scenario/clsScenario.h"
#include "model/clsBucketChain.h"
#include "model/clsLoadHandler.h"
#include "model/clsPerson.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Ids and the name index are counters of the whole process, and other tests
// may have made objects before: everything is checked relative to the chain.
class Scenario : public testing::Test
{
protected:
    TZOManager objects;
    TScenario scenario{objects};
    TBucketChain& chain = *scenario.GetChain();
    const std::int32_t base = chain.GetId();

    std::vector<const TPerson*> Persons() const
    {
        std::vector<const TPerson*> persons;
        for (std::int32_t i = 1; i + 1 < chain.GetHandlerCount(); ++i)
            persons.push_back(dynamic_cast<const TPerson*>(chain.GetHandler(i)));
        return persons;
    }
};

} // namespace

TEST_F(Scenario, ObjectsTakeTheirIdsInOrderOfConstruction)
{
    EXPECT_EQ(scenario.GetTrail()->GetId(), base + 1);
    EXPECT_EQ(scenario.GetSource()->GetId(), base + 2);
    EXPECT_EQ(scenario.GetSource()->GetLoad(0)->GetId(), base + 3) << "the sample load";
    const auto persons = Persons();
    for (std::size_t i = 0; i < persons.size(); ++i)
        EXPECT_EQ(persons[i]->GetId(), base + 4 + static_cast<std::int32_t>(i));
    for (int i = 0; i < scenario.GetTrail()->GetSectionCount(); ++i)
        EXPECT_EQ(scenario.GetTrail()->GetSection(i)->GetId(), base + 15 + i);
    EXPECT_EQ(scenario.GetSink()->GetId(), base + 27);
}

TEST_F(Scenario, RegistersEveryObjectButTheSampleLoad)
{
    EXPECT_EQ(objects.GetCount(), 27u);
    for (std::int32_t id = base; id <= base + 27; ++id) {
        if (id == base + 3)
            EXPECT_EQ(objects.Find(id), nullptr) << "the sample load is not registered";
        else
            EXPECT_NE(objects.Find(id), nullptr) << "id " << id - base << " after the chain";
    }
    EXPECT_EQ(objects.Find(base), &chain);

    std::vector<TZembaObject*> persons;
    objects.Collect(persons, TZembaObject::KindPerson);
    ASSERT_EQ(persons.size(), 11u);
    EXPECT_EQ(persons.front()->GetId(), base + 4);
    EXPECT_EQ(persons.back()->GetId(), base + 14);
}

TEST_F(Scenario, TheChainRunsFromTheSourceThroughElevenHomeAreaPersonsToTheSink)
{
    ASSERT_EQ(chain.GetHandlerCount(), 13);
    EXPECT_EQ(chain.GetHandler(0), scenario.GetSource());
    EXPECT_EQ(chain.GetHandler(12), scenario.GetSink());
    for (const TPerson* person : Persons()) {
        ASSERT_NE(dynamic_cast<const THomeareaPerson*>(person), nullptr);
        EXPECT_EQ(person->GetPosition(), 0.0);
        EXPECT_EQ(person->GetTrail(), scenario.GetTrail());
        EXPECT_EQ(person->GetChain(), &chain);
        EXPECT_EQ(person->GetFitness(), 1.0);
        EXPECT_EQ(person->GetLoadCount(), 0);
    }
    EXPECT_EQ(scenario.GetSource()->GetLoadCount(), 666);
    EXPECT_EQ(scenario.GetSink()->GetPosition(), scenario.GetTrail()->GetLength());

    THandlerList atStart;
    chain.FindHandlers(0.0, 0.0, atStart);
    EXPECT_EQ(atStart.size(), 12u) << "the source and the persons, filed at 0.0";
}

TEST_F(Scenario, TheTrailAlternatesFlightsOfStepsAndLandings)
{
    const TTrail& trail = *scenario.GetTrail();
    ASSERT_EQ(trail.GetSectionCount(), 12);
    for (int i = 0; i < 12; ++i) {
        const bool steps = dynamic_cast<const TTrailSectionSteps*>(trail.GetSection(i)) != nullptr;
        EXPECT_EQ(steps, i >= 1 && i <= 9 && i % 2 == 1) << "section " << i;
    }
    EXPECT_EQ(trail.GetSection(0)->GetLength(), 0.3);
    EXPECT_EQ(trail.GetSection(11)->GetLength(), 0.2);
    EXPECT_DOUBLE_EQ(trail.GetLength(), 1.75);
    EXPECT_DOUBLE_EQ(trail.GetTotalHeight(), 0.5);
}

TEST_F(Scenario, PersonsTakeConsecutiveNamesAndEverFasterSpeeds)
{
    const auto persons = Persons();
    int first = 0;
    while (first < TPerson::NameCount && persons[0]->GetName() != TPerson::Names[first])
        ++first;
    ASSERT_LT(first, TPerson::NameCount);
    for (std::size_t i = 0; i < persons.size(); ++i) {
        EXPECT_EQ(persons[i]->GetName(), TPerson::Names[(first + static_cast<int>(i)) % TPerson::NameCount]);
        EXPECT_EQ(persons[i]->GetSpeed(), static_cast<double>(i) * 0.0003 + 0.002) << persons[i]->GetName();
    }
    EXPECT_EQ(persons.front()->GetSpeed(), 0.002);
    EXPECT_DOUBLE_EQ(persons.back()->GetSpeed(), 0.005);
}

// Each person in turn finds the source beside it: it takes a load and, held
// back by those around it, ends a tenth of the reach behind the start, unless
// its overtaking draw let it ignore them.
TEST_F(Scenario, InTheFirstStepEveryPersonTakesALoadFromTheSource)
{
    chain.Step();
    const double reach = scenario.GetTrail()->GetLength() * 0.01;
    for (const TPerson* person : Persons()) {
        EXPECT_EQ(person->GetLoadCount(), 1) << person->GetName();
        EXPECT_EQ(person->GetState(), TPerson::StateWalking) << person->GetName();
        const double p = person->GetPosition();
        EXPECT_TRUE(p == 0.0 - reach * 0.1 || p == 0.0) << person->GetName() << " at " << p;
    }
    EXPECT_EQ(scenario.GetSource()->GetLoadCount(), 655);

    // The loads handed out are the first objects made after the scenario.
    const TZLoad* firstLoad = Persons()[0]->GetLoad(0);
    EXPECT_EQ(firstLoad->GetId(), base + 28);
    EXPECT_EQ(firstLoad->GetSerialNumber(), scenario.GetSource()->GetLoad(0)->GetSerialNumber() + 1);
}

TEST(ScenarioOptions, MorePersonsLengthenTheTrailAndTheStockPerElevenPersons)
{
    TZOManager objects;
    const TScenario scenario(objects, {.persons = 12});
    EXPECT_EQ(scenario.GetChain()->GetHandlerCount(), 14);
    EXPECT_EQ(scenario.GetTrail()->GetSectionCount(), 24);
    EXPECT_DOUBLE_EQ(scenario.GetTrail()->GetLength(), 3.5);
    EXPECT_EQ(scenario.GetSource()->GetLoadCount(), 2 * 666);
    EXPECT_EQ(scenario.GetSink()->GetPosition(), scenario.GetTrail()->GetLength());
}
