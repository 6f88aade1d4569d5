#include "scenario/clsScenarioFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

using nlohmann::json;

namespace {

// The keys, shared by the reader and the writer so the two cannot drift apart.
namespace Key {
constexpr const char* Description = "description";
constexpr const char* Seed = "seed";
constexpr const char* Trail = "trail";
constexpr const char* Source = "source";
constexpr const char* Persons = "persons";
constexpr const char* Kind = "kind";
constexpr const char* Length = "length";
constexpr const char* Stock = "stock";
constexpr const char* LoadWeight = "load_weight";
constexpr const char* Count = "count";
constexpr const char* Position = "position";
constexpr const char* Speed = "speed";
constexpr const char* SpeedIncrement = "speed_increment";
constexpr const char* Names = "names";
} // namespace Key

template <typename TKind>
using TKindNames = std::pair<const char*, TKind>[2];

constexpr TKindNames<TSectionDescription::TKind> SectionKinds{
    {"plain", TSectionDescription::TKind::Plain}, {"steps", TSectionDescription::TKind::Steps}};
constexpr TKindNames<TPersonGroup::TKind> PersonKinds{
    {"home-area", TPersonGroup::TKind::HomeArea}, {"plain", TPersonGroup::TKind::Plain}};

template <typename TKind>
const char* KindName(const TKindNames<TKind>& names, TKind kind)
{
    return names[0].second == kind ? names[0].first : names[1].first;
}

// A sane bound on a move: more persons or loads than this are a typing slip,
// and would only make a run that never ends in reasonable time.
constexpr std::int64_t MaxCount = 1'000'000;
// What one person can carry; a heavier load could never leave the source.
constexpr double PersonCapacity = 1.0;

std::string FormatNumber(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return {text, end};
}

// A string value as JSON writes it, shortened: a message stays one short line.
std::string Quote(const std::string& text)
{
    constexpr std::size_t MaxQuoted = 40;
    std::string quoted = json(text).dump(-1, ' ', false, json::error_handler_t::replace);
    if (quoted.size() > MaxQuoted)
        quoted = quoted.substr(0, MaxQuoted) + "...";
    return quoted;
}

bool IsOneLine(const std::string& text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// One line whatever the file name or the keys hold.
[[noreturn]] void Fail(const std::string& fileName, const std::string& place, const std::string& what)
{
    std::string message = fileName + ": " + place + ": " + what;
    std::replace_if(message.begin(), message.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, '?');
    throw TScenarioFileError(message);
}

[[noreturn]] void FailTooLarge(const std::string& fileName)
{
    throw TScenarioFileError(fileName + ": larger than the " + std::to_string(MaxScenarioFileBytes >> 20)
                             + " MiB a scenario file may have");
}

// Builds the document as nlohmann's own parser does, but stops at a key its
// object already holds, which that parser would silently overwrite.
class TDocumentBuilder final : public nlohmann::json_sax<json>
{
public:
    json document;
    bool duplicate = false;
    json::json_pointer duplicatePlace;
    std::size_t errorPosition = 0;
    std::string errorText;

    bool null() override { return Add(nullptr) != nullptr; }
    bool boolean(bool value) override { return Add(value) != nullptr; }
    bool number_integer(json::number_integer_t value) override { return Add(value) != nullptr; }
    bool number_unsigned(json::number_unsigned_t value) override { return Add(value) != nullptr; }
    bool number_float(json::number_float_t value, const json::string_t&) override { return Add(value) != nullptr; }
    bool string(json::string_t& value) override { return Add(std::move(value)) != nullptr; }
    bool binary(json::binary_t& value) override { return Add(json::binary(std::move(value))) != nullptr; }

    bool start_object(std::size_t) override { return Open(json::object()); }
    bool start_array(std::size_t) override { return Open(json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(json::string_t& name) override
    {
        if (open.back()->contains(name)) {
            duplicate = true;
            duplicatePlace = OpenPlace() / name;
            return false;
        }
        pendingKey = std::move(name);
        return true;
    }

    bool parse_error(std::size_t position, const std::string&, const json::exception& error) override
    {
        errorPosition = position;
        errorText = error.what();
        return false;
    }

private:
    json* Add(json value)
    {
        if (open.empty()) {
            document = std::move(value);
            return &document;
        }
        json& parent = *open.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        return &(parent[pendingKey] = std::move(value));
    }

    // A container's address holds while it is open: only its last child grows.
    bool Open(json container)
    {
        const std::string token = open.empty() || open.back()->is_object()
            ? pendingKey : std::to_string(open.back()->size());
        open.push_back(Add(std::move(container)));
        tokens.push_back(token);
        return true;
    }

    bool Close()
    {
        open.pop_back();
        tokens.pop_back();
        return true;
    }

    json::json_pointer OpenPlace() const
    {
        json::json_pointer place;
        for (std::size_t i = 1; i < tokens.size(); ++i)
            place /= tokens[i];
        return place;
    }

    std::vector<json*> open;
    std::vector<std::string> tokens;
    std::string pendingKey;
};

// The parser counts bytes read, the last one being where it failed.
std::string LineAndColumn(std::string_view text, std::size_t bytesRead)
{
    const std::size_t failedAt = std::min(bytesRead > 0 ? bytesRead - 1 : 0, text.size());
    const std::string_view before = text.substr(0, failedAt);
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lastBreak = before.rfind('\n');
    const std::size_t lineStart = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(failedAt - lineStart + 1);
}

// nlohmann's message without its exception name and its own idea of the place.
std::string SyntaxProblem(const std::string& what)
{
    std::string problem = what.substr(std::min(what.find("] "), what.size() - 2) + 2);
    if (problem.rfind("parse error", 0) == 0 && problem.find(": ") != std::string::npos)
        problem = problem.substr(problem.find(": ") + 2);
    return problem;
}

// Checks one value at its place in the document and reads it into the model's
// types; every complaint names the file and the place.
class TChecker
{
public:
    explicit TChecker(const std::string& fileName) : fileName(fileName) {}

    [[noreturn]] void Fail(const json::json_pointer& place, const std::string& what) const
    {
        ::Fail(fileName, place.empty() ? std::string("top level") : place.to_string(), what);
    }

    void Expect(const json& value, const json::json_pointer& place, json::value_t type, const char* name) const
    {
        const bool matches = type == json::value_t::number_float ? value.is_number() : value.type() == type;
        if (!matches)
            Fail(place, std::string("expected ") + name + ", found " + value.type_name());
    }

    // An object with no other keys than those given.
    void Keys(const json& value, const json::json_pointer& place, std::initializer_list<const char*> keys) const
    {
        Expect(value, place, json::value_t::object, "an object");
        for (const auto& [key, member] : value.items()) {
            if (std::none_of(keys.begin(), keys.end(), [&](const char* known) { return key == known; })) {
                std::string known;
                for (const char* name : keys)
                    known += (known.empty() ? "" : ", ") + std::string(name);
                Fail(place / key, "unknown key; the keys here are " + known);
            }
        }
    }

    const json* Optional(const json& object, const char* key) const
    {
        const auto found = object.find(key);
        return found == object.end() ? nullptr : &*found;
    }

    const json& Required(const json& object, const json::json_pointer& place, const char* key) const
    {
        const json* value = Optional(object, key);
        if (!value)
            Fail(place / key, "missing, and it has no default");
        return *value;
    }

    const json& Array(const json& value, const json::json_pointer& place) const
    {
        Expect(value, place, json::value_t::array, "a list");
        return value;
    }

    std::string Line(const json& value, const json::json_pointer& place) const
    {
        Expect(value, place, json::value_t::string, "a string");
        const std::string& text = value.get_ref<const std::string&>();
        if (!IsOneLine(text))
            Fail(place, "must be one line without control characters");
        return text;
    }

    double Number(const json& value, const json::json_pointer& place) const
    {
        Expect(value, place, json::value_t::number_float, "a number");
        const double number = value.get<double>();
        if (!std::isfinite(number))
            Fail(place, "not a finite number");
        return number;
    }

    double Positive(const json& value, const json::json_pointer& place) const
    {
        const double number = Number(value, place);
        if (!(number > 0.0))
            Fail(place, FormatNumber(number) + " must be above 0");
        return number;
    }

    std::int64_t Integer(const json& value, const json::json_pointer& place, std::int64_t low, std::int64_t high) const
    {
        Expect(value, place, json::value_t::number_float, "a number");
        const std::string range = "must be a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        if (value.is_number_unsigned()) {
            const auto number = value.get<std::uint64_t>();
            if (number > static_cast<std::uint64_t>(high) || static_cast<std::int64_t>(number) < low)
                Fail(place, std::to_string(number) + " " + range);
            return static_cast<std::int64_t>(number);
        }
        if (value.is_number_integer()) {
            const auto number = value.get<std::int64_t>();
            if (number < low || number > high)
                Fail(place, std::to_string(number) + " " + range);
            return number;
        }
        const double number = Number(value, place);
        if (std::trunc(number) != number || number < static_cast<double>(low) || number > static_cast<double>(high))
            Fail(place, FormatNumber(number) + " " + range);
        return static_cast<std::int64_t>(number);
    }

    template <typename TKind>
    TKind Kind(const json& value, const json::json_pointer& place, const TKindNames<TKind>& names) const
    {
        Expect(value, place, json::value_t::string, "a string");
        for (const auto& [name, kind] : names)
            if (value == name)
                return kind;
        Fail(place, "unknown kind " + Quote(value.get<std::string>()) + "; the kinds are " + names[0].first
                        + " and " + names[1].first);
    }

private:
    const std::string& fileName;
};

std::vector<TSectionDescription> ReadTrail(const TChecker& check, const json& value, const json::json_pointer& place)
{
    std::vector<TSectionDescription> trail;
    const json& list = check.Array(value, place);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const json& entry = list[i];
        const json::json_pointer at = place / i;
        check.Keys(entry, at, {Key::Kind, Key::Length});
        trail.push_back({check.Kind(check.Required(entry, at, Key::Kind), at / Key::Kind, SectionKinds),
                         check.Positive(check.Required(entry, at, Key::Length), at / Key::Length)});
    }
    if (trail.empty())
        check.Fail(place, "no trail section; the trail needs at least one");
    return trail;
}

void ReadSource(const TChecker& check, const json& value, const json::json_pointer& place, TScenarioDescription& scenario)
{
    check.Keys(value, place, {Key::Stock, Key::LoadWeight});
    if (const json* stock = check.Optional(value, Key::Stock))
        scenario.stock = static_cast<std::int32_t>(check.Integer(*stock, place / Key::Stock, 1, MaxCount));
    if (const json* weight = check.Optional(value, Key::LoadWeight)) {
        scenario.loadWeight = check.Positive(*weight, place / Key::LoadWeight);
        if (scenario.loadWeight > PersonCapacity)
            check.Fail(place / Key::LoadWeight, FormatNumber(scenario.loadWeight)
                                                    + " is more than a person can carry (" + FormatNumber(PersonCapacity) + ")");
    }
}

TPersonGroup ReadGroup(const TChecker& check, const json& value, const json::json_pointer& place, double trailLength)
{
    check.Keys(value, place, {Key::Count, Key::Kind, Key::Position, Key::Speed, Key::SpeedIncrement, Key::Names});
    TPersonGroup group;
    if (const json* count = check.Optional(value, Key::Count))
        group.count = static_cast<std::int32_t>(check.Integer(*count, place / Key::Count, 1, MaxCount));
    if (const json* kind = check.Optional(value, Key::Kind))
        group.kind = check.Kind(*kind, place / Key::Kind, PersonKinds);
    if (const json* position = check.Optional(value, Key::Position)) {
        group.position = check.Number(*position, place / Key::Position);
        if (group.position < 0.0 || group.position > trailLength)
            check.Fail(place / Key::Position, FormatNumber(group.position) + " is off the trail, which runs from 0 to "
                                                  + FormatNumber(trailLength));
    }
    group.speed = check.Positive(check.Required(value, place, Key::Speed), place / Key::Speed);
    if (const json* increment = check.Optional(value, Key::SpeedIncrement)) {
        group.speedIncrement = check.Number(*increment, place / Key::SpeedIncrement);
        if (group.speedIncrement < 0.0)
            check.Fail(place / Key::SpeedIncrement, FormatNumber(group.speedIncrement) + " must be 0 or more");
        const double fastest = (group.count - 1) * group.speedIncrement + group.speed;
        if (!std::isfinite(fastest))
            check.Fail(place / Key::SpeedIncrement, "the group's last person would walk at " + FormatNumber(fastest));
    }
    if (const json* names = check.Optional(value, Key::Names)) {
        const json& list = check.Array(*names, place / Key::Names);
        for (std::size_t i = 0; i < list.size(); ++i) {
            group.names.push_back(check.Line(list[i], place / Key::Names / i));
            if (group.names.back().empty())
                check.Fail(place / Key::Names / i, "a name cannot be empty");
        }
        if (group.names.size() > static_cast<std::size_t>(group.count))
            check.Fail(place / Key::Names, std::to_string(group.names.size()) + " names for "
                                               + std::to_string(group.count) + " persons");
    }
    return group;
}

void ReadPersons(const TChecker& check, const json& value, const json::json_pointer& place, TScenarioDescription& scenario)
{
    const double trailLength = scenario.GetTrailLength();
    const json& list = check.Array(value, place);
    for (std::size_t i = 0; i < list.size(); ++i) {
        scenario.persons.push_back(ReadGroup(check, list[i], place / i, trailLength));
        if (scenario.GetPersonCount() > MaxCount)
            check.Fail(place / i / Key::Count, std::to_string(scenario.GetPersonCount()) + " persons in all, more than "
                                                   + std::to_string(MaxCount));
    }
    if (scenario.persons.empty())
        check.Fail(place, "no person; the move needs at least one");
}

// Reads at most one byte beyond the limit, whatever the file is: a pipe or a
// device has no size to look at first.
std::string ReadText(const std::string& path)
{
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        throw TScenarioFileError(path + ": cannot be opened: " + std::strerror(errno));
    std::string text;
    std::vector<char> buffer(1 << 16);
    while (const std::size_t read = std::fread(buffer.data(), 1, buffer.size(), file.get())) {
        text.append(buffer.data(), read);
        if (text.size() > MaxScenarioFileBytes)
            FailTooLarge(path);
    }
    if (std::ferror(file.get()))
        throw TScenarioFileError(path + ": cannot be read: " + std::strerror(errno));
    return text;
}

} // namespace

TScenarioDescription ReadScenarioFile(const std::string& path)
{
    return ParseScenario(ReadText(path), path);
}

TScenarioDescription ParseScenario(std::string_view text, const std::string& fileName)
{
    if (text.size() > MaxScenarioFileBytes)
        FailTooLarge(fileName);
    TDocumentBuilder builder;
    if (!json::sax_parse(text.begin(), text.end(), &builder)) {
        if (builder.duplicate)
            Fail(fileName, builder.duplicatePlace.to_string(), "duplicate key");
        const std::string place = LineAndColumn(text, builder.errorPosition);
        if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
            Fail(fileName, place, "the file is empty");
        if (builder.errorPosition > text.size())
            Fail(fileName, place, "the file ends before its JSON does; is it cut short?");
        Fail(fileName, place, "not JSON: " + SyntaxProblem(builder.errorText));
    }
    return ScenarioFromJson(builder.document, fileName);
}

TScenarioDescription ScenarioFromJson(const json& document, const std::string& fileName)
{
    const TChecker check(fileName);
    const json::json_pointer top;
    check.Keys(document, top, {Key::Description, Key::Seed, Key::Trail, Key::Source, Key::Persons});

    TScenarioDescription scenario;
    if (const json* description = check.Optional(document, Key::Description))
        scenario.description = check.Line(*description, top / Key::Description);
    if (const json* seed = check.Optional(document, Key::Seed))
        scenario.seed = static_cast<std::uint32_t>(
            check.Integer(*seed, top / Key::Seed, 0, std::numeric_limits<std::uint32_t>::max()));
    scenario.trail = ReadTrail(check, check.Required(document, top, Key::Trail), top / Key::Trail);
    if (const json* source = check.Optional(document, Key::Source))
        ReadSource(check, *source, top / Key::Source, scenario);
    ReadPersons(check, check.Required(document, top, Key::Persons), top / Key::Persons, scenario);
    return scenario;
}

json ScenarioToJson(const TScenarioDescription& scenario)
{
    json trail = json::array();
    for (const TSectionDescription& section : scenario.trail) {
        json entry = json::object();
        entry[Key::Kind] = KindName(SectionKinds, section.kind);
        entry[Key::Length] = section.length;
        trail.push_back(std::move(entry));
    }
    json persons = json::array();
    for (const TPersonGroup& group : scenario.persons) {
        json entry = json::object();
        entry[Key::Count] = group.count;
        entry[Key::Kind] = KindName(PersonKinds, group.kind);
        entry[Key::Position] = group.position;
        entry[Key::Speed] = group.speed;
        entry[Key::SpeedIncrement] = group.speedIncrement;
        entry[Key::Names] = group.names;
        persons.push_back(std::move(entry));
    }
    json document = json::object();
    document[Key::Description] = scenario.description;
    document[Key::Seed] = scenario.seed;
    document[Key::Trail] = std::move(trail);
    document[Key::Source][Key::Stock] = scenario.stock;
    document[Key::Source][Key::LoadWeight] = scenario.loadWeight;
    document[Key::Persons] = std::move(persons);
    return document;
}

std::string WriteScenario(const TScenarioDescription& scenario)
{
    return ScenarioToJson(scenario).dump(2) + "\n";
}
