#include "analysis/SweepReport.h"

#include "analysis/CText.h"
#include "analysis/MoveReport.h"
#include "model/clsSimulationTime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <map>
#include <ostream>

std::vector<std::string> SplitCsvLine(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (const char c : line)
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    return fields;
}

namespace {

template <typename T>
bool ParseWhole(const std::string& text, T& value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string Time(double steps)
{
    return FormatSimulatedTime(static_cast<std::int64_t>(std::llround(steps)));
}

} // namespace

TSweepCsvError::TSweepCsvError(TKind fault, const std::string& fileName, std::size_t number, const std::string& what)
    : std::runtime_error(fileName + ": line " + std::to_string(number) + ": " + what), kind(fault), line(number)
{
}

TSweepTable ReadSweepCsv(std::istream& in, const std::string& fileName)
{
    using K = TSweepCsvError::TKind;
    const auto fail = [&](K kind, std::size_t line, const std::string& what) {
        throw TSweepCsvError(kind, fileName, line, what);
    };
    std::string line;
    if (!std::getline(in, line))
        fail(K::NotSweepCsv, 1, "empty: no header");
    const std::vector<std::string> header = SplitCsvLine(line);
    const auto column = [&](const char* name) {
        const auto found = std::find(header.begin(), header.end(), name);
        if (found == header.end())
            fail(K::NotSweepCsv, 1, std::string("no column ") + name + ": not a sweep's CSV");
        return static_cast<std::size_t>(found - header.begin());
    };
    const std::size_t seed = column("seed");
    const std::size_t finished = column("finished");
    const std::size_t steps = column("steps");
    // CSVs written before runs could stall have no outcome: an unfinished run there ran to its limit.
    const auto outcome = std::find(header.begin(), header.end(), "outcome");
    const auto outcomeColumn = static_cast<std::size_t>(outcome - header.begin());
    if (header.front() != "run" || seed < 1)
        fail(K::NotSweepCsv, 1, "the first column must be run, followed by the varied ones and seed");
    // The columns that are the same in every row of one plan.
    std::vector<std::size_t> planColumns;
    for (const char* name : {"max_steps", "plan_runs", "sweep_sha256", "version", "commit"})
        if (const auto found = std::find(header.begin(), header.end(), name); found != header.end())
            planColumns.push_back(static_cast<std::size_t>(found - header.begin()));

    TSweepTable table;
    table.parameters.assign(header.begin() + 1, header.begin() + static_cast<std::ptrdiff_t>(seed));
    std::vector<std::string> firstPlan;
    std::map<std::size_t, std::size_t> lineOfRun;
    for (std::size_t number = 2; std::getline(in, line); ++number) {
        if (line.empty())
            continue;
        const std::vector<std::string> fields = SplitCsvLine(line);
        if (fields.size() != header.size())
            fail(K::DamagedRow, number, std::to_string(fields.size()) + " fields where the header has " + std::to_string(header.size()));
        TSweepTable::TRow row;
        if (!ParseWhole(fields.front(), row.run))
            fail(K::DamagedRow, number, "run must be a whole number");
        if (const auto [at, added] = lineOfRun.try_emplace(row.run, number); !added)
            fail(K::RunTwice, number, "run " + fields.front() + " is there twice, also in line " + std::to_string(at->second));
        std::vector<std::string> plan;
        for (const std::size_t c : planColumns)
            plan.push_back(fields[c]);
        if (firstPlan.empty())
            firstPlan = plan;
        for (std::size_t k = 0; k < plan.size(); ++k)
            if (plan[k] != firstPlan[k])
                fail(K::OtherPlan, number, "rows of more than one plan: " + header[planColumns[k]] + " is " + plan[k] + " here and "
                                 + firstPlan[k] + " in line 2");
        row.values.assign(fields.begin() + 1, fields.begin() + static_cast<std::ptrdiff_t>(seed));
        const bool done = fields[finished] == "1";
        if ((!done && fields[finished] != "0") || !ParseWhole(fields[steps], row.steps) || row.steps < 0)
            fail(K::DamagedRow, number, "finished must be 0 or 1 and steps a whole number");
        row.end = done ? TSweepTable::TEnd::Finished : TSweepTable::TEnd::Limit;
        if (outcome != header.end()) {
            const std::string& end = fields[outcomeColumn];
            const bool known = end == "finished" || end == "stalled" || end == "limit";
            if (!known || (end == "finished") != done)
                fail(K::DamagedRow, number, "outcome must be finished, stalled or limit, and finished only where finished is 1");
            if (end == "stalled")
                row.end = TSweepTable::TEnd::Stalled;
        }
        table.rows.push_back(std::move(row));
    }
    const auto planRuns = std::find(header.begin(), header.end(), "plan_runs");
    if (planRuns != header.end() && !table.rows.empty())
        ParseWhole(firstPlan[static_cast<std::size_t>(
                       std::find(planColumns.begin(), planColumns.end(), planRuns - header.begin()) - planColumns.begin())],
                   table.planRuns);
    if (!lineOfRun.empty())
        table.planRuns = std::max(table.planRuns, lineOfRun.rbegin()->first + 1);
    for (std::size_t run = 0; run < table.planRuns; ++run)
        if (!lineOfRun.count(run))
            table.missing.push_back(run);
    return table;
}

std::string DescribeMissing(const TSweepTable& table)
{
    std::string text = std::to_string(table.missing.size()) + " of " + std::to_string(table.planRuns) + " runs missing:";
    constexpr std::size_t MostNamed = 10;
    for (std::size_t i = 0; i < std::min(MostNamed, table.missing.size()); ++i)
        text += (i ? ", " : " ") + std::to_string(table.missing[i]);
    return text + (table.missing.size() > MostNamed ? ", ..." : "");
}

double Percentile(const std::vector<std::int64_t>& sorted, double p)
{
    if (sorted.empty())
        return 0.0;
    const double rank = p * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double fraction = rank - static_cast<double>(below);
    return static_cast<double>(sorted[below]) + fraction * static_cast<double>(sorted[above] - sorted[below]);
}

std::vector<TSweepGroup> SummariseSweep(const TSweepTable& table)
{
    std::vector<TSweepGroup> groups;
    std::vector<std::vector<std::int64_t>> steps;
    std::map<std::vector<std::string>, std::size_t> index;
    for (const TSweepTable::TRow& row : table.rows) {
        const auto [at, added] = index.try_emplace(row.values, groups.size());
        if (added) {
            groups.push_back({.values = row.values});
            steps.emplace_back();
        }
        TSweepGroup& group = groups[at->second];
        ++group.runs;
        group.finished += row.end == TSweepTable::TEnd::Finished ? 1 : 0;
        group.stalled += row.end == TSweepTable::TEnd::Stalled ? 1 : 0;
        group.limited += row.end == TSweepTable::TEnd::Limit ? 1 : 0;
        if (row.end == TSweepTable::TEnd::Finished)
            steps[at->second].push_back(row.steps);
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
        std::vector<std::int64_t>& s = steps[g];
        if (s.empty())
            continue;
        std::sort(s.begin(), s.end());
        groups[g].min = s.front();
        groups[g].max = s.back();
        groups[g].p10 = Percentile(s, 0.1);
        groups[g].median = Percentile(s, 0.5);
        groups[g].p90 = Percentile(s, 0.9);
    }
    return groups;
}

void WriteSweepReport(const TSweepTable& table, const std::vector<TSweepGroup>& groups, std::ostream& out)
{
    if (!table.missing.empty())
        out << "INCOMPLETE: " << DescribeMissing(table) << "\n";
    out << "Finish time across the seeds that finished, in steps and simulated h:mm:ss (" << std::to_string(StepsPerSecond)
        << " steps/s);\n"
           "percentiles interpolated between closest ranks; stalled runs and runs stopped at the step\n"
           "limit are counted apart and have no finish time\n";
    std::string head = " ";
    for (const std::string& p : table.parameters)
        head += " " + p;
    out << CFormat("%s | %5s %8s %7s %5s | %18s %18s %18s %18s %18s\n", head.c_str(), "runs", "finished", "stalled",
                   "limit", "min", "p10", "median", "p90", "max");
    for (const TSweepGroup& g : groups) {
        std::string values = " ";
        for (std::size_t k = 0; k < g.values.size(); ++k) {
            const std::size_t width = table.parameters[k].size();
            values += " " + std::string(width > g.values[k].size() ? width - g.values[k].size() : 0, ' ') + g.values[k];
        }
        const auto cell = [&g](double steps) {
            return g.finished > 0 ? CFormat("%9.0f %8s", steps, Time(steps).c_str()) : CFormat("%18s", "-");
        };
        out << CFormat("%s | %5zu %8zu %7zu %5zu | %s %s %s %s %s\n", values.c_str(), g.runs, g.finished, g.stalled,
                       g.limited, cell(static_cast<double>(g.min)).c_str(), cell(g.p10).c_str(),
                       cell(g.median).c_str(), cell(g.p90).c_str(), cell(static_cast<double>(g.max)).c_str());
    }
}
