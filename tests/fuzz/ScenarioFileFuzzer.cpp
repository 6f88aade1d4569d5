// Feeds arbitrary bytes to the scenario file reader and aborts when a property
// that must hold for every input is broken.
#include "FuzzProperty.h"
#include "scenario/clsScenarioFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TScenarioDescription scenario;
    // Any other exception escapes and counts as a crash: a bad file is
    // refused with TScenarioFileError and nothing else.
    try {
        scenario = ParseScenario(text, "fuzz.json");
    } catch (const TScenarioFileError& error) {
        const std::string message = error.what();
        Check(message.rfind("fuzz.json: ", 0) == 0, "a complaint names the file first");
        Check(message.find_first_of("\r\n") == std::string::npos, "a complaint is one line");
        return 0;
    }
    Check(!scenario.trail.empty() && !scenario.persons.empty(), "a scenario read has a trail and persons");
    Check(scenario.GetPersonCount() <= 1'000'000, "a scenario read has a sane number of persons");
    Check(ParseScenario(WriteScenario(scenario), "written.json") == scenario,
          "a scenario read, written and read again is the same");
    return 0;
}
