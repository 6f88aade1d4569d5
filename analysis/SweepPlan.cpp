#include "analysis/SweepPlan.h"

#include "analysis/MoveReport.h"
#include "scenario/clsScenarioFile.h"
#include "scenario/clsScenarioText.h"

#include <nettle/sha2.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <unordered_map>

using nlohmann::json;

namespace {

constexpr std::int64_t MostMaxSteps = 1'000'000'000'000;

// Checks one sweep document; every complaint names the file and the place.
class TSweepReader
{
public:
    TSweepReader(std::string name, std::string place) : fileName(std::move(name)), folder(std::move(place)) {}

    TSweepPlan Read(const json& document, const std::vector<std::string>& variedInOrder)
    {
        const json::json_pointer top;
        if (!document.is_object())
            Fail(top, std::string("expected an object, found ") + document.type_name());
        for (const auto& [key, value] : document.items())
            if (key != "scenario" && key != "vary" && key != "seeds" && key != "max_steps")
                Fail(top / key, "unknown key; the keys here are scenario, vary, seeds, max_steps");

        ReadBase(document);
        TSweepPlan plan;
        ReadSeeds(document, plan);
        plan.maxSteps = DefaultSweepMaxSteps;
        if (const auto found = document.find("max_steps"); found != document.end())
            plan.maxSteps = Whole(*found, top / "max_steps", 1, MostMaxSteps);
        std::vector<std::vector<json>> values;
        if (const auto found = document.find("vary"); found != document.end())
            ReadVary(*found, variedInOrder, plan, values);
        Expand(plan, values);
        plan.scenarioName = baseName;
        plan.scenarioPath = basePath;
        plan.base = ScenarioFromJson(base, baseName);
        return plan;
    }

private:
    [[noreturn]] void Fail(const json::json_pointer& place, const std::string& what) const
    {
        FailScenario(fileName, place.empty() ? std::string("top level") : place.to_string(), what);
    }

    [[noreturn]] void FailPlan(const std::string& place, const std::string& what, TSweepPlanError::TKind kind,
                               TSweepPlanError::TCombination combination = {}, TScenarioFault cause = {}) const
    {
        throw TSweepPlanError(fileName, {TScenarioFaultKind::Other, place, 0, 0, {}, what}, kind, std::move(combination),
                              std::move(cause));
    }

    // A varied pointer is named as written, not escaped into the pointer of its place.
    static std::string VariedPlace(const std::string& key) { return "/vary \"" + key + "\""; }
    [[noreturn]] void FailVaried(const std::string& key, const std::string& what) const
    {
        FailScenario(fileName, VariedPlace(key), what);
    }

    std::int64_t Whole(const json& value, const json::json_pointer& place, std::int64_t low, std::int64_t high) const
    {
        if (!value.is_number_integer())
            Fail(place, std::string("expected a whole number, found ") + value.type_name());
        // The parser keeps every number from 0 up as unsigned, and only negative ones signed.
        if (!value.is_number_unsigned() || value.get<std::uint64_t>() < static_cast<std::uint64_t>(low)
            || value.get<std::uint64_t>() > static_cast<std::uint64_t>(high))
            Fail(place, value.dump() + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high));
        return value.get<std::int64_t>();
    }

    void ReadBase(const json& document)
    {
        const auto found = document.find("scenario");
        if (found == document.end()) {
            baseName = "the built-in move";
            base = ScenarioToJson(BuiltInMove());
            return;
        }
        const json::json_pointer place("/scenario");
        if (found->is_object()) {
            ReadInlineBase(*found, place);
            return;
        }
        if (!found->is_string() || found->get<std::string>().empty())
            Fail(place, "expected the path of a scenario file, or the scenario itself as an object");
        const std::filesystem::path relative(found->get<std::string>());
        baseName = (relative.is_absolute() ? relative : std::filesystem::path(folder) / relative).string();
        basePath = baseName;
        // The scenario as the writer writes it, every default filled in, so
        // that a value the file leaves to its default can be varied too.
        try {
            base = ScenarioToJson(ScenarioFromJson(ParseScenarioText(ReadScenarioText(baseName), baseName), baseName));
        } catch (const TScenarioFileError& error) {
            Fail(place, error.what());
        }
    }

    // A scenario held in the sweep file itself, so that the file runs
    // anywhere alone; a fault in it is named by its place in the sweep file.
    void ReadInlineBase(const json& scenario, const json::json_pointer& place)
    {
        baseName = "the scenario in " + fileName;
        try {
            base = ScenarioToJson(ScenarioFromJson(scenario, baseName));
        } catch (const TScenarioFileError& error) {
            TScenarioFault fault = error.GetFault();
            fault.path = place.to_string() + fault.path;
            throw TScenarioFileError(fileName, std::move(fault));
        }
    }

    void ReadSeeds(const json& document, TSweepPlan& plan) const
    {
        const json::json_pointer place("/seeds");
        const auto found = document.find("seeds");
        if (found == document.end())
            Fail(place, "missing: a list of seeds, or {\"from\": first, \"count\": how many}");
        constexpr std::int64_t maxSeed = std::numeric_limits<std::uint32_t>::max();
        if (found->is_array()) {
            if (found->empty())
                Fail(place, "no seed");
            std::unordered_map<std::uint32_t, std::size_t> placeOf;
            for (std::size_t i = 0; i < found->size(); ++i) {
                const auto seed = static_cast<std::uint32_t>(Whole((*found)[i], place / i, 0, maxSeed));
                // Twice would weigh the seed twice in every figure across seeds.
                if (const auto [first, added] = placeOf.try_emplace(seed, i); !added)
                    Fail(place / i, "seed " + std::to_string(seed) + " is there twice, also at /seeds/"
                                        + std::to_string(first->second));
                plan.seeds.push_back(seed);
            }
            return;
        }
        const bool until = found->is_object() && found->contains("until");
        if (!found->is_object() || !found->contains("from") || !(until || found->contains("count")) || found->size() != 2)
            Fail(place, "expected a list of seeds, {\"from\": first, \"count\": how many} or {\"from\": first, "
                        "\"until\": {\"median_within\": \"h:mm:ss\", \"max\": most seeds}}");
        const std::int64_t from = Whole((*found)["from"], place / "from", 0, maxSeed);
        const json::json_pointer countPlace = until ? place / "until" / "max" : place / "count";
        const json& count = until ? ReadUntil((*found)["until"], place / "until", plan) : (*found)["count"];
        const std::int64_t seeds = Whole(count, countPlace, 1, maxSeed - from + 1);
        if (static_cast<std::size_t>(seeds) > MaxSweepRuns)
            Fail(countPlace, "more than " + std::to_string(MaxSweepRuns) + " runs");
        for (std::int64_t i = 0; i < seeds; ++i)
            plan.seeds.push_back(static_cast<std::uint32_t>(from + i));
    }

    // Seeds until every median is precise: the rule, and the most seeds to run.
    const json& ReadUntil(const json& until, const json::json_pointer& place, TSweepPlan& plan) const
    {
        if (!until.is_object() || !until.contains("median_within") || !until.contains("max") || until.size() != 2)
            Fail(place, "expected {\"median_within\": \"h:mm:ss\", \"max\": most seeds}");
        const json& within = until["median_within"];
        const std::optional<std::int64_t> steps = within.is_string() ? ParseSimulatedTime(within.get<std::string>())
                                                                     : std::nullopt;
        if (!steps || *steps == 0)
            Fail(place / "median_within", within.dump() + " must be a time above 0 written h:mm:ss, such as \"0:05:00\"");
        plan.medianWithin = *steps;
        plan.seedBatch = SweepSeedBatch;
        return until["max"];
    }

    void ReadVary(const json& vary, const std::vector<std::string>& inOrder, TSweepPlan& plan,
                  std::vector<std::vector<json>>& values) const
    {
        const json::json_pointer place("/vary");
        if (!vary.is_object())
            Fail(place, std::string("expected an object of JSON pointers and their values, found ") + vary.type_name());
        for (const std::string& key : inOrder) {
            json::json_pointer pointer;
            try {
                pointer = json::json_pointer(key);
            } catch (const json::exception&) {
                FailVaried(key, "not a JSON pointer such as /persons/0/count");
            }
            if (pointer.empty() || !base.contains(pointer))
                FailVaried(key, "no such place in " + baseName);
            if (key == "/seed")
                FailVaried(key, "the seeds key sets the seeds");
            const json& list = vary.at(key);
            if (!list.is_array() || list.empty())
                FailVaried(key, "expected a list of one value or more");
            std::vector<std::string> texts;
            for (std::size_t i = 0; i < list.size(); ++i) {
                const json& value = list[i];
                const std::string item = "value " + std::to_string(i + 1) + ": ";
                if (!value.is_primitive() || value.is_null())
                    FailVaried(key, item + "expected a number, a string, true or false");
                texts.push_back(value.is_string() ? value.get<std::string>() : value.dump());
                if (const auto first = std::find(texts.begin(), texts.end() - 1, texts.back()); first != texts.end() - 1)
                    FailPlan(VariedPlace(key),
                             item + texts.back() + " is there twice, also value " + std::to_string(first - texts.begin() + 1),
                             TSweepPlanError::TKind::ValueTwice, {{key, value.dump()}});
                if (std::any_of(texts.back().begin(), texts.back().end(),
                                [](char c) { return c == ',' || c == '"' || static_cast<unsigned char>(c) < 0x20; }))
                    FailVaried(key, item + "a comma, a quote or a control character cannot stand in a CSV column");
            }
            plan.pointers.push_back(key);
            plan.values.push_back(std::move(texts));
            values.push_back(list.get<std::vector<json>>());
        }
    }

    // Every combination checked as a scenario before any run starts.
    void Expand(TSweepPlan& plan, const std::vector<std::vector<json>>& values) const
    {
        const std::string tooMany = "more than " + std::to_string(MaxSweepRuns) + " runs";
        std::size_t combinations = 1;
        for (const auto& list : values) {
            if (combinations > MaxSweepRuns / list.size())
                FailPlan("/vary", tooMany, TSweepPlanError::TKind::TooManyRuns);
            combinations *= list.size();
        }
        if (combinations > MaxSweepRuns / plan.seeds.size())
            FailPlan("/seeds", tooMany, TSweepPlanError::TKind::TooManyRuns);
        for (std::size_t c = 0; c < combinations; ++c) {
            json scenario = base;
            TSweepPlanError::TCombination combination(values.size());
            std::size_t rest = c;
            for (std::size_t k = values.size(); k-- > 0;) {
                const std::size_t i = rest % values[k].size();
                rest /= values[k].size();
                scenario[json::json_pointer(plan.pointers[k])] = values[k][i];
                combination[k] = {plan.pointers[k], values[k][i].dump()};
            }
            try {
                plan.combinations.push_back(ScenarioFromJson(scenario, baseName));
            } catch (const TScenarioFileError& error) {
                std::string named;
                for (const auto& [pointer, value] : combination)
                    named += (named.empty() ? "" : ", ") + pointer + " = " + value;
                FailPlan("/vary", named + (values.size() == 1 ? " makes" : " make") + " the scenario invalid: " + error.what(),
                         TSweepPlanError::TKind::InvalidCombination, std::move(combination), error.GetFault());
            }
        }
    }

    std::string fileName;
    std::string folder;
    std::string baseName;
    std::string basePath;
    json base;
};

// The keys of the vary object as written: the checked document keeps them sorted.
std::vector<std::string> VariedInOrder(std::string_view text)
{
    const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(text);
    std::vector<std::string> keys;
    if (ordered.is_object())
        if (const auto vary = ordered.find("vary"); vary != ordered.end() && vary->is_object())
            for (const auto& [key, value] : vary->items())
                keys.push_back(key);
    return keys;
}

// The first 16 hex digits of the SHA-256 of the sweep file's bytes: enough to
// tell two plans apart, short enough for a column in every row.
std::string ShortSha256(std::string_view text)
{
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, text.size(), reinterpret_cast<const std::uint8_t*>(text.data()));
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context, sizeof digest, digest);
    static constexpr char Hex[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < 8; ++i) {
        hex += Hex[digest[i] >> 4];
        hex += Hex[digest[i] & 0xf];
    }
    return hex;
}

} // namespace

TSweepPlanError::TSweepPlanError(const std::string& theFileName, TScenarioFault theFault, TKind theKind,
                                 TCombination theCombination, TScenarioFault theCause)
    : TScenarioFileError(theFileName, std::move(theFault))
    , kind(theKind)
    , combination(std::move(theCombination))
    , cause(std::move(theCause))
{
}

std::vector<std::string> TSweepPlan::ValuesOf(std::size_t combination) const
{
    std::vector<std::string> texts(pointers.size());
    for (std::size_t k = pointers.size(); k-- > 0;) {
        texts[k] = values[k][combination % values[k].size()];
        combination /= values[k].size();
    }
    return texts;
}

TSeedRule TSweepPlan::SeedRule() const
{
    return {RunCount(), combinations.size() * seedBatch, medianWithin};
}

std::pair<std::size_t, std::size_t> TSweepPlan::PlaceOf(std::size_t run) const
{
    // A sweep of every seed is one batch of them all.
    const std::size_t batch = IsSequential() ? seedBatch : seeds.size();
    const std::size_t batchRuns = combinations.size() * batch;
    const std::size_t firstSeed = run / batchRuns * batch;
    const std::size_t seedsInBatch = std::min(batch, seeds.size() - firstSeed);
    const std::size_t inBatch = run % batchRuns;
    return {inBatch / seedsInBatch, firstSeed + inBatch % seedsInBatch};
}

TScenarioDescription TSweepPlan::ScenarioOf(std::size_t run) const
{
    TScenarioDescription scenario = combinations[CombinationOf(run)];
    scenario.seed = SeedOf(run);
    return scenario;
}

TSweepPlan ReadSweepFile(const std::string& path)
{
    return ParseSweep(ReadScenarioText(path), path, std::filesystem::path(path).parent_path().string());
}

TSweepPlan ParseSweep(std::string_view text, const std::string& fileName, const std::string& folder)
{
    const json document = ParseScenarioText(text, fileName);
    TSweepPlan plan = TSweepReader(fileName, folder).Read(document, VariedInOrder(text));
    plan.sweepHash = ShortSha256(text);
    return plan;
}

std::vector<std::size_t> ShardRuns(std::size_t runCount, std::size_t shard, std::size_t count)
{
    std::vector<std::size_t> runs;
    for (std::size_t run = shard - 1; run < runCount; run += count)
        runs.push_back(run);
    return runs;
}
