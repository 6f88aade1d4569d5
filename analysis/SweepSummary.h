#pragma once

#include "analysis/SweepPlan.h"
#include "analysis/SweepReport.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The persons of each of the plan's combinations, by its varied values as
// groups and rows carry them.
std::map<std::vector<std::string>, std::int64_t> PersonsByValues(const TSweepPlan& plan);
// A time in steps counted once per person, in hours.
double PersonHours(double steps, std::int64_t persons);

// A sweep's summary as data, one row per combination, for a spreadsheet or a
// script; zemba-run --summary-csv and the window's "Zusammenfassung
// speichern..." write these same bytes. Times as the report shows them
// ("2:25:16", "> 2:46:40", "never"), shares from 0 to 1 with four decimals.
// Person-hours are the median's, where it finished and the plan is known
// (it gives the persons); else empty. The deadline's columns (in steps) come
// only with one.
struct TSweepSummaryInput
{
    const TSweepTable* table = nullptr;
    const std::vector<TSweepGroup>* groups = nullptr;
    const TSweepPlan* plan = nullptr;
    std::optional<std::int64_t> deadline;
};
std::string SweepSummaryCsv(const TSweepSummaryInput& input);
// The same as an array of objects, one per row, keyed by the CSV's columns;
// counts and shares as numbers, times as strings, empty cells as null.
std::string SweepSummaryJson(const TSweepSummaryInput& input);
