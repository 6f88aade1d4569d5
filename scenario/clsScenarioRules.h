#pragma once

#include "scenario/clsScenarioDescription.h"
#include "scenario/clsScenarioFault.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// A sane bound on a move: more persons or loads than this are a typing slip,
// and would only make a run that never ends in reasonable time.
inline constexpr std::int64_t MaxScenarioCount = 1'000'000;
// The last step a schedule can name: far beyond any run's step limit.
inline constexpr std::int64_t MaxScheduleStep = std::int64_t{1} << 50;
// What one person can carry; a heavier load could never leave the source.
inline constexpr double PersonCapacity = 1.0;

// The rules a scenario's values keep, however it was made: read from a file or
// edited by hand. Every fault with its kind and its JSON path, in the order of
// a written file; none for a scenario that can run.
std::vector<TScenarioFault> CheckScenario(const TScenarioDescription& scenario);

// The fault of a whole number outside [low, high], as the checks word it.
TScenarioFault WholeNumberFault(const std::string& path, const std::string& number, std::int64_t low, std::int64_t high);
