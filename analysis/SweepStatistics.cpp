#include "analysis/SweepStatistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The normal quantile of 97.5 %: two-sided 95 % intervals.
constexpr double Z95 = 1.959963984540054;
constexpr double Confidence = 0.95;

// P(B = i) for B ~ Binomial(n, 1/2), from logarithms so that no term
// underflows however many runs there are.
double HalfBinomialMass(std::size_t n, std::size_t i)
{
    return std::exp(std::lgamma(static_cast<double>(n) + 1.0) - std::lgamma(static_cast<double>(i) + 1.0)
                    - std::lgamma(static_cast<double>(n - i) + 1.0) + static_cast<double>(n) * std::log(0.5));
}

// A paired difference: finite, or known only to favour one side.
constexpr double SecondNeverCaughtUp = std::numeric_limits<double>::infinity();

double Difference(const TFinishTime& first, const TFinishTime& second)
{
    const bool firstDone = first.kind == TFinishTime::TKind::Finished;
    const bool secondDone = second.kind == TFinishTime::TKind::Finished;
    if (firstDone && secondDone)
        return static_cast<double>(second.steps - first.steps);
    if (firstDone != secondDone)
        return firstDone ? SecondNeverCaughtUp : -SecondNeverCaughtUp;
    // Neither finished: a run at the limit might yet have stalled too, so
    // nothing tells them apart.
    return 0.0;
}

} // namespace

bool FinishesBefore(const TFinishTime& a, const TFinishTime& b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind;
    return a.kind == TFinishTime::TKind::Finished && a.steps < b.steps;
}

std::optional<TFinishTime> FinishQuantile(const std::vector<TFinishTime>& sorted, double p)
{
    if (sorted.empty())
        return std::nullopt;
    const double rank = std::clamp(p, 0.0, 1.0) * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const double above = rank - static_cast<double>(below);
    const TFinishTime& low = sorted[below];
    // The next rank counts only where the interpolation gives it weight.
    const TFinishTime& high = above > 0.0 ? sorted[below + 1] : low;
    if (high.kind != TFinishTime::TKind::Finished)
        return high;
    return TFinishTime::At(static_cast<std::int64_t>(
        std::llround(static_cast<double>(low.steps) + above * static_cast<double>(high.steps - low.steps))));
}

std::optional<TRankInterval> MedianInterval(std::size_t n)
{
    // The widest exclusion k from each end whose interval still covers 95 %:
    // it covers 1 - 2 P(B <= k - 1).
    std::optional<TRankInterval> best;
    double below = 0.0;
    for (std::size_t k = 1; 2 * k <= n; ++k) {
        below += HalfBinomialMass(n, k - 1);
        const double coverage = 1.0 - 2.0 * below;
        if (coverage < Confidence)
            break;
        best = TRankInterval{k - 1, n - k, coverage};
    }
    return best;
}

TProportion WilsonProportion(std::size_t hits, std::size_t of)
{
    TProportion result{hits, of, 0.0, 0.0, 1.0};
    if (of == 0)
        return result;
    const double n = static_cast<double>(of);
    const double p = static_cast<double>(hits) / n;
    const double z2 = Z95 * Z95;
    const double centre = (p + z2 / (2.0 * n)) / (1.0 + z2 / n);
    const double half = Z95 / (1.0 + z2 / n) * std::sqrt(p * (1.0 - p) / n + z2 / (4.0 * n * n));
    result.share = p;
    result.lower = std::max(0.0, centre - half);
    result.upper = std::min(1.0, centre + half);
    return result;
}

TPairedComparison ComparePaired(const std::vector<TFinishTime>& first, const std::vector<TFinishTime>& second)
{
    TPairedComparison result;
    result.pairs = std::min(first.size(), second.size());
    std::vector<double> differences;
    std::size_t faster = 0;
    for (std::size_t i = 0; i < result.pairs; ++i) {
        differences.push_back(Difference(first[i], second[i]));
        faster += differences.back() < 0.0 ? 1 : 0;
    }
    result.secondFaster = WilsonProportion(faster, result.pairs);
    if (differences.empty())
        return result;
    std::sort(differences.begin(), differences.end());
    const std::size_t middle = (differences.size() - 1) / 2;
    const double median = differences.size() % 2 == 1 ? differences[middle]
                                                       : (differences[middle] + differences[middle + 1]) / 2.0;
    if (std::isfinite(median))
        result.medianDifference = median;
    return result;
}

TFinishTime FinishTimeOf(TMoveOutcome end, std::int64_t steps)
{
    switch (end) {
    case TMoveOutcome::Finished: return TFinishTime::At(steps);
    case TMoveOutcome::Running: return TFinishTime::Beyond(steps);
    case TMoveOutcome::Stalled: break;
    }
    return TFinishTime::NeverFinished();
}
