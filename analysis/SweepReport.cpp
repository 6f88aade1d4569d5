#include "analysis/SweepReport.h"

#include "analysis/CText.h"
#include "analysis/MoveReport.h"
#include "analysis/SweepSequence.h"
#include "model/clsSimulationTime.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <map>
#include <ostream>

namespace {

std::string Time(double steps)
{
    return FormatSimulatedTime(static_cast<std::int64_t>(std::llround(steps)));
}

} // namespace

TSweepTable ReadSweepCsv(std::istream& in, const std::string& fileName, const TSweepPlan* plan)
{
    TSweepRowChecker checker(plan, TSweepRowsOf::AnyProgram);
    TSweepCsvRows read = ReadSweepRows(in, fileName, checker);
    if (!read.hasHeader)
        throw TSweepCsvError(TSweepCsvError::TKind::NotSweepCsv, fileName, 1, "no header: not a sweep's CSV");
    // A file written by hand may end without a newline.
    if (!read.lastLineCut.empty())
        read.rows.push_back(checker.Row(read.lastLineCut, fileName, read.rows.size() + 2));
    TSweepTable table;
    table.parameters = checker.GetVariedColumns();
    table.rows = std::move(read.rows);
    table.planRuns = checker.GetPlanRuns();
    for (const TSweepTable::TRow& row : table.rows)
        table.planRuns = std::max(table.planRuns, row.run + 1);
    table.missing = MissingRuns(table.planRuns, checker.GetSeedRule(), table.rows);
    return table;
}

std::vector<std::size_t> MissingRuns(std::size_t planRuns, const std::optional<TSeedRule>& rule,
                                     const std::vector<TSweepRow>& rows)
{
    std::size_t due = rule ? SequenceRunsDue(*rule, rows) : planRuns;
    for (const TSweepRow& row : rows)
        due = std::max(due, row.run + 1);
    std::vector<bool> present(due);
    for (const TSweepRow& row : rows)
        present[row.run] = true;
    std::vector<std::size_t> missing;
    for (std::size_t run = 0; run < due; ++run)
        if (!present[run])
            missing.push_back(run);
    return missing;
}

std::string DescribeMissing(const std::vector<std::size_t>& missing, std::size_t planRuns)
{
    std::string text = std::to_string(missing.size()) + " of " + std::to_string(planRuns) + " runs missing:";
    constexpr std::size_t MostNamed = 10;
    for (std::size_t i = 0; i < std::min(MostNamed, missing.size()); ++i)
        text += (i ? ", " : " ") + std::to_string(missing[i]);
    return text + (missing.size() > MostNamed ? ", ..." : "");
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
        group.finished += row.end == TMoveOutcome::Finished ? 1 : 0;
        group.stalled += row.end == TMoveOutcome::Stalled ? 1 : 0;
        group.limited += row.end == TMoveOutcome::Running ? 1 : 0;
        if (row.end == TMoveOutcome::Finished)
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
        out << "INCOMPLETE: " << DescribeMissing(table.missing, table.planRuns) << "\n";
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
