#include "analysis/SweepSequence.h"

#include <algorithm>

TSeedSequence::TSeedSequence(const TSeedRule& seedRule)
    : rule(seedRule), batchEnd(std::min(seedRule.batchRuns, seedRule.planRuns))
{
}

void TSeedSequence::Add(const std::vector<std::string>& values, TMoveOutcome end, std::int64_t steps)
{
    const auto [at, fresh] = indexOf.try_emplace(values, valuesOf.size());
    if (fresh) {
        valuesOf.push_back(values);
        sorted.emplace_back();
        added.emplace_back();
    }
    added[at->second].push_back(FinishTimeOf(end, steps));
}

void TSeedSequence::CloseBatch()
{
    imprecise.clear();
    for (std::size_t c = 0; c < sorted.size(); ++c) {
        // Merged rather than sorted anew: a batch costs what the runs so far hold, once.
        std::ranges::sort(added[c], FinishesBefore);
        const auto middle = static_cast<std::ptrdiff_t>(sorted[c].size());
        sorted[c].insert(sorted[c].end(), added[c].begin(), added[c].end());
        std::inplace_merge(sorted[c].begin(), sorted[c].begin() + middle, sorted[c].end(), FinishesBefore);
        added[c].clear();
        if (std::optional<TImpreciseMedian> shortfall = Imprecise(c))
            imprecise.push_back(std::move(*shortfall));
    }
    if (imprecise.empty() || batchEnd >= rule.planRuns) {
        over = true;
        return;
    }
    batchStart = batchEnd;
    batchEnd = std::min(rule.planRuns, batchEnd + rule.batchRuns);
}

std::optional<TImpreciseMedian> TSeedSequence::Imprecise(std::size_t combination) const
{
    const std::vector<TFinishTime>& times = sorted[combination];
    TImpreciseMedian result;
    result.values = valuesOf[combination];
    result.runs = times.size();
    result.median = FinishQuantile(times, 0.5);
    const std::optional<TRankInterval> ranks = MedianInterval(times.size());
    if (!ranks)
        return result;
    result.lower = times[ranks->lower];
    result.upper = times[ranks->upper];
    const auto finished = [](const std::optional<TFinishTime>& t) { return t->kind == TFinishTime::TKind::Finished; };
    if (finished(result.median) && finished(result.upper) && result.median->steps - result.lower->steps <= rule.medianWithin
        && result.upper->steps - result.median->steps <= rule.medianWithin)
        return std::nullopt;
    return result;
}

std::size_t SequenceRunsDue(const TSeedRule& rule, const std::vector<TSweepRow>& rows)
{
    std::vector<const TSweepRow*> byRun;
    for (const TSweepRow& row : rows)
        byRun.push_back(&row);
    std::ranges::sort(byRun, {}, &TSweepRow::run);
    TSeedSequence sequence(rule);
    auto next = byRun.begin();
    while (!sequence.IsOver()) {
        const auto [first, end] = sequence.Due();
        next = std::find_if(next, byRun.end(), [&](const TSweepRow* row) { return row->run >= first; });
        const auto beyond = std::find_if(next, byRun.end(), [&](const TSweepRow* row) { return row->run >= end; });
        // Each run is there once at most (the row checker sees to it).
        if (static_cast<std::size_t>(beyond - next) != end - first)
            return end;
        for (; next != beyond; ++next)
            sequence.Add((*next)->values, (*next)->end, (*next)->steps);
        sequence.CloseBatch();
    }
    return sequence.Due().second;
}

TSequenceRun RunSeedSequence(const TSweepPlan& plan, const std::vector<TSweepRow>& present, unsigned jobs,
                             const TSweepRunFunction& run, std::ostream& csv, const std::atomic<bool>& stop,
                             const TSweepProgress& progress)
{
    // Each batch's outcomes by run, from the rows present and from the runs as they finish.
    std::map<std::size_t, std::pair<TMoveOutcome, std::int64_t>> outcomes;
    for (const TSweepRow& row : present)
        outcomes[row.run] = {row.end, row.steps};
    TSeedSequence sequence(plan.SeedRule());
    TSequenceRun result;
    while (!sequence.IsOver()) {
        const auto [first, end] = sequence.Due();
        std::vector<std::size_t> todo;
        for (std::size_t r = first; r < end; ++r)
            if (!outcomes.contains(r))
                todo.push_back(r);
        const std::size_t written = RunSweep(
            plan, todo, jobs, run, csv, stop,
            [&](std::size_t rows, std::size_t) {
                if (progress)
                    progress(result.written + rows, plan.RunCount() - present.size());
            },
            [&](std::size_t r, const TSweepOutcome& outcome) { outcomes[r] = {outcome.end, outcome.steps}; });
        result.written += written;
        result.added.insert(result.added.end(), todo.begin(), todo.end());
        if (written < todo.size())
            return result;
        for (std::size_t r = first; r < end; ++r)
            sequence.Add(plan.ValuesOf(plan.CombinationOf(r)), outcomes[r].first, outcomes[r].second);
        sequence.CloseBatch();
    }
    result.over = true;
    result.runs = sequence.Due().second;
    result.imprecise = sequence.GetImprecise();
    return result;
}
