#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// What is wrong with a scenario, as a kind that each front end words in its
// own language, with the values that the wording names.
enum class TScenarioFaultKind {
    // The file itself; these have no place. Values: the system's reason; for
    // TooLarge the limit in MiB.
    CannotOpen,
    CannotRead,
    TooLarge,
    // The text; the place is a line and a column, a duplicate key's its path.
    // NotJson's value: the parser's own words.
    Empty,
    CutShort,
    NotJson,
    DuplicateKey,
    // The document's structure. WrongType: the JSON type expected and the one
    // found; UnknownKey: the keys allowed there; UnknownKind: the value as
    // written and the kinds allowed; NotWholeInRange: the number, the lowest
    // and the highest allowed (a value rule too).
    WrongType,
    UnknownKey,
    Missing,
    NotFinite,
    UnknownKind,
    NotWholeInRange,
    // The values, which CheckScenario finds in a description. NotPositive,
    // Negative: the number; OffTrail: the position and the trail's length;
    // TooHeavy: the weight and what a person carries; TooFast: the speed
    // and the trail's length;
    // TooManyNames: the names and the persons; TooManyPersons: the persons
    // and the most allowed; TrailTooLong: the length.
    NotOneLine,
    NotPositive,
    Negative,
    OffTrail,
    TooHeavy,
    TooFast,
    EmptyName,
    TooManyNames,
    NoSection,
    NoPerson,
    TooManyPersons,
    TrailTooLong,
    // A leave of the schedule: nobody of the name is on the trail then, or
    // the one who would leave is the last on the trail. No values.
    NobodyOfName,
    LastCannotLeave,
    // A fault of a file that only the headless tool reads, such as a sweep file.
    Other,
};

struct TScenarioFault
{
    TScenarioFaultKind kind = TScenarioFaultKind::Other;
    // The JSON path such as /persons/0/speed, empty for the top level.
    std::string path;
    // For a syntax error, counted from 1; 0 for every other fault.
    std::int64_t line = 0;
    std::int64_t column = 0;
    std::vector<std::string> values;
    // What is wrong, in English, for the headless tool's one line.
    std::string what;

    // "line 2, column 1", "/persons/0/speed" or "top level"; empty for a
    // fault of the file itself.
    std::string Place() const;
    bool HasPlace() const;
};

// A scenario file that cannot be run. The message is one line naming the file,
// the place (line and column for a syntax error, the JSON path such as
// /persons/0/speed for a bad value) and what is wrong.
class TScenarioFileError : public std::runtime_error
{
public:
    TScenarioFileError(const std::string& theFileName, TScenarioFault theFault);

    const std::string& GetFileName() const { return fileName; }
    const TScenarioFault& GetFault() const { return fault; }

private:
    std::string fileName;
    TScenarioFault fault;
};

// A number as the messages write it: the shortest text that reads back the same.
std::string ScenarioNumberText(double value);
