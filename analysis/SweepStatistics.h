#pragma once

#include "model/clsMoveOutcome.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The time a run took to finish, as a statistic across seeds must see it: a
// run that met the step limit finished later than the limit, whenever that
// was, and a run that stood still never finished. Both rank after every
// finished run, so that dropping them would make the rest look faster and
// raising the limit would move the figures.
struct TFinishTime
{
    enum class TKind : std::uint8_t { Finished, BeyondLimit, Never };

    TKind kind = TKind::Never;
    // The finishing step; for BeyondLimit the limit it was still running at.
    std::int64_t steps = 0;

    static TFinishTime At(std::int64_t step) { return {TKind::Finished, step}; }
    static TFinishTime Beyond(std::int64_t limit) { return {TKind::BeyondLimit, limit}; }
    static TFinishTime NeverFinished() { return {TKind::Never, 0}; }
};

// The finish time of a run that ended so after steps: at them, beyond them
// (the step limit), or never (stalled).
TFinishTime FinishTimeOf(TMoveOutcome end, std::int64_t steps);

// Finished runs by their step, then every run beyond the limit, then those
// that never finished; equal within the last two kinds.
bool FinishesBefore(const TFinishTime& a, const TFinishTime& b);

// The p-th quantile (p from 0 to 1) of times sorted by FinishesBefore, by
// linear interpolation between the closest ranks, rank p * (n - 1) from 0: a
// step where every run it rests on finished, else what is known of it, the
// kind of the unfinished run it takes in ("later than the limit", "never").
// Nothing for no times.
std::optional<TFinishTime> FinishQuantile(const std::vector<TFinishTime>& sorted, double p);

// A distribution-free 95 % confidence interval for the median of n runs: the
// ranks (from 0) of the order statistics that bound it, from the binomial
// distribution of how many runs fall below the true median, so that no
// normality is assumed. Nothing below 6 runs, where no pair of ranks covers 95 %.
struct TRankInterval
{
    std::size_t lower = 0;
    std::size_t upper = 0;
    // The probability that the interval holds the median: at least 0.95.
    double coverage = 0.0;
};
std::optional<TRankInterval> MedianInterval(std::size_t n);

// A proportion with its 95 % Wilson score interval, which stays within 0 to
// 1 and is sound for shares near either end and for few runs.
struct TProportion
{
    std::size_t hits = 0;
    std::size_t of = 0;
    double share = 0.0;
    double lower = 0.0;
    double upper = 0.0;
};
TProportion WilsonProportion(std::size_t hits, std::size_t of);

// Two combinations run on the same seeds, compared seed by seed: the median
// of the differences in finish time (second minus first, negative where the
// second was faster), and the share of seeds on which the second finished
// strictly sooner. A seed where one run did not finish has a difference
// known only by its sign, and counts as that; where neither finished it
// counts as no difference.
struct TPairedComparison
{
    std::size_t pairs = 0;
    // In steps; nothing where the middle difference is only known by its sign.
    std::optional<double> medianDifference;
    TProportion secondFaster;
};
// first and second are aligned by seed and equally long.
TPairedComparison ComparePaired(const std::vector<TFinishTime>& first, const std::vector<TFinishTime>& second);
