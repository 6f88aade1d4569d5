#pragma once

#include "scenario/clsScenarioDescription.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// A scenario file that cannot be run. The message is one line naming the file,
// the place (line and column for a syntax error, the JSON path such as
// /persons/0/speed for a bad value) and what is wrong.
class TScenarioFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Files larger than this are refused unread.
inline constexpr std::size_t MaxScenarioFileBytes = 16u << 20;

// Reads and checks the file at path; throws TScenarioFileError.
TScenarioDescription ReadScenarioFile(const std::string& path);
// The same for text already read; fileName only names it in messages.
TScenarioDescription ParseScenario(std::string_view text, const std::string& fileName);
// The same for a parsed document, for tools that change one before they run it.
TScenarioDescription ScenarioFromJson(const nlohmann::json& document, const std::string& fileName);

// Every key written out, so that the file reads back into the same scenario.
nlohmann::json ScenarioToJson(const TScenarioDescription& scenario);
// ScenarioToJson as indented text, ending in a newline; the hand-over rule
// only where it is not the default.
std::string WriteScenario(const TScenarioDescription& scenario);
