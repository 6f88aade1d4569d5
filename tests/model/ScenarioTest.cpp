#include "ModelTestSupport.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class Scenario : public testing::Test
{
protected:
    TZOManager objects;
    TScenario scenario{objects};
    TBucketChain& chain = *scenario.GetChain();

    std::vector<const THomeareaPerson*> Persons() const
    {
        std::vector<const THomeareaPerson*> persons;
        for (std::int32_t i = 1; i + 1 < chain.GetHandlerCount(); ++i)
            persons.push_back(dynamic_cast<const THomeareaPerson*>(chain.GetHandler(i)));
        return persons;
    }
};

} // namespace

// Every scenario numbers and names its objects as a fresh process would.
TEST_F(Scenario, NumbersNamesAndFilesItsObjectsInOrderOfConstruction)
{
    EXPECT_EQ(chain.GetId(), 0);
    EXPECT_EQ(scenario.GetTrail()->GetId(), 1);
    EXPECT_EQ(scenario.GetSource()->GetId(), 2);
    EXPECT_EQ(scenario.GetSource()->GetLoad(0)->GetId(), 3);
    const auto persons = Persons();
    ASSERT_EQ(persons.size(), 11u);
    for (std::size_t i = 0; i < persons.size(); ++i) {
        ASSERT_NE(persons[i], nullptr) << "every person has a home area";
        EXPECT_EQ(persons[i]->GetId(), 4 + static_cast<std::int32_t>(i));
        EXPECT_EQ(persons[i]->GetName(), TPerson::TableName(static_cast<std::int64_t>(i)));
        EXPECT_EQ(persons[i]->GetSpeed(), static_cast<double>(i) * 0.0003 + 0.002);
        EXPECT_EQ(persons[i]->GetPosition(), 0.0);
    }
    for (int i = 0; i < scenario.GetTrail()->GetSectionCount(); ++i)
        EXPECT_EQ(scenario.GetTrail()->GetSection(i)->GetId(), 15 + i);
    EXPECT_EQ(scenario.GetSink()->GetId(), 27);

    EXPECT_EQ(objects.GetCount(), 27u);
    EXPECT_EQ(objects.Find(3), nullptr) << "the sample load is not filed";
    EXPECT_EQ(objects.Find(0), &chain);
    EXPECT_EQ(objects.Find(27), scenario.GetSink());
}

TEST_F(Scenario, TheMoveClimbsFiveFlightsFromTheSourceToTheSink)
{
    const TTrail& trail = *scenario.GetTrail();
    ASSERT_EQ(trail.GetSectionCount(), 12);
    for (int i = 0; i < 12; ++i) {
        const bool steps = dynamic_cast<const TTrailSectionSteps*>(trail.GetSection(i)) != nullptr;
        EXPECT_EQ(steps, i >= 1 && i <= 9 && i % 2 == 1) << "section " << i;
    }
    EXPECT_DOUBLE_EQ(trail.GetLength(), 1.75);
    EXPECT_DOUBLE_EQ(trail.GetTotalHeight(), 0.5);
    EXPECT_EQ(chain.GetHandler(0), scenario.GetSource());
    EXPECT_EQ(chain.GetHandler(12), scenario.GetSink());
    EXPECT_EQ(scenario.GetSource()->GetLoadCount(), 666);
    EXPECT_EQ(scenario.GetSink()->GetPosition(), trail.GetLength());
    EXPECT_FALSE(scenario.IsMoveComplete());
}

// Each person in turn finds the source beside it: it takes a load and, held
// back by those around it, ends a tenth of the reach behind the start, unless
// its overtaking draw let it ignore them.
TEST_F(Scenario, InTheFirstStepEveryPersonTakesALoadFromTheSource)
{
    chain.Step();
    const double reach = 1.75 * 0.01;
    for (const TPerson* person : Persons()) {
        EXPECT_EQ(person->GetLoadCount(), 1) << person->GetName();
        const double p = person->GetPosition();
        EXPECT_TRUE(p == 0.0 - reach * 0.1 || p == 0.0) << person->GetName() << " at " << p;
    }
    EXPECT_EQ(scenario.GetSource()->GetLoadCount(), 655);
    EXPECT_EQ(Persons()[0]->GetLoad(0)->GetId(), 28) << "the loads handed out are made after the scenario";
}

TEST(ScenarioScale, MorePersonsLengthenTheTrailAndTheStockPerElevenPersons)
{
    TZOManager objects;
    const TScenario scenario(objects, BuiltInMove(12));
    EXPECT_EQ(scenario.GetChain()->GetHandlerCount(), 14);
    EXPECT_EQ(scenario.GetTrail()->GetSectionCount(), 24);
    EXPECT_DOUBLE_EQ(scenario.GetTrail()->GetLength(), 3.5);
    EXPECT_EQ(scenario.GetSource()->GetLoadCount(), 2 * 666);
    EXPECT_EQ(TScenario(objects, BuiltInMove(11, 5)).GetSource()->GetLoadCount(), 5);
}

// A scenario files its objects only once it stands, and takes them out when
// it goes: the registry never points at freed objects.
TEST(ScenarioRegistry, AScenarioThatFailsHalfBuiltOrGoesLeavesTheRegistryAsItFoundIt)
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
    std::vector<TZembaObject*> persons;
    objects.Collect(persons, TZembaObject::KindPerson);
    EXPECT_TRUE(persons.empty());

    {
        const TScenario standing(objects);
        EXPECT_EQ(objects.GetCount(), 28u);
        objects.Collect(persons, TZembaObject::KindPerson);
        EXPECT_EQ(persons.size(), 11u);
    }
    EXPECT_EQ(objects.GetCount(), 1u);
    EXPECT_EQ(objects.Find(100), &bystander);
}
