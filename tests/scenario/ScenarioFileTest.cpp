#include "scenario/clsScenarioFile.h"
#include "scenario/clsScenarioRules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>

namespace {

using ::testing::HasSubstr;

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

// A sound scenario, with the fault put into its trail, its persons or beside them.
constexpr auto Trail = R"([{"kind": "plain", "length": 1}])";
constexpr auto Persons = R"([{"speed": 0.01}])";

std::string File(const std::string& trail, const std::string& persons, const std::string& more = "")
{
    return R"({"trail": )" + trail + R"(, "persons": )" + persons + more + "}";
}
std::string With(const std::string& members) { return File(Trail, Persons, ", " + members); }
std::string WithPerson(const std::string& members) { return File(Trail, R"([{"speed": 0.01, )" + members + "}]"); }
std::string WithSection(const std::string& section) { return File("[" + section + "]", Persons); }

TEST(ScenarioFile, EveryBadFileIsRefusedWithOneLineNamingThePlace)
{
    using K = TScenarioFaultKind;
    const struct
    {
        const char* fault;
        TScenarioFaultKind kind;
        std::string text;
        const char* message;
    } rows[] = {
        {"empty", K::Empty, "", "bad.json: line 1, column 1: the file is empty"},
        {"not JSON", K::NotJson, "move: 11 persons", "bad.json: line 1, column 1: not JSON: syntax error"},
        {"cut short", K::CutShort, "{\"trail\": [\n", "bad.json: line 2, column 1: the file ends before its JSON does"},
        {"syntax on a later line", K::NotJson, "{\n\"seed\": 1,\n  x}", "bad.json: line 3, column 3: not JSON"},
        {"text after the object", K::NotJson, With("\"seed\": 1") + " {}", "not JSON: syntax error while parsing value"},
        {"not an object", K::WrongType, "[]", "bad.json: top level: expected an object, found array"},
        {"unknown key", K::UnknownKey, With("\"sead\": 1"), "bad.json: /sead: unknown key; the keys here are description, seed"},
        {"control character in a key", K::UnknownKey, With("\"se\\ned\": 1"), "bad.json: /se?ed: unknown key"},
        {"duplicate key", K::DuplicateKey, With("\"seed\": 1, \"seed\": 2"), "bad.json: /seed: duplicate key"},
        {"no trail key", K::Missing, std::string("{\"persons\": ") + Persons + "}", "bad.json: /trail: missing, and it has no default"},
        {"no section length", K::Missing, WithSection(R"({"kind": "steps"})"), "/trail/0/length: missing"},
        {"no speed", K::Missing, File(Trail, R"([{"count": 2}])"), "/persons/0/speed: missing"},
        {"no section", K::NoSection, File("[]", Persons), "bad.json: /trail: no trail section"},
        {"length as text", K::WrongType, WithSection(R"({"kind": "plain", "length": "1"})"), "/trail/0/length: expected a number, found string"},
        {"unknown section kind", K::UnknownKind, WithSection(R"({"kind": "stairs", "length": 1})"),
         "/trail/0/kind: unknown kind \"stairs\"; the kinds are plain and steps"},
        {"zero length", K::NotPositive, WithSection(R"({"kind": "plain", "length": 0})"), "/trail/0/length: 0 must be above 0"},
        {"negative speed", K::NotPositive, File(Trail, R"([{"speed": -0.5}])"), "/persons/0/speed: -0.5 must be above 0"},
        {"speeds beyond any number", K::TooFast, WithPerson("\"count\": 3, \"speed_increment\": 1e308"),
         "/persons/0/speed_increment: the group's last person would walk at inf"},
        {"unknown person kind", K::UnknownKind, WithPerson("\"kind\": \"homearea\""), "/persons/0/kind: unknown kind \"homearea\""},
        {"unknown hand-over rule", K::UnknownKind, With("\"handover\": \"wait\""),
         "bad.json: /handover: unknown kind \"wait\"; the kinds are restart and finish"},
        {"hand-over rule not a string", K::WrongType, With("\"handover\": true"), "/handover: expected a string, found boolean"},
        {"no stock", K::NotWholeInRange, With(R"("source": {"stock": 0})"), "/source/stock: 0 must be a whole number from 1 to 1000000"},
        {"fractional stock", K::NotWholeInRange, With(R"("source": {"stock": 66.5})"), "/source/stock: 66.5 must be a whole number"},
        {"seed beyond 32 bits", K::NotWholeInRange, With("\"seed\": 4294967296"), "/seed: 4294967296 must be"},
        {"huge seed", K::NotWholeInRange, With("\"seed\": 18446744073709551615"), "/seed: 18446744073709551615 must be"},
        {"too many persons in all", K::TooManyPersons, File(Trail, R"([{"count": 600000, "speed": 1}, {"count": 400001, "speed": 1}])"),
         "/persons/1/count: 1000001 persons in all, more than 1000000"},
        {"position off the trail", K::OffTrail, WithPerson("\"position\": 1.25"),
         "/persons/0/position: 1.25 is off the trail, which runs from 0 to 1"},
        {"too heavy a load", K::TooHeavy, With(R"("source": {"load_weight": 1.5})"),
         "/source/load_weight: 1.5 is more than a person can carry (1)"},
        {"a name as a number", K::WrongType, WithPerson("\"names\": [7]"), "/persons/0/names/0: expected a string, found number"},
        {"more names than persons", K::TooManyNames, WithPerson("\"names\": [\"Ada\", \"Bo\"]"), "/persons/0/names: 2 names for 1 persons"},
        {"description of two lines", K::NotOneLine, With("\"description\": \"a\\nb\""), "/description: must be one line"},
    };
    for (const auto& row : rows) {
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
    odd.persons = {{3, TPersonGroup::TKind::Plain, odd.GetTrailLength(), 0.1 / 3.0, 1.0 / 7.0, {"Ada", "Bo"}},
                   {1, TPersonGroup::TKind::HomeArea, 0.15, 5e-324, 0.0, {}}};
    scenarios.push_back(odd);
    for (const TScenarioDescription& scenario : scenarios) {
        const std::string text = WriteScenario(scenario);
        EXPECT_EQ(ParseScenario(text, "written.json"), scenario) << text;
        EXPECT_EQ(text.back(), '\n');
    }
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
