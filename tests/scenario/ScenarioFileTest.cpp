#include "scenario/clsClockTime.h"
#include "scenario/clsScenarioFile.h"
#include "scenario/clsScenarioRules.h"
#include "tests/scenario/ScenarioRefusals.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <tuple>

namespace {

using ::testing::HasSubstr;
using refusals::With;

std::string Complaint(const std::function<void()>& read)
{
    try {
        read();
    } catch (const TScenarioFileError& error) {
        return error.what();
    }
    return "(read without complaint)";
}

std::string ErrorOf(std::string_view text)
{
    return Complaint([&] { ParseScenario(text, "bad.json"); });
}

TScenarioFault FaultOf(std::string_view text)
{
    try {
        ParseScenario(text, "bad.json");
    } catch (const TScenarioFileError& error) {
        return error.GetFault();
    }
    return {};
}

std::string ReadErrorOf(const std::string& path)
{
    return Complaint([&] { ReadScenarioFile(path); });
}

TEST(ScenarioFile, EveryBadFileIsRefusedWithOneLineNamingThePlace)
{
    for (const refusals::TRefusal& row : refusals::Rows()) {
        const std::string message = ErrorOf(row.text);
        EXPECT_EQ(FaultOf(row.text).kind, row.kind) << row.fault;
        EXPECT_THAT(message, HasSubstr(row.message)) << row.fault;
        EXPECT_EQ(message.find('\n'), std::string::npos) << row.fault;
    }
}

// What a file cannot hold but an edited description can: the same rules find it.
TEST(ScenarioRules, AnEditedDescriptionIsCheckedWithKindAndPath)
{
    using K = TScenarioFaultKind;
    const struct
    {
        const char* fault;
        void (*edit)(TScenarioDescription&);
        K kind;
        const char* path;
    } rows[] = {
        {"a position that is no number", [](TScenarioDescription& s) { s.persons[0].position = std::nan(""); },
         K::OffTrail, "/persons/0/position"},
        {"sections beyond any length", [](TScenarioDescription& s) { s.trail[0].length = s.trail[1].length = 1e308; },
         K::TrailTooLong, "/trail"},
        {"no group", [](TScenarioDescription& s) { s.persons.clear(); }, K::NoPerson, "/persons"},
        {"no person in a group", [](TScenarioDescription& s) { s.persons[0].count = 0; }, K::NotWholeInRange,
         "/persons/0/count"},
        {"a name of two lines", [](TScenarioDescription& s) { s.persons[0].names = {"A\nB"}; }, K::NotOneLine,
         "/persons/0/names/0"},
    };
    EXPECT_TRUE(CheckScenario(BuiltInMove()).empty());
    for (const auto& row : rows) {
        TScenarioDescription scenario = BuiltInMove();
        row.edit(scenario);
        const std::vector<TScenarioFault> faults = CheckScenario(scenario);
        ASSERT_FALSE(faults.empty()) << row.fault;
        EXPECT_EQ(faults.front().kind, row.kind) << row.fault;
        EXPECT_EQ(faults.front().path, row.path) << row.fault;
    }
}

TEST(ScenarioFile, FilesThatCannotBeReadOrAreTooLargeAreRefused)
{
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "scenario-file-test";
    std::filesystem::create_directories(dir);
    EXPECT_THAT(ReadErrorOf((dir / "absent.json").string()), HasSubstr("absent.json: cannot be opened: No such file"));
    EXPECT_THAT(ReadErrorOf(dir.string()), HasSubstr("scenario-file-test: cannot be read: Is a directory"));

    const std::string large = (dir / "large.json").string();
    std::ofstream(large) << With("\"description\": \"" + std::string(MaxScenarioFileBytes, 'x') + "\"");
    EXPECT_EQ(ReadErrorOf(large), large + ": larger than the 16 MiB a scenario file may have");
    std::filesystem::remove_all(dir);
}

TEST(ScenarioFile, AWrittenScenarioReadsBackTheSame)
{
    std::vector<TScenarioDescription> scenarios;
    for (const std::int32_t persons : {1, 11, 12, 22, 23, 1000})
        scenarios.push_back(BuiltInMove(persons));
    TScenarioDescription odd;
    odd.description = "Café au lait, \"quoted\" and \\ slashed";
    odd.seed = std::numeric_limits<std::uint32_t>::max();
    odd.trail = {{TSectionDescription::TKind::Steps, 0.1 + 0.2}, {TSectionDescription::TKind::Plain, 1e-300}};
    odd.stock = 1'000'000;
    odd.loadWeight = std::nextafter(1.0, 0.0);
    odd.handover = THandoverRule::Finish;
    odd.persons = {{3, TPersonGroup::TKind::Plain, odd.GetTrailLength(), 0.1 / 3.0, 1.0 / 70.0, {"Ada", "Bo"}},
                   {1, TPersonGroup::TKind::HomeArea, 0.15, 5e-324, 0.0, {}}};
    odd.schedule = {{90'000, true, TScheduleEntry::TKind::Join, {2, TPersonGroup::TKind::Plain, 0.0, 0.0025, 0.0, {"Anna"}}, {}},
                    {7, false, TScheduleEntry::TKind::Leave, {}, "Ada"}};
    odd.metresPerUnit = 2.5;
    odd.startSecond = 10 * 3600 + 30;
    scenarios.push_back(odd);
    for (const TScenarioDescription& scenario : scenarios) {
        const std::string text = WriteScenario(scenario);
        EXPECT_EQ(ParseScenario(text, "written.json"), scenario) << text;
        EXPECT_EQ(text.back(), '\n');
    }
}

TEST(ScenarioFile, TimesAreReadAndWrittenAsAPlannerWritesThem)
{
    const std::vector<std::tuple<const char*, bool, std::optional<std::int64_t>>> reads{
        {"1:00:00", false, 3600}, {"0:30:05", false, 1805}, {"123:59:59", false, 123 * 3600 + 3599},
        {"10:00", true, 36'000}, {"10:00", false, std::nullopt}, {"1:60:00", false, std::nullopt},
        {"1:5:00", false, std::nullopt}, {"-1:00:00", false, std::nullopt}, {"1:00:00 ", false, std::nullopt},
        {":00:00", false, std::nullopt}, {"", true, std::nullopt}};
    for (const auto& [text, withoutSeconds, seconds] : reads)
        EXPECT_EQ(ReadClockTime(text, withoutSeconds), seconds) << text;
    EXPECT_EQ(SimulatedTimeText(2 * 3600 + 27 * 60 + 26), "2:27:26");
    EXPECT_EQ(ClockTimeText(10 * 3600), "10:00");
    EXPECT_EQ(ClockTimeText(9 * 3600 + 5), "9:00:05");
    EXPECT_EQ(ClockTimeAfter(10 * 3600, 2 * 3600 + 27 * 60 + 59), "12:27") << "to the minute, cut off";
    EXPECT_EQ(ClockTimeAfter(23 * 3600, 3600 + 15 * 60), "0:15 (+1 day)");
    // The defaults are not written, so that the files of moves without them stay as they were.
    TScenarioDescription move = BuiltInMove();
    const std::string plain = WriteScenario(move);
    EXPECT_EQ(plain.find("metres_per_unit"), std::string::npos);
    EXPECT_EQ(plain.find("start"), std::string::npos);
    EXPECT_EQ(plain.find("schedule"), std::string::npos);
    move.startSecond = 10 * 3600;
    EXPECT_NE(WriteScenario(move).find("\"start\": \"10:00\""), std::string::npos);
}

TEST(ScenarioFile, TheShippedScenariosReadAndTheMoveIsTheBuiltInOne)
{
    const std::filesystem::path dir = ZEMBA_SCENARIOS_DIR;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const TScenarioDescription scenario = ReadScenarioFile(entry.path().string());
        EXPECT_FALSE(scenario.description.empty()) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 4);
    std::ifstream move(dir / "move.json", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(move), {}), WriteScenario(BuiltInMove()));
}

} // namespace
