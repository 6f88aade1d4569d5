#include "scenario/clsScenarioFault.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

// Kept to one line whatever the name and the place hold.
std::string OneLine(std::string text)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; },
                    '?');
    return text;
}

std::string Message(const std::string& fileName, const TScenarioFault& fault)
{
    return OneLine(fileName + ": " + (fault.HasPlace() ? fault.Place() + ": " : std::string()) + fault.what);
}

} // namespace

bool TScenarioFault::HasPlace() const
{
    return kind != TScenarioFaultKind::CannotOpen && kind != TScenarioFaultKind::CannotRead
        && kind != TScenarioFaultKind::TooLarge;
}

std::string TScenarioFault::Place() const
{
    if (!HasPlace())
        return {};
    if (line > 0)
        return "line " + std::to_string(line) + ", column " + std::to_string(column);
    return path.empty() ? std::string("top level") : path;
}

TScenarioFileError::TScenarioFileError(const std::string& theFileName, TScenarioFault theFault)
    : std::runtime_error(Message(theFileName, theFault))
    , fileName(theFileName)
    , fault(std::move(theFault))
{
}

std::string ScenarioNumberText(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return {text, end};
}
