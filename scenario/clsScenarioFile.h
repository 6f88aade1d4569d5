#pragma once

#include "scenario/clsScenarioDescription.h"
#include "scenario/clsScenarioFault.h"

#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <string>
#include <string_view>

// Files larger than this are refused unread.
inline constexpr std::size_t MaxScenarioFileBytes = 16u << 20;

// Reads the file at path, checks its structure, then its values
// (CheckScenario); throws TScenarioFileError with the first fault.
TScenarioDescription ReadScenarioFile(const std::string& path);
// The same for text already read; fileName only names it in messages.
TScenarioDescription ParseScenario(std::string_view text, const std::string& fileName);
// The same for a parsed document, for tools that change one before they run it.
TScenarioDescription ScenarioFromJson(const nlohmann::json& document, const std::string& fileName);

// The document's structure alone, before the rules on its values: what an
// editor is handed to show a file's values, faulty ones included.
TScenarioDescription ReadScenarioStructure(std::string_view text, const std::string& fileName);

// Every key written out, so that the file reads back into the same scenario.
nlohmann::json ScenarioToJson(const TScenarioDescription& scenario);
// ScenarioToJson as indented text, ending in a newline; the hand-over rule
// only where it is not the default.
std::string WriteScenario(const TScenarioDescription& scenario);
