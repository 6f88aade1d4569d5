#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

// The text side of a scenario file: its bytes read within the size limit and
// parsed into a document. Every complaint is a TScenarioFileError of one line.

// Throws "fileName: place: what" for a file that only the headless tool reads
// (a fault of kind Other), kept to one line whatever the name and the place hold.
[[noreturn]] void FailScenario(const std::string& fileName, const std::string& place, const std::string& what);

// The file's bytes; a file larger than MaxScenarioFileBytes is refused before
// it is read to its end.
std::string ReadScenarioText(const std::string& path);

// The document in text; a syntax error is refused with its line and column,
// a key that its object already holds with its JSON path.
nlohmann::json ParseScenarioText(std::string_view text, const std::string& fileName);
