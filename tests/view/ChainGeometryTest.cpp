#include "view/clsChainGeometry.h"

#include "scenario/clsScenario.h"
#include "model/clsTrail.h"
#include "model/clsZOManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The main window's usual client area: 517 columns of trail, 215 rows of rise.
constexpr int Width = 523;
constexpr int Height = 271;

struct MappingCase
{
    const char* name;
    double position;
    int column;
    int top;
};

void PrintTo(const MappingCase& c, std::ostream* out)
{
    *out << c.name;
}

class ScenarioTrailMapping : public testing::TestWithParam<MappingCase>
{
protected:
    TZOManager objects;
    TScenario scenario{objects};
};

TEST_P(ScenarioTrailMapping, PlacesTheHandlerColumnAndBaseline)
{
    const MappingCase& c = GetParam();
    const TBarRect r = MapPosition(*scenario.GetTrail(), Width, Height, c.position);
    EXPECT_EQ(r.left, c.column);
    EXPECT_EQ(r.right, c.column);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.bottom, c.top + BarHeight);
}

INSTANTIATE_TEST_SUITE_P(
    AlongTheTrail, ScenarioTrailMapping,
    testing::Values(
        // Height 0 lies one row above the bottom of the rise: H − 1.
        MappingCase{"TrailStart", 0.0, 0, 214},
        // The top height truncates −0.5 toward zero: the bar touches row 0.
        MappingCase{"TrailEndAtTheTopHeight", 1.75, 517, 0},
        MappingCase{"FootOfTheFirstFlight", 0.3, 89, 214},
        MappingCase{"HeadOfTheFirstFlight", 0.5, 148, 171},
        // A walker may end a step just before the start: −0.517 + 0.5 truncates
        // to column 0, where rounding down would give −1.
        MappingCase{"JustBeforeTheTrailStart", -0.00175, 0, 214}),
    [](const testing::TestParamInfo<MappingCase>& info) { return std::string(info.param.name); });

class OwnedTrail
{
public:
    explicit OwnedTrail(const std::vector<double>& levelLengths)
    {
        for (const double length : levelLengths) {
            sections.push_back(std::make_unique<TTrailSection>(ids, length));
            trail.AddSection(sections.back().get());
        }
    }
    TObjectIds ids;
    TTrail trail{ids};

private:
    std::vector<std::unique_ptr<TTrailSection>> sections;
};

TEST(LevelTrailMapping, DrawsATrailWithoutRiseFlatAlongTheBottom)
{
    const OwnedTrail level({0.5, 0.5});
    for (const double position : {0.0, 0.25, 0.5, 1.0}) {
        const TBarRect r = MapPosition(level.trail, Width, Height, position);
        EXPECT_EQ(r.top, 214) << position;
        EXPECT_EQ(r.left, static_cast<int>(position * 517 + 0.5)) << position;
    }
}

TEST(LevelTrailMapping, PutsEverythingInColumnZeroOnATrailWithoutLength)
{
    const OwnedTrail empty({});
    const TBarRect r = MapPosition(empty.trail, Width, Height, 0.7);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 214);
}

} // namespace
