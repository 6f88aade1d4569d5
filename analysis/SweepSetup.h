#pragma once

#include "analysis/SweepPlan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The places of a scenario that an experiment may vary, each with the JSON
// pointer a sweep file names it by (into the scenario as written with every
// default filled in), so that the window's experiment and a sweep file are
// one and the same plan.
struct TSweepField
{
    enum class TKind : std::uint8_t { GroupCount, GroupSpeed, Stock, LoadWeight, SectionLength, Handover };

    TKind kind = TKind::Stock;
    // The group's or the section's number from 1; 0 where it has none.
    std::int32_t number = 0;
    std::string pointer;
    // Values are whole numbers (counts, loads), or words (the hand-over rule).
    bool whole = false;
    bool word = false;
};

// The field a pointer names, in zemba-run's English ("persons in group 1"),
// read from the pointer alone; the pointer itself where it names no field.
std::string SweepFieldEnglishName(const std::string& pointer);

// Every field of the scenario, groups and sections in their order.
std::vector<TSweepField> SweepFieldsOf(const TScenarioDescription& scenario);

// One varied field with its values as JSON texts ("6", "0.25", "\"finish\"").
struct TSweepAxis
{
    std::string pointer;
    std::vector<std::string> values;
};

// An experiment as a sweep file says it: the scenario (a file's path, or
// the scenario itself as the scenario writer writes it, or neither for the
// built-in move), up to two varied fields, the seeds and the limit.
struct TSweepSetup
{
    std::string scenarioPath;
    std::string scenarioText;
    std::vector<TSweepAxis> axes;
    std::uint32_t seedFrom = 1;
    // Every seed; or, with medianWithin above 0, at most this many.
    std::uint32_t seedCount = 20;
    std::int64_t maxSteps = DefaultSweepMaxSteps;
    // Steps: seeds run until every median is known to within this either way; 0 for every seed.
    std::int64_t medianWithin = 0;
};

// The sweep file's text, the keys in the order zemba-run reads the plan by.
std::string SweepFileText(const TSweepSetup& setup);

// from, from + step, ... up to to (within a millionth of a step), as JSON
// numbers: whole ones for a whole field. Nothing for a step that is not
// above 0, a range the wrong way round, or more than MostValues values.
std::optional<std::vector<std::string>> RangeValues(double from, double to, double step, bool whole);
// The range that RangeValues turns into exactly these values (two or more,
// as the CSV gives them); nothing for values that no range gives.
struct TSweepRange
{
    double from = 0.0;
    double to = 0.0;
    double step = 1.0;
};
std::optional<TSweepRange> RangeOf(const std::vector<std::string>& values, bool whole);
// A list such as "6, 8, 12" or "restart, finish": numbers as they are, words as
// JSON strings. Nothing for an empty list or an item that is neither.
std::optional<std::vector<std::string>> ListValues(std::string_view text);

inline constexpr std::size_t MostAxisValues = 1000;
