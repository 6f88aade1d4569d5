#include "StagedPerson.h"

#include "dialogs/clsPersonRow.h"
#include "model/clsLoad.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

enum Column { Name, Speed, Fitness, Load, MaxLoad, Position, HomeLength, Satisfaction };

// A person on a one-section plain trail, so that its step length is its base speed × fitness.
class PersonRowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        trail.AddSection(&section);
        person.SetTrail(&trail);
        person.SetSpeed(0.004);
        person.position = 0.25;
    }

    TTrailSection section{1.0};
    TTrail trail;
    TStagedPerson person;
};

TEST_F(PersonRowTest, AWalkingPersonShowsItsQuantitiesTimesAHundred)
{
    const TPersonRow empty = TPersonRow::Of(&person);
    ASSERT_FALSE(empty.gone);
    EXPECT_EQ(empty.Cell(Name), QString::fromStdString(person.GetName()));
    EXPECT_EQ(empty.Cell(Speed), "0.4");
    EXPECT_EQ(empty.Cell(Fitness), "100 %");
    EXPECT_EQ(empty.Cell(Load), "0.0");
    EXPECT_EQ(empty.Cell(MaxLoad), "100.0");
    EXPECT_EQ(empty.Cell(Position), "25.0");

    ASSERT_TRUE(person.PutLoad(new TZStdLoad(1.0)));
    const TPersonRow carrying = TPersonRow::Of(&person);
    EXPECT_EQ(carrying.Cell(Load), "100.0");
    EXPECT_EQ(carrying.Cell(MaxLoad), "100.0") << "the maximum load is the load plus what still fits";
}

TEST_F(PersonRowTest, APersonOnABreakShowsPauseAsItsSpeedAndTheRestAsUsual)
{
    ASSERT_TRUE(person.PutLoad(new TZStdLoad(1.0)));
    person.onBreak = true;
    person.fitness = 0.07;

    const TPersonRow row = TPersonRow::Of(&person);
    EXPECT_EQ(row.Cell(Speed), "Pause!");
    EXPECT_EQ(row.Cell(Fitness), " 7 %");
    EXPECT_EQ(row.Cell(Load), "100.0");
    EXPECT_EQ(row.Cell(MaxLoad), "100.0");
    EXPECT_EQ(row.Cell(Position), "25.0");
}

TEST_F(PersonRowTest, FitnessIsRoundedToAWholePercentInAFieldOfTwo)
{
    const struct { double fitness; const char* text; } samples[] = {
        {1.0, "100 %"}, {0.994, "99 %"}, {0.5, "50 %"}, {0.07, " 7 %"}, {0.0, " 0 %"},
    };
    for (const auto& sample : samples) {
        person.fitness = sample.fitness;
        EXPECT_EQ(TPersonRow::Of(&person).Cell(Fitness), sample.text) << "fitness " << sample.fitness;
    }
}

TEST(PersonRowHomeArea, HomeColumnsDependOnTheKindOfPersonAndItsHomeArea)
{
    TStagedPerson plain;
    const TPersonRow plainRow = TPersonRow::Of(&plain);
    EXPECT_EQ(plainRow.Cell(HomeLength), "");
    EXPECT_EQ(plainRow.Cell(Satisfaction), "");

    TStagedHomePerson homeless;
    homeless.homeSteps = 10;
    const TPersonRow homelessRow = TPersonRow::Of(&homeless);
    EXPECT_EQ(homelessRow.Cell(HomeLength), "(nein)");
    EXPECT_EQ(homelessRow.Cell(Satisfaction), "") << "no satisfaction without a home area";

    const struct { std::int32_t steps, corrections; const char* satisfaction; } samples[] = {
        {10, 3, " 70 %"}, {3, 1, " 67 %"}, {1000, 0, "100 %"}, {1000, 751, " 25 %"}, {0, 0, "  0 %"},
    };
    for (const auto& sample : samples) {
        TStagedHomePerson settled;
        settled.inHomeArea = true;
        settled.homeStart = 0.2;
        settled.homeEnd = 0.45;
        settled.homeSteps = sample.steps;
        settled.homeCorrections = sample.corrections;
        const TPersonRow row = TPersonRow::Of(&settled);
        EXPECT_EQ(row.Cell(HomeLength), "25.0");
        EXPECT_EQ(row.Cell(Satisfaction), sample.satisfaction)
            << sample.corrections << " corrections in " << sample.steps << " steps";
    }
}

TEST(PersonRowGone, AnythingButAPersonGivesAGoneRow)
{
    TZStdLoad load(1.0);
    TTrail trail;
    for (const TZembaObject* object : {static_cast<const TZembaObject*>(&load), static_cast<const TZembaObject*>(&trail),
                                       static_cast<const TZembaObject*>(nullptr)})
        EXPECT_TRUE(TPersonRow::Of(object).gone);

    TStagedPerson person;
    TZOManager objects;
    objects.Add(&person);
    objects.Add(&load);
    EXPECT_FALSE(TPersonRow::Read(&objects, person.GetId()).gone);
    EXPECT_TRUE(TPersonRow::Read(&objects, load.GetId()).gone);
    EXPECT_TRUE(TPersonRow::Read(&objects, person.GetId() + 1000).gone) << "an id the registry does not hold";
    EXPECT_TRUE(TPersonRow::Read(nullptr, person.GetId()).gone) << "no registry yet";
    EXPECT_EQ(TPersonRow::Of(&person).Cell(TPersonRow::ColumnCount), "") << "columns beyond the table are empty";
}

TEST(RowId, ReadsLikeADecimalIntegerUpToTheFirstNonDigit)
{
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    const struct { const char* text; std::optional<std::int32_t> id; } samples[] = {
        {"42", 42},           {"0", 0},        {"  7", 7},         {"+5", 5},
        {"-3", -3},           {"12abc", 12},   {"2147483647", max}, {"-2147483648", min},
        {"", std::nullopt},   {"abc", std::nullopt}, {"-", std::nullopt}, {" +x1", std::nullopt},
        {"2147483648", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (const auto& sample : samples)
        EXPECT_EQ(ParseRowId(QString::fromLatin1(sample.text)), sample.id) << '"' << sample.text << '"';
}

} // namespace
