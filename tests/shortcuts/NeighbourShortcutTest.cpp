// The walk's shortcuts against the straightforward walks over the handlers found, and the interval sought
// from the walker against the one sought from the root, on many small crowded worlds: equal positions,
// positions an ulp apart, equally near candidates on both sides, and every kind of neighbour.
#include "ReferencePerson.h"

#include "model/clsBucketChain.h"
#include "model/clsLoad.h"
#include "model/clsTrail.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// A neighbour that stands still with a given number of equal loads and a given free capacity.
struct TSpot : TLoadHandler
{
    TSpot(TObjectIds& ids, double at, std::int32_t loadCount, double weight, double freeCapacity)
        : TLoadHandler(ids)
        , position(at)
        , loads(loadCount)
        , sample(ids, weight)
        , capacity(freeCapacity)
    {
    }

    std::int32_t GetLoadCount() const override { return loads; }
    TZLoad* GetLoad(std::int32_t index) const override { return index >= 0 && index < loads ? &sample : nullptr; }
    double GetFreeCapacity() const override { return capacity; }
    double GetPosition() const override { return position; }

    double position;
    std::int32_t loads;
    mutable TZStdLoad sample;
    double capacity;
};

struct TWalker : TPerson
{
    using TPerson::TPerson;
    using TPerson::FindPartner;
    using TPerson::KeepDistance;
};

double Pick(std::mt19937& random, std::initializer_list<double> values)
{
    return values.begin()[random() % values.size()];
}

// A person among up to a dozen neighbours within a few reaches of it.
struct TCrowdedWorld
{
    TCrowdedWorld(std::mt19937& random, bool emptyHands)
        : empty(emptyHands)
    {
        trail.AddSection(&section);
        const double at = Pick(random, {0.0, 0.3, 0.5, 1.0});
        walker.SetTrail(&trail);
        walker.SetPosition(at);
        if (!empty)
            walker.PutLoad(new TZStdLoad(ids, 1.0));

        const int neighbours = static_cast<int>(random() % 13);
        const int walkerTurn = static_cast<int>(random() % static_cast<unsigned>(neighbours + 1));
        for (int i = 0; i <= neighbours; ++i) {
            if (i == walkerTurn) {
                chain.AddHandler(&walker);
                continue;
            }
            // A grid of a fifth of the reach, with some spots an ulp off it and many shared.
            double p = at + 0.002 * (static_cast<int>(random() % 17) - 8);
            if (random() % 4 == 0)
                p = std::nextafter(p, random() % 2 ? 2.0 : -2.0);
            spots.push_back(std::make_unique<TSpot>(ids, p, static_cast<std::int32_t>(random() % 3),
                                                    Pick(random, {1.0, 1.0, 2.0}), Pick(random, {0.0, 1.0, 1.0})));
            chain.AddHandler(spots.back().get());
        }
        // Handlers far beyond every interval, so many that the chain seeks the
        // walker's interval from its entry instead of from the root.
        for (int i = 0; i < 100; ++i) {
            spots.push_back(std::make_unique<TSpot>(ids, 2.0 + i, 1, 1.0, 0.0));
            chain.AddHandler(spots.back().get());
        }

        const double step = Pick(random, {0.0, 0.001, 0.0026});
        target = empty ? at - step : at + step;
        lo = empty ? target - Reach() : at;
        hi = empty ? at : target + Reach();
        // A home area may have pulled the target anywhere near.
        if (random() % 3 == 0)
            target = at + 0.001 * (static_cast<int>(random() % 41) - 20);
        // The shortcuts hold for any interval, also one around the person.
        if (random() % 3 == 0) {
            lo = at - 0.001 * static_cast<int>(random() % 20);
            hi = at + 0.001 * static_cast<int>(random() % 20);
        }
    }

    double Reach() const { return trail.GetLength() * 0.01; }

    TObjectIds ids;
    TTrailSection section{ids, 1.0};
    TTrail trail{ids};
    TBucketChain chain{ids};
    TWalker walker{ids, "walker"};
    std::vector<std::unique_ptr<TSpot>> spots;
    bool empty;
    double target = 0.0, lo = 0.0, hi = 0.0;

};

TEST(NeighbourShortcuts, KeepDistanceAndPartnerChoiceMatchTheWalkOverEveryHandlerFound)
{
    std::mt19937 random(2024);
    for (int world = 0; world < 20'000; ++world) {
        const bool empty = world % 2 == 1;
        TCrowdedWorld w(random, empty);
        SCOPED_TRACE("world " + std::to_string(world) + (empty ? ", empty hands" : ", carrying"));
        // Nobody moves once filed: the order needs not listen.
        TReferenceOrder order;
        order.Start(w.chain);
        THandlerList found;
        order.FindHandlers(w.lo, w.hi, found);
        const THandlerRange range = w.chain.FindHandlerRange(w.lo, w.hi);
        // Sought from the walker's own entry, the stretch is the same.
        const THandlerRange fromWalker = w.chain.FindHandlerRange(w.lo, w.hi, &w.walker);
        ASSERT_TRUE(fromWalker.first == range.first && fromWalker.last == range.last);

        double shortcut[] = {w.target, -1.0};
        double scanned[] = {w.target, -1.0};
        w.walker.KeepDistance(range, empty, w.Reach(), shortcut[0]);
        KeepDistanceByScan(w.walker, found, empty, w.Reach(), scanned[0]);
        ASSERT_EQ(w.walker.FindPartner(range, empty, shortcut[1]), FindPartnerByScan(w.walker, found, empty, scanned[1]));
        // Target and partner distance, bit for bit.
        using TBits = std::array<std::uint64_t, 2>;
        ASSERT_EQ(std::bit_cast<TBits>(shortcut), std::bit_cast<TBits>(scanned))
            << shortcut[0] << " instead of " << scanned[0];
    }
}

} // namespace

// A section look-up from a hint must find what the search from scratch finds,
// whatever the hint: borders, positions outside the trail, NaN, stale hints.
TEST(SectionHint, FindsTheSectionTheSearchFindsFromAnyHint)
{
    TObjectIds ids;
    TTrail trail(ids);
    TTrailSection sections[] = {{ids, 0.1}, {ids, 0.25}, {ids, 0.1}, {ids, 1e-9}, {ids, 0.3}};
    for (TTrailSection& section : sections)
        trail.AddSection(&section);
    std::vector<double> positions = {-1.0, 0.0, trail.GetLength(), 2.0, std::numeric_limits<double>::quiet_NaN()};
    for (std::int32_t i = 0; i < trail.GetSectionCount(); ++i) {
        const double end = trail.GetSectionStart(trail.GetSection(i)) + trail.GetSection(i)->GetLength();
        positions.insert(positions.end(), {std::nextafter(end, -1.0), end, std::nextafter(end, 2.0)});
    }
    for (const double position : positions) {
        for (std::int32_t hint = -2; hint <= trail.GetSectionCount() + 1; ++hint) {
            std::int32_t kept = hint;
            const TTrailSection* found = trail.GetSectionAt(position, kept);
            ASSERT_EQ(found, trail.GetSectionAt(position)) << "position " << position << ", hint " << hint;
            EXPECT_EQ(trail.GetSection(kept), found);
        }
    }
}
