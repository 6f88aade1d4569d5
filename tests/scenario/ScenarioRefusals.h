#pragma once

// The reader's refusals, one row per fault: the scenario tests read each file,
// and the editor's tests put each value fault into the editor's fields.
#include "scenario/clsScenarioFault.h"

#include <string>
#include <vector>

namespace refusals {

// A sound scenario, with the fault put into its trail, its persons or beside them.
constexpr auto Trail = R"([{"kind": "plain", "length": 1}])";
constexpr auto Persons = R"([{"speed": 0.01}])";

inline std::string File(const std::string& trail, const std::string& persons, const std::string& more = "")
{
    return R"({"trail": )" + trail + R"(, "persons": )" + persons + more + "}";
}
inline std::string With(const std::string& members) { return File(Trail, Persons, ", " + members); }
inline std::string WithPerson(const std::string& members) { return File(Trail, R"([{"speed": 0.01, )" + members + "}]"); }
inline std::string WithSection(const std::string& section) { return File("[" + section + "]", Persons); }

struct TRefusal
{
    const char* fault;
    TScenarioFaultKind kind;
    std::string text;
    const char* message;
};

inline std::vector<TRefusal> Rows()
{
    using K = TScenarioFaultKind;
    return {
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
        {"too many persons in all", K::TooManyPersons, File(Trail, R"([{"count": 600000, "speed": 0.001}, {"count": 400001, "speed": 0.001}])"),
         "/persons/1/count: 1000001 persons in all, more than 1000000"},
        {"position off the trail", K::OffTrail, WithPerson("\"position\": 1.25"),
         "/persons/0/position: 1.25 is off the trail, which runs from 0 to 1"},
        {"too heavy a load", K::TooHeavy, With(R"("source": {"load_weight": 1.5})"),
         "/source/load_weight: 1.5 is more than a person can carry (1)"},
        {"a name as a number", K::WrongType, WithPerson("\"names\": [7]"), "/persons/0/names/0: expected a string, found number"},
        {"more names than persons", K::TooManyNames, WithPerson("\"names\": [\"Ada\", \"Bo\"]"), "/persons/0/names: 2 names for 1 persons"},
        {"description of two lines", K::NotOneLine, With("\"description\": \"a\\nb\""), "/description: must be one line"},
        {"a person who crosses the whole trail in one step", K::TooFast, File(Trail, R"([{"speed": 1}])"),
         "/persons/0/speed: the group's last person would walk at 1 a step, as far as the whole trail (1) or farther"},
        {"the fastest of a group crosses it", K::TooFast, WithPerson("\"count\": 3, \"speed_increment\": 0.5"),
         "/persons/0/speed_increment: the group's last person would walk at 1.01"},
        {"sections beyond any length", K::TrailTooLong,
         WithSection(R"({"kind": "plain", "length": 1e308}, {"kind": "steps", "length": 1e308})"),
         "bad.json: /trail: the sections add up to inf"},
    };
}

} // namespace refusals
