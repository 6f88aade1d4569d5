#include "scenario/clsScenarioFile.h"

#include "model/clsSimulationTime.h"
#include "scenario/clsClockTime.h"
#include "scenario/clsScenarioRules.h"
#include "scenario/clsScenarioText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
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
constexpr const char* Schedule = "schedule";
constexpr const char* At = "at";
constexpr const char* Join = "join";
constexpr const char* Leave = "leave";
constexpr const char* Name = "name";
constexpr const char* MetresPerUnit = "metres_per_unit";
constexpr const char* Start = "start";
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

// A string value as JSON writes it, shortened: a message stays one short line.
std::string Quote(const std::string& text)
{
    constexpr std::size_t MaxQuoted = 40;
    std::string quoted = json(text).dump(-1, ' ', false, json::error_handler_t::replace);
    if (quoted.size() > MaxQuoted)
        quoted = quoted.substr(0, MaxQuoted) + "...";
    return quoted;
}

// Checks the document's structure (types, keys, numbers a field can hold)
// and reads it into a description; the rules on its values come after, from
// CheckScenario. Every complaint names the file and the place.
class TChecker
{
public:
    explicit TChecker(const std::string& theFileName) : fileName(theFileName) {}

    [[noreturn]] void Fail(TScenarioFaultKind kind, const json::json_pointer& place, std::vector<std::string> values,
                           std::string what) const
    {
        throw TScenarioFileError(fileName, {kind, place.to_string(), 0, 0, std::move(values), std::move(what)});
    }

    void Expect(const json& value, const json::json_pointer& place, json::value_t type, const char* name) const
    {
        const bool matches = type == json::value_t::number_float ? value.is_number() : value.type() == type;
        if (!matches)
            Fail(TScenarioFaultKind::WrongType, place, {json(type).type_name(), value.type_name()},
                 std::string("expected ") + name + ", found " + value.type_name());
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
                Fail(TScenarioFaultKind::UnknownKey, place / key, {known}, "unknown key; the keys here are " + known);
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
            Fail(TScenarioFaultKind::Missing, place / key, {}, "missing, and it has no default");
        return *value;
    }

    const json& Array(const json& value, const json::json_pointer& place) const
    {
        Expect(value, place, json::value_t::array, "a list");
        return value;
    }

    std::string String(const json& value, const json::json_pointer& place) const
    {
        Expect(value, place, json::value_t::string, "a string");
        return value.get<std::string>();
    }

    double Number(const json& value, const json::json_pointer& place) const
    {
        Expect(value, place, json::value_t::number_float, "a number");
        const double number = value.get<double>();
        if (!std::isfinite(number))
            Fail(TScenarioFaultKind::NotFinite, place, {}, "not a finite number");
        return number;
    }

    // A whole number that the field can hold; outside [low, high] it is
    // refused in the words of the value rule that allows only that range.
    template <typename TField>
    TField Integer(const json& value, const json::json_pointer& place, std::int64_t low, std::int64_t high) const
    {
        Expect(value, place, json::value_t::number_float, "a number");
        constexpr auto least = static_cast<std::int64_t>(std::numeric_limits<TField>::min());
        constexpr auto most = static_cast<std::int64_t>(std::numeric_limits<TField>::max());
        const auto refuse = [&](const std::string& number) {
            throw TScenarioFileError(fileName, WholeNumberFault(place.to_string(), number, low, high));
        };
        if (value.is_number_unsigned()) {
            const auto number = value.get<std::uint64_t>();
            if (number > static_cast<std::uint64_t>(most))
                refuse(std::to_string(number));
            return static_cast<TField>(number);
        }
        if (value.is_number_integer()) {
            const auto number = value.get<std::int64_t>();
            if (number < least || number > most)
                refuse(std::to_string(number));
            return static_cast<TField>(number);
        }
        const double number = Number(value, place);
        if (std::trunc(number) != number || number < static_cast<double>(least) || number > static_cast<double>(most))
            refuse(ScenarioNumberText(number));
        return static_cast<TField>(number);
    }

    template <typename TKind>
    TKind Kind(const json& value, const json::json_pointer& place, const TKindNames<TKind>& names) const
    {
        Expect(value, place, json::value_t::string, "a string");
        for (const auto& [name, kind] : names)
            if (value == name)
                return kind;
        const std::string quoted = Quote(value.get<std::string>());
        Fail(TScenarioFaultKind::UnknownKind, place, {quoted, std::string(names[0].first) + ", " + names[1].first},
             "unknown kind " + quoted + "; the kinds are " + names[0].first + " and " + names[1].first);
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
                         check.Number(check.Required(entry, at, Key::Length), at / Key::Length)});
    }
    return trail;
}

void ReadSource(const TChecker& check, const json& value, const json::json_pointer& place, TScenarioDescription& scenario)
{
    check.Keys(value, place, {Key::Stock, Key::LoadWeight});
    if (const json* stock = check.Optional(value, Key::Stock))
        scenario.stock = check.Integer<std::int32_t>(*stock, place / Key::Stock, 1, MaxScenarioCount);
    if (const json* weight = check.Optional(value, Key::LoadWeight))
        scenario.loadWeight = check.Number(*weight, place / Key::LoadWeight);
}

TScheduleEntry ReadScheduleEntry(const TChecker& check, const json& value, const json::json_pointer& place);

void ReadSchedule(const TChecker& check, const json& value, const json::json_pointer& place, TScenarioDescription& scenario)
{
    const json& list = check.Array(value, place);
    for (std::size_t i = 0; i < list.size(); ++i)
        scenario.schedule.push_back(ReadScheduleEntry(check, list[i], place / i));
}

std::int32_t ReadStart(const TChecker& check, const json& value, const json::json_pointer& place)
{
    const std::optional<std::int64_t> seconds = ReadClockTime(check.String(value, place), true);
    if (!seconds || *seconds >= SecondsPerDay)
        check.Fail(TScenarioFaultKind::Other, place, {}, "expected a clock time from 0:00 to 23:59:59, such as \"10:00\"");
    return static_cast<std::int32_t>(*seconds);
}

TPersonGroup ReadGroup(const TChecker& check, const json& value, const json::json_pointer& place)
{
    check.Keys(value, place, {Key::Count, Key::Kind, Key::Position, Key::Speed, Key::SpeedIncrement, Key::Names});
    TPersonGroup group;
    if (const json* count = check.Optional(value, Key::Count))
        group.count = check.Integer<std::int32_t>(*count, place / Key::Count, 1, MaxScenarioCount);
    if (const json* kind = check.Optional(value, Key::Kind))
        group.kind = check.Kind(*kind, place / Key::Kind, PersonKinds);
    if (const json* position = check.Optional(value, Key::Position))
        group.position = check.Number(*position, place / Key::Position);
    group.speed = check.Number(check.Required(value, place, Key::Speed), place / Key::Speed);
    if (const json* increment = check.Optional(value, Key::SpeedIncrement))
        group.speedIncrement = check.Number(*increment, place / Key::SpeedIncrement);
    if (const json* names = check.Optional(value, Key::Names)) {
        const json& list = check.Array(*names, place / Key::Names);
        for (std::size_t i = 0; i < list.size(); ++i)
            group.names.push_back(check.String(list[i], place / Key::Names / i));
    }
    return group;
}

TScheduleEntry ReadScheduleEntry(const TChecker& check, const json& value, const json::json_pointer& place)
{
    check.Keys(value, place, {Key::At, Key::Join, Key::Leave});
    TScheduleEntry entry;
    const json& at = check.Required(value, place, Key::At);
    if (at.is_string()) {
        const std::optional<std::int64_t> seconds = ReadClockTime(at.get<std::string>(), false);
        if (!seconds || *seconds > MaxScheduleStep / StepsPerSecond)
            check.Fail(TScenarioFaultKind::Other, place / Key::At, {},
                       "expected a simulated time h:mm:ss, such as \"1:00:00\", or a step number");
        entry.step = *seconds * StepsPerSecond;
        entry.atAsTime = true;
    } else {
        entry.step = check.Integer<std::int64_t>(at, place / Key::At, 0, MaxScheduleStep);
    }
    const json* join = check.Optional(value, Key::Join);
    const json* leave = check.Optional(value, Key::Leave);
    if ((join != nullptr) == (leave != nullptr))
        check.Fail(TScenarioFaultKind::Other, place, {}, "expected one of join and leave");
    if (join) {
        entry.join = ReadGroup(check, *join, place / Key::Join);
    } else {
        entry.kind = TScheduleEntry::TKind::Leave;
        check.Keys(*leave, place / Key::Leave, {Key::Name});
        entry.leave = check.String(check.Required(*leave, place / Key::Leave, Key::Name), place / Key::Leave / Key::Name);
    }
    return entry;
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

namespace {

TScenarioDescription StructureFromJson(const json& document, const std::string& fileName)
{
    const TChecker check(fileName);
    const json::json_pointer top;
    check.Keys(document, top, {Key::Description, Key::Seed, Key::Trail, Key::Source, Key::Persons, Key::Handover,
                               Key::Schedule, Key::MetresPerUnit, Key::Start});

    TScenarioDescription scenario;
    if (const json* description = check.Optional(document, Key::Description))
        scenario.description = check.String(*description, top / Key::Description);
    if (const json* seed = check.Optional(document, Key::Seed))
        scenario.seed = check.Integer<std::uint32_t>(*seed, top / Key::Seed, 0, std::numeric_limits<std::uint32_t>::max());
    scenario.trail = ReadTrail(check, check.Required(document, top, Key::Trail), top / Key::Trail);
    if (const json* source = check.Optional(document, Key::Source))
        ReadSource(check, *source, top / Key::Source, scenario);
    const json& persons = check.Array(check.Required(document, top, Key::Persons), top / Key::Persons);
    for (std::size_t i = 0; i < persons.size(); ++i)
        scenario.persons.push_back(ReadGroup(check, persons[i], top / Key::Persons / i));
    if (const json* rule = check.Optional(document, Key::Handover))
        scenario.handover = check.Kind(*rule, top / Key::Handover, HandoverRules);
    if (const json* schedule = check.Optional(document, Key::Schedule))
        ReadSchedule(check, *schedule, top / Key::Schedule, scenario);
    if (const json* metres = check.Optional(document, Key::MetresPerUnit))
        scenario.metresPerUnit = check.Number(*metres, top / Key::MetresPerUnit);
    if (const json* start = check.Optional(document, Key::Start))
        scenario.startSecond = ReadStart(check, *start, top / Key::Start);
    return scenario;
}

} // namespace

TScenarioDescription ReadScenarioStructure(std::string_view text, const std::string& fileName)
{
    return StructureFromJson(ParseScenarioText(text, fileName), fileName);
}

TScenarioDescription ScenarioFromJson(const json& document, const std::string& fileName)
{
    TScenarioDescription scenario = StructureFromJson(document, fileName);
    if (const std::vector<TScenarioFault> faults = CheckScenario(scenario); !faults.empty())
        throw TScenarioFileError(fileName, faults.front());
    return scenario;
}

namespace {

json GroupToJson(const TPersonGroup& group)
{
    json entry = json::object();
    entry[Key::Count] = group.count;
    entry[Key::Kind] = KindName(PersonKinds, group.kind);
    entry[Key::Position] = group.position;
    entry[Key::Speed] = group.speed;
    entry[Key::SpeedIncrement] = group.speedIncrement;
    entry[Key::Names] = group.names;
    return entry;
}

} // namespace

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
    for (const TPersonGroup& group : scenario.persons)
        persons.push_back(GroupToJson(group));
    json schedule = json::array();
    for (const TScheduleEntry& change : scenario.schedule) {
        json entry = json::object();
        if (change.atAsTime)
            entry[Key::At] = SimulatedTimeText(change.step / StepsPerSecond);
        else
            entry[Key::At] = change.step;
        if (change.kind == TScheduleEntry::TKind::Join)
            entry[Key::Join] = GroupToJson(change.join);
        else
            entry[Key::Leave][Key::Name] = change.leave;
        schedule.push_back(std::move(entry));
    }
    json document = json::object();
    document[Key::Description] = scenario.description;
    document[Key::Seed] = scenario.seed;
    document[Key::Trail] = std::move(trail);
    document[Key::Source][Key::Stock] = scenario.stock;
    document[Key::Source][Key::LoadWeight] = scenario.loadWeight;
    document[Key::Persons] = std::move(persons);
    document[Key::Handover] = KindName(HandoverRules, scenario.handover);
    document[Key::Schedule] = std::move(schedule);
    document[Key::MetresPerUnit] = scenario.metresPerUnit;
    if (scenario.startSecond >= 0)
        document[Key::Start] = ClockTimeText(scenario.startSecond);
    return document;
}

std::string WriteScenario(const TScenarioDescription& scenario)
{
    json document = ScenarioToJson(scenario);
    // The rule moves had before there was a choice is left out, so that the
    // files of such moves stay as they were.
    if (scenario.handover == THandoverRule::Restart)
        document.erase(Key::Handover);
    if (scenario.schedule.empty())
        document.erase(Key::Schedule);
    if (scenario.metresPerUnit == TScenarioDescription::DefaultMetresPerUnit)
        document.erase(Key::MetresPerUnit);
    return document.dump(2) + "\n";
}
