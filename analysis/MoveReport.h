#pragma once

#include "analysis/MoveRecord.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The figures of a run's report, worked out from its record alone.
struct TMoveReport
{
    struct TQuarter
    {
        // Steps firstStep..lastStep; empty (firstStep > lastStep) in runs of fewer than four steps.
        std::int64_t firstStep = 0;
        std::int64_t lastStep = 0;
        std::int32_t delivered = 0;
        // Loads per simulated minute; 0.0 for an empty quarter.
        double perMinute = 0.0;
    };
    struct TPersonLine
    {
        std::int32_t id = 0;
        std::string name;
        double speed = 0.0;
        // Percent of the run's steps, by activity.
        std::array<double, ActivityCount> share{};
        std::int64_t breaks = 0;
        std::int64_t founded = 0;
        std::int64_t givenUp = 0;
        std::int64_t moved = 0;
        // From arrival to leaving, or to the end of the run.
        std::int64_t stepsOnTrail = 0;
        // Where the person stood and what it was doing after the last step.
        TPersonObservation last{};
    };

    std::int64_t steps = 0;
    // The step after which the last load was delivered, or -1 while loads are missing.
    std::int64_t finishStep = -1;
    // The last step in which a load changed hands, for a move that stands
    // still with loads left; -1 for one that does not.
    std::int64_t stalledSince = -1;
    std::int32_t delivered = 0;
    std::int32_t stock = 0;
    std::array<TQuarter, 4> quarters{};
    std::vector<TPersonLine> persons;

    // Carrying distance per step, at full fitness on plain ground, of the
    // persons on the trail at the start: a bound of those who join later
    // would claim their speed for the time before they came.
    double summedSpeed = 0.0;
    // The trail's length with every section stretched by 1 / its carrying speed factor.
    double workPerLoad = 0.0;
    // No chain of these persons can deliver faster: summedSpeed / workPerLoad, per minute.
    double boundPerMinute = 0.0;
    // Loads delivered per minute up to the last delivery (or over the whole run, unfinished).
    double perMinute = 0.0;
    // perMinute as a percentage of boundPerMinute; 0.0 when there is no bound.
    double percentOfBound = 0.0;

    // Not in the record: the scenario's units, for a planner's words. The
    // clock time the move started at, in seconds after midnight, or none
    // below 0; and the metres of a trail unit.
    std::int32_t startSecond = -1;
    double metresPerUnit = 25.0;
    double trailLength = 0.0;
};

// stalledSince as the move's loop found it, or -1.
TMoveReport SummariseMove(const TMoveRecord& record, std::int64_t stalledSince = -1);

// Loads per simulated minute over so many steps; 0.0 for no steps.
double LoadsPerMinute(std::int64_t loads, std::int64_t steps);
// The report's throughput bound, loads per minute, of a layout's persons at its start on its trail.
double BoundPerMinute(const TMoveLayout& layout);

void WriteMoveReport(const TMoveReport& report, std::ostream& out);

// The activity in the report's words.
const char* ActivityName(TActivity activity);

// Steps as simulated time, h:mm:ss, whole seconds cut off towards zero.
std::string FormatSimulatedTime(std::int64_t steps);
// The steps of a simulated time written h:mm:ss (minutes and seconds two
// digits each, below 60); nothing for any other text.
std::optional<std::int64_t> ParseSimulatedTime(std::string_view text);
