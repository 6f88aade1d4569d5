// The step's shortcuts must not change a single bit of a run: scaled scenarios of optimised persons are stepped
// side by side with the same scenarios of persons that walk the straightforward way, compared after every step.
#include "ReferencePerson.h"

#include "model/clsTrail.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct TRunShape
{
    std::int32_t persons;
    std::int64_t steps;
    bool spread; // persons stood at even spacing along the trail first, not all at the source
};

// One scaled scenario; it draws its overtaking chances from its own chain.
struct TRun
{
    TRun(const TRunShape& shape, bool reference)
        : scenario(objects, BuiltInMove(shape.persons), reference ? MakeReferencePerson() : TScenario::TPersonFactory{})
    {
        if (reference) {
            order.Start(Chain());
            Chain().AddListener(&order);
        }
        const double length = scenario.GetTrail()->GetLength();
        const std::int32_t count = Chain().GetHandlerCount();
        for (std::int32_t i = 1; shape.spread && i + 1 < count; ++i)
            static_cast<TPerson*>(Chain().GetHandler(i))->SetPosition(length * i / (count - 1));
    }

    TBucketChain& Chain() const { return *scenario.GetChain(); }
    TScenario::TPersonFactory MakeReferencePerson()
    {
        return [this](TObjectIds& ids, std::string name) {
            return std::make_unique<TReferencePerson>(ids, std::move(name), order);
        };
    }

    // Before the scenario, whose chain it listens to.
    TReferenceOrder order;
    TZOManager objects;
    TScenario scenario;
};

constexpr std::array<const char*, 11> FieldNames = {"position", "loads", "fitness", "break", "state", "counter", "home",
                                                     "home start", "home end", "home steps", "home corrections (or delivered)"};
using TRecord = std::array<std::uint64_t, FieldNames.size()>;

std::uint64_t Bits(double value)
{
    return std::bit_cast<std::uint64_t>(value);
}

// Everything a trace shows of a handler, doubles bit for bit.
TRecord Record(const TLoadHandler& h)
{
    const auto u = [](auto value) { return static_cast<std::uint64_t>(value); };
    const auto* p = dynamic_cast<const THomeareaPerson*>(&h);
    if (!p) {
        const auto* sink = dynamic_cast<const TLoadSink*>(&h);
        return {Bits(h.GetPosition()), u(h.GetLoadCount()), 0, 0, 0, 0, 0, 0, 0, 0, sink ? u(sink->GetDeliveredCount()) : 0};
    }
    const bool home = p->IsInHomeArea();
    return {Bits(h.GetPosition()), u(h.GetLoadCount()), Bits(p->GetFitness()), p->IsOnBreak(), u(p->GetState()),
            u(p->GetStepCounter()), home, home ? Bits(p->GetHomeStart()) : 0, home ? Bits(p->GetHomeEnd()) : 0,
            u(p->GetHomeSteps()), u(p->GetHomeCorrections())};
}

// Empty when both chains agree, else where they first differ.
std::string FirstDifference(const TBucketChain& optimised, const TBucketChain& reference)
{
    for (std::int32_t i = 0; i < reference.GetHandlerCount(); ++i) {
        const TRecord a = Record(*optimised.GetHandler(i));
        const TRecord b = Record(*reference.GetHandler(i));
        if (const auto f = std::mismatch(a.begin(), a.end(), b.begin()).first; f != a.end())
            return "handler " + std::to_string(i) + ", " + FieldNames[static_cast<std::size_t>(f - a.begin())];
    }
    return {};
}

// Empty when the chain's partner indexes list their handlers in the position
// index's order, keyed by their current positions; else what is wrong.
std::string PartnerIndexFault(const TBucketChain& chain)
{
    const auto end = chain.GetPositionIndex().end();
    for (const TPartnerKind kind : {TPartnerKind::Taker, TPartnerKind::Giver}) {
        auto at = chain.GetPositionIndex().begin();
        for (const auto& entry : chain.GetPartnerIndex(kind)) {
            if (entry.first.position != entry.second->GetPosition())
                return "a partner key is not its handler's position";
            at = std::find_if(at, end, [&](const auto& filed) { return filed.second == entry.second; });
            if (at == end)
                return "a partner index is out of the position index's order";
        }
    }
    return {};
}

using ReferencePass = testing::TestWithParam<TRunShape>;

TEST_P(ReferencePass, EveryStepOfTheOptimisedPersonsMatchesTheStraightforwardPassBitForBit)
{
    const TRunShape shape = GetParam();
    TRun optimised(shape, false);
    TRun reference(shape, true);
    for (std::int64_t step = 1; step <= shape.steps; ++step) {
        optimised.Chain().Step();
        reference.Chain().Step();
        const std::string difference = FirstDifference(optimised.Chain(), reference.Chain());
        ASSERT_TRUE(difference.empty()) << "after step " << step << ": " << difference;
        const std::string fault = PartnerIndexFault(optimised.Chain());
        ASSERT_TRUE(fault.empty()) << "after step " << step << ": " << fault;
    }
    // The runs must have got somewhere, or agreeing proves little.
    EXPECT_GT(reference.scenario.GetSink()->GetDeliveredCount(), 0);
}

// From the start crowd at the source through spreading, home areas, hand-overs,
// deliveries and, for the eleven, the first breaks; the spread runs found and
// cut many home areas at once.
INSTANTIATE_TEST_SUITE_P(ScaledScenarios, ReferencePass,
                         testing::Values(TRunShape{11, 30'000, false}, TRunShape{23, 8'000, false},
                                         TRunShape{110, 4'000, false}, TRunShape{250, 2'500, false},
                                         TRunShape{110, 3'000, true}, TRunShape{250, 2'000, true}),
                         [](const auto& row) {
                             return std::to_string(row.param.persons) + (row.param.spread ? "_spread" : "") + "_persons_"
                                 + std::to_string(row.param.steps) + "_steps";
                         });

// The source answers for its whole stock from its sample load; the answers must
// be those of a walk over every load in stock.
TEST(SourceShortcut, AnswersAsAWalkOverTheWholeStockWould)
{
    struct TNarrowSink : TLoadSink
    {
        using TLoadSink::TLoadSink;
        double GetFreeCapacity() const override { return capacity; }
        double capacity = 0.0;
    };
    // Rows: sample weight, stock, the receiver's free capacity.
    for (const auto& [weight, stock, room] : {std::tuple{1.0, 3, 1.0}, {1.0, 3, 0.5}, {1.0, 3, 0.0}, {1.0, 0, 1.0},
                                              {0.0, 3, 1.0}, {-1.0, 3, 1.0}, {0.5, 2, 100.0}, {2.0, 1, 2.0}}) {
        SCOPED_TRACE(testing::Message() << "sample " << weight << ", stock " << stock << ", room " << room);
        TObjectIds ids;
        TLoadSource shortcut(ids, weight, stock);
        TLoadSource walked(ids, weight, stock);
        EXPECT_EQ(shortcut.FindHeaviestLoad(room), walked.TLoadHandler::FindHeaviestLoad(room));
        TNarrowSink a(ids, 1.0);
        TNarrowSink b(ids, 1.0);
        a.capacity = b.capacity = room;
        shortcut.GiveLoadTo(&a);
        walked.TLoadHandler::GiveLoadTo(&b);
        EXPECT_EQ(shortcut.GetLoadCount(), walked.GetLoadCount());
        EXPECT_EQ(a.GetDeliveredCount(), b.GetDeliveredCount());
    }
}

} // namespace
