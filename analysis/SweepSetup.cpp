#include "analysis/SweepSetup.h"

#include "analysis/MoveReport.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

using nlohmann::json;

namespace {

// A JSON text nested one level into the sweep file: its lines after the
// first indented by two, without its closing newline.
std::string Indented(std::string_view text)
{
    while (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    std::string nested;
    for (const char c : text) {
        nested += c;
        if (c == '\n')
            nested += "  ";
    }
    return nested;
}

} // namespace

std::vector<TSweepField> SweepFieldsOf(const TScenarioDescription& scenario)
{
    using K = TSweepField::TKind;
    std::vector<TSweepField> fields;
    for (std::size_t g = 0; g < scenario.persons.size(); ++g) {
        const std::string group = "/persons/" + std::to_string(g);
        const auto number = static_cast<std::int32_t>(g + 1);
        fields.push_back({K::GroupCount, number, group + "/count", true, false});
        fields.push_back({K::GroupSpeed, number, group + "/speed", false, false});
    }
    fields.push_back({K::Stock, 0, "/source/stock", true, false});
    fields.push_back({K::LoadWeight, 0, "/source/load_weight", false, false});
    for (std::size_t s = 0; s < scenario.trail.size(); ++s)
        fields.push_back({K::SectionLength, static_cast<std::int32_t>(s + 1), "/trail/" + std::to_string(s) + "/length",
                          false, false});
    fields.push_back({K::Handover, 0, "/handover", false, true});
    return fields;
}

std::string SweepFieldEnglishName(const std::string& pointer)
{
    // A scenario with more groups and sections than any pointer names.
    TScenarioDescription wide;
    const auto number = [&](const char* prefix) -> std::size_t {
        std::size_t n = 0;
        const std::string_view rest = std::string_view(pointer).substr(std::string_view(prefix).size());
        std::from_chars(rest.data(), rest.data() + rest.size(), n);
        // A number beyond any scenario names no field.
        constexpr std::size_t MostNamed = 10'000;
        return n < MostNamed ? n + 1 : 0;
    };
    if (pointer.starts_with("/persons/"))
        wide.persons.resize(number("/persons/"));
    if (pointer.starts_with("/trail/"))
        wide.trail.resize(number("/trail/"));
    using K = TSweepField::TKind;
    const std::vector<TSweepField> fields = SweepFieldsOf(wide);
    const auto field = std::ranges::find(fields, pointer, &TSweepField::pointer);
    if (field == fields.end())
        return pointer;
    const std::string n = std::to_string(field->number);
    switch (field->kind) {
    case K::GroupCount: return "persons in group " + n;
    case K::GroupSpeed: return "speed of group " + n;
    case K::Stock: return "loads";
    case K::LoadWeight: return "load weight";
    case K::SectionLength: return "length of section " + n;
    case K::Handover: return "hand-over rule";
    }
    return pointer;
}

std::string SweepFileText(const TSweepSetup& setup)
{
    std::string text = "{\n";
    if (!setup.scenarioPath.empty())
        text += "  \"scenario\": " + json(setup.scenarioPath).dump() + ",\n";
    else if (!setup.scenarioText.empty())
        text += "  \"scenario\": " + Indented(setup.scenarioText) + ",\n";
    text += "  \"vary\": {";
    for (std::size_t k = 0; k < setup.axes.size(); ++k) {
        text += (k ? ",\n    " : "\n    ") + json(setup.axes[k].pointer).dump() + ": [";
        for (std::size_t i = 0; i < setup.axes[k].values.size(); ++i)
            text += (i ? ", " : "") + setup.axes[k].values[i];
        text += "]";
    }
    text += setup.axes.empty() ? "},\n" : "\n  },\n";
    const std::string count = std::to_string(setup.seedCount);
    text += "  \"seeds\": {\"from\": " + std::to_string(setup.seedFrom) + ", "
        + (setup.medianWithin > 0 ? "\"until\": {\"median_within\": \"" + FormatSimulatedTime(setup.medianWithin)
                                        + "\", \"max\": " + count + "}"
                                  : "\"count\": " + count)
        + "},\n  \"max_steps\": " + std::to_string(setup.maxSteps) + "\n}\n";
    return text;
}

std::optional<std::vector<std::string>> RangeValues(double from, double to, double step, bool whole)
{
    if (!(step > 0.0) || !(to >= from) || !std::isfinite(from) || !std::isfinite(to)
        || (to - from) / step >= static_cast<double>(MostAxisValues))
        return std::nullopt;
    std::vector<std::string> values;
    for (std::size_t i = 0;; ++i) {
        double value = from + static_cast<double>(i) * step;
        if (value > to + step * 1e-6)
            break;
        // The decimals a user types, not 0.30000000000000004.
        value = std::round(value * 1e9) / 1e9;
        if (whole && value != std::floor(value))
            return std::nullopt;
        values.push_back(whole ? std::to_string(static_cast<std::int64_t>(value)) : json(value).dump());
    }
    return values;
}

std::optional<TSweepRange> RangeOf(const std::vector<std::string>& values, bool whole)
{
    constexpr std::size_t FewestInARange = 2;
    if (values.size() < FewestInARange)
        return std::nullopt;
    std::vector<double> numbers;
    for (const std::string& text : values) {
        double number = 0.0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (ec != std::errc() || end != text.data() + text.size())
            return std::nullopt;
        numbers.push_back(number);
    }
    // Rounded as RangeValues rounds what it gives.
    const TSweepRange range{numbers.front(), numbers.back(), std::round((numbers[1] - numbers[0]) * 1e9) / 1e9};
    if (RangeValues(range.from, range.to, range.step, whole) != values)
        return std::nullopt;
    return range;
}

std::optional<std::vector<std::string>> ListValues(std::string_view text)
{
    std::vector<std::string> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string_view item = text.substr(start, comma - start);
        while (!item.empty() && std::isspace(static_cast<unsigned char>(item.front())))
            item.remove_prefix(1);
        while (!item.empty() && std::isspace(static_cast<unsigned char>(item.back())))
            item.remove_suffix(1);
        start = comma + 1;
        if (item.empty())
            return std::nullopt;
        const char* const first = item.data();
        const char* const last = first + item.size();
        std::int64_t whole = 0;
        double number = 0.0;
        if (const auto [end, ec] = std::from_chars(first, last, whole); ec == std::errc() && end == last)
            values.push_back(std::to_string(whole));
        else if (const auto [stop, error] = std::from_chars(first, last, number);
                 error == std::errc() && stop == last && std::isfinite(number))
            values.push_back(json(number).dump());
        else if (std::all_of(item.begin(), item.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '-' || c == '_'; }))
            values.emplace_back(json(std::string(item)).dump());
        else
            return std::nullopt;
        if (values.size() > MostAxisValues)
            return std::nullopt;
    }
    if (values.empty())
        return std::nullopt;
    return values;
}
