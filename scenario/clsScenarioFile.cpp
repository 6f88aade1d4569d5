#include "scenario/clsScenarioFile.h"

#include "scenario/clsScenarioText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
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
constexpr const char* Handover = "handover";
} // namespace Key

template <typename TKind>
using TKindNames = std::pair<const char*, TKind>[2];

constexpr TKindNames<TSectionDescription::TKind> SectionKinds{
    {"plain", TSectionDescription::TKind::Plain}, {"steps", TSectionDescription::TKind::Steps}};
constexpr TKindNames<TPersonGroup::TKind> PersonKinds{
    {"home-area", TPersonGroup::TKind::HomeArea}, {"plain", TPersonGroup::TKind::Plain}};
constexpr TKindNames<THandoverRule> HandoverRules{{"restart", THandoverRule::Restart}, {"finish", THandoverRule::Finish}};

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

// Checks one value at its place in the document and reads it into the model's
// types; every complaint names the file and the place.
class TChecker
{
public:
    explicit TChecker(const std::string& theFileName) : fileName(theFileName) {}

    [[noreturn]] void Fail(const json::json_pointer& place, const std::string& what) const
    {
        FailScenario(fileName, place.empty() ? std::string("top level") : place.to_string(), what);
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
        for (const auto& member : value.items()) {
            const std::string& key = member.key();
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

} // namespace

TScenarioDescription ReadScenarioFile(const std::string& path)
{
    return ParseScenario(ReadScenarioText(path), path);
}

TScenarioDescription ParseScenario(std::string_view text, const std::string& fileName)
{
    return ScenarioFromJson(ParseScenarioText(text, fileName), fileName);
}

TScenarioDescription ScenarioFromJson(const json& document, const std::string& fileName)
{
    const TChecker check(fileName);
    const json::json_pointer top;
    check.Keys(document, top, {Key::Description, Key::Seed, Key::Trail, Key::Source, Key::Persons, Key::Handover});

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
    if (const json* rule = check.Optional(document, Key::Handover))
        scenario.handover = check.Kind(*rule, top / Key::Handover, HandoverRules);
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
    document[Key::Handover] = KindName(HandoverRules, scenario.handover);
    return document;
}

std::string WriteScenario(const TScenarioDescription& scenario)
{
    json document = ScenarioToJson(scenario);
    // The rule moves had before there was a choice is left out, so that the
    // files of such moves stay as they were.
    if (scenario.handover == THandoverRule::Restart)
        document.erase(Key::Handover);
    return document.dump(2) + "\n";
}
