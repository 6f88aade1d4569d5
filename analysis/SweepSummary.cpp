#include "analysis/SweepSummary.h"

#include "analysis/MoveReport.h"
#include "model/clsSimulationTime.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <variant>

namespace {

// A cell: a count, a share or an amount with fixed decimals, a time, or empty.
struct TCell
{
    std::string name;
    std::variant<std::monostate, std::size_t, std::string> text;
    // A number written as text (shares, person-hours), given to JSON as a number.
    bool decimal = false;
};

std::string Fixed(double value, int decimals)
{
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
    return {buffer, end};
}

// The cells of one group's row, in the columns' order.
std::vector<TCell> Cells(const TSweepSummaryInput& input, const TSweepGroup& g,
                         const std::map<std::vector<std::string>, std::int64_t>& persons)
{
    std::vector<TCell> cells;
    for (std::size_t k = 0; k < g.values.size(); ++k)
        cells.push_back({input.table->parameters[k], g.values[k]});
    const auto time = [&](const char* name, const std::optional<TFinishTime>& t) {
        if (t)
            cells.push_back({name, FormatFinishTime(*t)});
        else
            cells.push_back({name, std::monostate{}});
    };
    const auto share = [&](const char* name, double value) { cells.push_back({name, Fixed(value, 4), true}); };
    cells.push_back({"runs", g.runs});
    cells.push_back({"finished", g.finished});
    cells.push_back({"stalled", g.stalled});
    cells.push_back({"limit", g.limited});
    time("p10", g.p10);
    time("median", g.median);
    time("median_low", g.medianLow);
    time("median_high", g.medianHigh);
    time("p90", g.p90);
    share("stalled_share", g.stalledShare.share);
    share("stalled_low", g.stalledShare.lower);
    share("stalled_high", g.stalledShare.upper);
    const auto found = persons.find(g.values);
    if (found != persons.end() && g.median && g.median->kind == TFinishTime::TKind::Finished)
        cells.push_back({"person_hours", Fixed(PersonHours(static_cast<double>(g.median->steps), found->second), 2), true});
    else
        cells.push_back({"person_hours", std::monostate{}});
    if (input.deadline) {
        const TDeadlineChance chance = ChanceByDeadline(g, *input.deadline);
        cells.push_back({"deadline", FormatSimulatedTime(*input.deadline)});
        share("by_deadline", chance.byDeadline.share);
        share("by_deadline_low", chance.byDeadline.lower);
        share("by_deadline_high", chance.upper);
        cells.push_back({"undecided", chance.undecided});
    }
    return cells;
}

std::vector<std::vector<TCell>> Rows(const TSweepSummaryInput& input)
{
    const auto persons = input.plan ? PersonsByValues(*input.plan) : std::map<std::vector<std::string>, std::int64_t>{};
    std::vector<std::vector<TCell>> rows;
    for (const TSweepGroup& g : *input.groups)
        rows.push_back(Cells(input, g, persons));
    return rows;
}

} // namespace

std::map<std::vector<std::string>, std::int64_t> PersonsByValues(const TSweepPlan& plan)
{
    std::map<std::vector<std::string>, std::int64_t> persons;
    for (std::size_t c = 0; c < plan.combinations.size(); ++c)
        persons[plan.ValuesOf(c)] = plan.combinations[c].GetPersonCount();
    return persons;
}

double PersonHours(double steps, std::int64_t persons)
{
    return steps * static_cast<double>(persons) / StepsPerSecond / 3600.0;
}

std::string SweepSummaryCsv(const TSweepSummaryInput& input)
{
    // The header from a row made for no group would lack the values: it is
    // written from the columns themselves.
    TSweepGroup none;
    none.values.resize(input.table->parameters.size());
    std::string text;
    for (const TCell& cell : Cells(input, none, {}))
        text += (text.empty() ? "" : ",") + cell.name;
    text += '\n';
    for (const std::vector<TCell>& row : Rows(input)) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            text += i ? "," : "";
            if (const auto* count = std::get_if<std::size_t>(&row[i].text))
                text += std::to_string(*count);
            else if (const auto* word = std::get_if<std::string>(&row[i].text))
                text += *word;
        }
        text += '\n';
    }
    return text;
}

std::string SweepSummaryJson(const TSweepSummaryInput& input)
{
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const std::vector<TCell>& row : Rows(input)) {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (const TCell& cell : row) {
            if (const auto* count = std::get_if<std::size_t>(&cell.text))
                object[cell.name] = *count;
            else if (const auto* word = std::get_if<std::string>(&cell.text))
                object[cell.name] = cell.decimal ? nlohmann::ordered_json::parse(*word) : nlohmann::ordered_json(*word);
            else
                object[cell.name] = nullptr;
        }
        rows.push_back(std::move(object));
    }
    return rows.dump(2) + '\n';
}
