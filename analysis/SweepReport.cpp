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
    TMissingRuns missing = MissingRuns(table.planRuns, checker.GetSeedRule(), table.rows);
    table.missing = std::move(missing.runs);
    table.dueRuns = missing.due;
    return table;
}

TMissingRuns MissingRuns(std::size_t planRuns, const std::optional<TSeedRule>& rule, const std::vector<TSweepRow>& rows)
{
    TMissingRuns missing{rule ? SequenceRunsDue(*rule, rows) : planRuns, {}};
    for (const TSweepRow& row : rows)
        missing.due = std::max(missing.due, row.run + 1);
    std::vector<bool> present(missing.due);
    for (const TSweepRow& row : rows)
        present[row.run] = true;
    for (std::size_t run = 0; run < missing.due; ++run)
        if (!present[run])
            missing.runs.push_back(run);
    return missing;
}

std::string DescribeMissing(const std::vector<std::size_t>& missing, std::size_t due)
{
    std::string text = std::to_string(missing.size()) + " of " + std::to_string(due) + " runs missing:";
    constexpr std::size_t MostNamed = 10;
    for (std::size_t i = 0; i < std::min(MostNamed, missing.size()); ++i)
        text += (i ? ", " : " ") + std::to_string(missing[i]);
    return text + (missing.size() > MostNamed ? ", ..." : "");
}

std::vector<TSweepGroup> SummariseSweep(const TSweepTable& table)
{
    std::vector<TSweepGroup> groups;
    std::map<std::vector<std::string>, std::size_t> index;
    for (const TSweepTable::TRow& row : table.rows) {
        const auto [at, added] = index.try_emplace(row.values, groups.size());
        if (added) {
            groups.emplace_back();
            groups.back().values = row.values;
        }
        TSweepGroup& group = groups[at->second];
        ++group.runs;
        group.finished += row.end == TMoveOutcome::Finished ? 1 : 0;
        group.stalled += row.end == TMoveOutcome::Stalled ? 1 : 0;
        group.limited += row.end == TMoveOutcome::Running ? 1 : 0;
        group.bySeed.emplace_back(row.seed, FinishTimeOf(row.end, row.steps));
    }
    for (TSweepGroup& g : groups) {
        std::vector<TFinishTime> sorted;
        for (const auto& [seed, time] : g.bySeed)
            sorted.push_back(time);
        std::sort(sorted.begin(), sorted.end(), FinishesBefore);
        g.min = FinishQuantile(sorted, 0.0);
        g.p10 = FinishQuantile(sorted, 0.1);
        g.median = FinishQuantile(sorted, 0.5);
        g.p90 = FinishQuantile(sorted, 0.9);
        g.max = FinishQuantile(sorted, 1.0);
        if (const std::optional<TRankInterval> ranks = MedianInterval(sorted.size())) {
            g.medianLow = sorted[ranks->lower];
            g.medianHigh = sorted[ranks->upper];
        }
        g.stalledShare = WilsonProportion(g.stalled, g.runs);
    }
    return groups;
}

std::optional<double> FinishedSteps(const std::optional<TFinishTime>& time)
{
    if (!time || time->kind != TFinishTime::TKind::Finished)
        return std::nullopt;
    return static_cast<double>(time->steps);
}

std::string FormatFinishTime(const TFinishTime& time, const std::string& never)
{
    switch (time.kind) {
    case TFinishTime::TKind::Finished: return FormatSimulatedTime(time.steps);
    case TFinishTime::TKind::BeyondLimit: return "> " + FormatSimulatedTime(time.steps);
    case TFinishTime::TKind::Never: break;
    }
    return never;
}

TDeadlineChance ChanceByDeadline(const TSweepGroup& group, std::int64_t deadline)
{
    std::size_t finished = 0;
    std::size_t undecided = 0;
    for (const auto& [seed, time] : group.bySeed) {
        finished += time.kind == TFinishTime::TKind::Finished && time.steps <= deadline ? 1 : 0;
        undecided += time.kind == TFinishTime::TKind::BeyondLimit && time.steps < deadline ? 1 : 0;
    }
    TDeadlineChance chance{WilsonProportion(finished, group.runs), undecided, 0.0};
    chance.upper = WilsonProportion(finished + undecided, group.runs).upper;
    return chance;
}

std::vector<TSweepPairing> PairNeighbours(const std::vector<TSweepGroup>& groups)
{
    // The first field's values in the order they come, which is the plan's.
    std::vector<std::string> order;
    for (const TSweepGroup& g : groups)
        if (!g.values.empty() && std::find(order.begin(), order.end(), g.values.front()) == order.end())
            order.push_back(g.values.front());
    std::map<std::vector<std::string>, const TSweepGroup*> byValues;
    for (const TSweepGroup& g : groups)
        byValues[g.values] = &g;
    std::vector<TSweepPairing> pairings;
    for (const TSweepGroup& g : groups) {
        if (g.values.empty())
            continue;
        const auto at = std::find(order.begin(), order.end(), g.values.front());
        if (at + 1 == order.end())
            continue;
        std::vector<std::string> next = g.values;
        next.front() = *(at + 1);
        const auto found = byValues.find(next);
        if (found == byValues.end())
            continue;
        // Only the seeds that both ran, in the first's order.
        std::vector<TFinishTime> first;
        std::vector<TFinishTime> second;
        for (const auto& [seed, time] : g.bySeed) {
            const auto& other = found->second->bySeed;
            const auto match = std::find_if(other.begin(), other.end(), [&](const auto& p) { return p.first == seed; });
            if (match != other.end()) {
                first.push_back(time);
                second.push_back(match->second);
            }
        }
        pairings.push_back({&g, found->second, ComparePaired(first, second)});
    }
    return pairings;
}

namespace {

std::string Percent(const TProportion& p, double upper)
{
    return CFormat("%5.1f %% (%.1f-%.1f %%)", 100.0 * p.share, 100.0 * p.lower, 100.0 * upper);
}

std::string SignedTime(double steps)
{
    const auto whole = static_cast<std::int64_t>(std::llround(std::abs(steps)));
    return (steps < 0 ? "-" : "+") + FormatSimulatedTime(whole);
}

std::string ValuesText(const std::vector<std::string>& values)
{
    std::string text;
    for (const std::string& v : values)
        text += (text.empty() ? "" : ", ") + v;
    return text;
}

} // namespace

void WriteSweepReport(const TSweepTable& table, const std::vector<TSweepGroup>& groups, std::ostream& out,
                      std::optional<std::int64_t> deadline)
{
    if (!table.missing.empty())
        out << "INCOMPLETE: " << DescribeMissing(table.missing, table.dueRuns) << "\n";
    out << "Finish time across all seeds, simulated h:mm:ss (" << std::to_string(StepsPerSecond)
        << " steps/s): a run at the step limit ranks\n"
           "as \"> limit\", a stalled run as \"never\", both after every finished run; percentiles interpolated\n"
           "between closest ranks; the median's 95 % interval from binomial ranks, free of any distribution;\n"
           "shares with 95 % Wilson intervals. No mean: it is unknown wherever a run did not finish.\n";
    if (deadline)
        out << "By " << FormatSimulatedTime(*deadline) << ": the share of runs finished by then; a run at a limit "
               "before it counts as\nnot finished, and as finished in the interval's upper end.\n";
    std::string head = " ";
    for (const std::string& p : table.parameters)
        head += " " + p;
    out << CFormat("%s | %5s %8s %7s %5s | %10s %10s %10s %21s %10s %10s | %22s", head.c_str(), "runs", "finished",
                   "stalled", "limit", "min", "p10", "median", "median 95 %", "p90", "max", "stalled");
    if (deadline)
        out << CFormat(" | %22s", ("by " + FormatSimulatedTime(*deadline)).c_str());
    out << '\n';
    const auto time = [](const std::optional<TFinishTime>& t) { return t ? FormatFinishTime(*t) : std::string("-"); };
    for (const TSweepGroup& g : groups) {
        std::string values = " ";
        for (std::size_t k = 0; k < g.values.size(); ++k) {
            const std::size_t width = table.parameters[k].size();
            values += " " + std::string(width > g.values[k].size() ? width - g.values[k].size() : 0, ' ') + g.values[k];
        }
        const std::string interval = g.medianLow ? time(g.medianLow) + " to " + time(g.medianHigh) : "-";
        out << CFormat("%s | %5zu %8zu %7zu %5zu | %10s %10s %10s %21s %10s %10s | %22s", values.c_str(), g.runs,
                       g.finished, g.stalled, g.limited, time(g.min).c_str(), time(g.p10).c_str(),
                       time(g.median).c_str(), interval.c_str(), time(g.p90).c_str(), time(g.max).c_str(),
                       Percent(g.stalledShare, g.stalledShare.upper).c_str());
        if (deadline) {
            const TDeadlineChance chance = ChanceByDeadline(g, *deadline);
            out << CFormat(" | %22s", Percent(chance.byDeadline, chance.upper).c_str());
        }
        out << '\n';
    }
    const std::vector<TSweepPairing> pairings = PairNeighbours(groups);
    if (pairings.empty())
        return;
    out << "\nNeighbours of " << table.parameters.front()
        << ", seed by seed: the median difference in finish time (the second's\n"
           "minus the first's; \"?\" where it rests on runs that did not finish, whose difference is known by its\n"
           "sign alone) and the share of seeds on which the second finished sooner, with its 95 % interval.\n";
    for (const TSweepPairing& p : pairings) {
        const TPairedComparison& c = p.comparison;
        out << "  " << ValuesText(p.first->values) << " -> " << ValuesText(p.second->values) << ": median "
            << (c.medianDifference ? SignedTime(*c.medianDifference) : std::string("?")) << ", sooner on "
            << c.secondFaster.hits << " of " << c.pairs << " seeds, "
            << Percent(c.secondFaster, c.secondFaster.upper) << '\n';
    }
}
