// A section look-up from a hint must find what the search from scratch finds,
// whatever the hint: borders, positions outside the trail, NaN, stale hints.
#include "model/clsTrail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

TEST(SectionHint, finds_the_section_the_search_finds_from_any_hint)
{
    TObjectIds ids;
    TTrail trail(ids);
    std::vector<std::unique_ptr<TTrailSection>> sections;
    for (const double length : {0.1, 0.25, 0.1, 1e-9, 0.3}) {
        sections.push_back(std::make_unique<TTrailSection>(ids, length));
        trail.AddSection(sections.back().get());
    }
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
