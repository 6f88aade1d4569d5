#include "analysis/MoveReport.h"

#include "analysis/CText.h"
#include "model/clsSimulationTime.h"
#include "scenario/clsClockTime.h"

#include <charconv>
#include <ostream>

double LoadsPerMinute(std::int64_t loads, std::int64_t steps)
{
    return steps > 0 ? static_cast<double>(loads) / static_cast<double>(steps) * StepsPerMinute : 0.0;
}

namespace {

double SummedSpeed(const TMoveLayout& layout)
{
    double summedSpeed = 0.0;
    for (const TMoveLayout::TPersonInfo& p : layout.persons)
        if (p.atStart)
            summedSpeed += p.speed;
    return summedSpeed;
}

double WorkPerLoad(const TMoveLayout& layout)
{
    double workPerLoad = 0.0;
    for (const TMoveLayout::TStretch& s : layout.stretches)
        workPerLoad += s.length / s.carryingFactor;
    return workPerLoad;
}

} // namespace

double BoundPerMinute(const TMoveLayout& layout)
{
    const double workPerLoad = WorkPerLoad(layout);
    return workPerLoad > 0.0 ? SummedSpeed(layout) / workPerLoad * StepsPerMinute : 0.0;
}

TMoveReport SummariseMove(const TMoveRecord& record, std::int64_t stalledSince)
{
    TMoveReport r;
    r.stalledSince = stalledSince;
    const TMoveLayout& layout = record.GetLayout();
    r.steps = record.GetStepCount();
    r.finishStep = record.GetFinishStep();
    r.delivered = record.GetDeliveredAfter(r.steps);
    r.stock = layout.stock;
    r.trailLength = layout.trailLength;

    for (std::int64_t q = 0; q < 4; ++q) {
        TMoveReport::TQuarter& quarter = r.quarters[static_cast<std::size_t>(q)];
        const std::int64_t before = q * r.steps / 4;
        quarter.firstStep = before + 1;
        quarter.lastStep = (q + 1) * r.steps / 4;
        quarter.delivered = record.GetDeliveredAfter(quarter.lastStep) - record.GetDeliveredAfter(before);
        quarter.perMinute = LoadsPerMinute(quarter.delivered, quarter.lastStep - before);
    }

    for (std::size_t i = 0; i < layout.persons.size(); ++i) {
        const TMoveLayout::TPersonInfo& info = layout.persons[i];
        const TMoveRecord::TPersonTotals& t = record.GetTotals(i);
        TMoveReport::TPersonLine line{.id = info.id, .name = info.name, .speed = info.speed};
        for (std::size_t a = 0; a < ActivityCount; ++a)
            line.share[a] = r.steps > 0 ? static_cast<double>(t.activity[a]) * 100.0 / static_cast<double>(r.steps) : 0.0;
        line.breaks = t.breaks;
        line.founded = t.founded;
        line.givenUp = t.givenUp;
        line.moved = t.moved;
        line.stepsOnTrail = t.stepsOnTrail;
        line.last = record.GetLatest()[i];
        r.persons.push_back(line);
    }
    r.summedSpeed = SummedSpeed(layout);
    r.workPerLoad = WorkPerLoad(layout);
    r.boundPerMinute = BoundPerMinute(layout);
    r.perMinute = LoadsPerMinute(r.delivered, r.finishStep >= 0 ? r.finishStep : r.steps);
    if (r.boundPerMinute > 0.0)
        r.percentOfBound = r.perMinute / r.boundPerMinute * 100.0;
    return r;
}

const char* ActivityName(TActivity activity)
{
    switch (activity) {
    case TActivity::Carrying: return "carrying";
    case TActivity::WalkingEmpty: return "walking empty";
    case TActivity::Giving: return "giving";
    case TActivity::Receiving: return "receiving";
    case TActivity::OnBreak: return "on a break";
    }
    return "";
}

std::string FormatSimulatedTime(std::int64_t steps)
{
    const std::int64_t seconds = steps / StepsPerSecond;
    return CFormat("%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
}

std::optional<std::int64_t> ParseSimulatedTime(std::string_view text)
{
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos || text.size() != first + 6 || text[first + 3] != ':')
        return std::nullopt;
    // Hours up to a hundred years of simulated time keep every count of steps far from overflowing.
    constexpr std::int64_t MostHours = 876'000;
    const auto number = [](std::string_view digits, std::int64_t below) -> std::optional<std::int64_t> {
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || digits.front() == '-' || digits.front() == '+' || ec != std::errc()
            || end != digits.data() + digits.size() || value >= below)
            return std::nullopt;
        return value;
    };
    const auto hours = number(text.substr(0, first), MostHours);
    const auto minutes = number(text.substr(first + 1, 2), 60);
    const auto seconds = number(text.substr(first + 4, 2), 60);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return ((*hours * 60 + *minutes) * 60 + *seconds) * StepsPerSecond;
}

void WriteMoveReport(const TMoveReport& r, std::ostream& out)
{
    const auto steps = [](std::int64_t n) { return static_cast<long long>(n); };
    out << "The move\n";
    if (r.finishStep >= 0)
        out << CFormat("  the last of %d loads was delivered in step %lld, after %s of simulated time (%lld steps/s)\n",
                      r.stock, steps(r.finishStep), FormatSimulatedTime(r.finishStep).c_str(), steps(StepsPerSecond));
    else
        out << CFormat("  the move has not finished: %d of %d loads delivered after %lld steps (%s of simulated time)\n",
                      r.delivered, r.stock, steps(r.steps), FormatSimulatedTime(r.steps).c_str());
    if (r.startSecond >= 0) {
        const std::int64_t end = r.finishStep >= 0 ? r.finishStep : r.steps;
        out << CFormat("  it started at %s and %s at %s by the clock\n", ClockTimeText(r.startSecond).c_str(),
                      r.finishStep >= 0 ? "was done" : "stopped", ClockTimeAfter(r.startSecond, end / StepsPerSecond).c_str());
    }
    out << CFormat("  the trail is %.1f m long, at %g m per trail unit\n", r.trailLength * r.metresPerUnit, r.metresPerUnit);
    if (r.stalledSince >= 0) {
        out << CFormat("  it stands still: no load has changed hands since step %lld (%s); at the end\n",
                      steps(r.stalledSince), FormatSimulatedTime(r.stalledSince).c_str());
        for (const TMoveReport::TPersonLine& p : r.persons)
            out << CFormat("    %-14s %-13s at %6.1f%s\n", p.name.c_str(), ActivityName(p.last.activity),
                          p.last.position * 100.0, p.last.carriesLoad ? ", holding a load" : "");
    }

    out << "\nLoads delivered per simulated minute, by quarter of the run\n";
    for (std::size_t q = 0; q < r.quarters.size(); ++q) {
        const TMoveReport::TQuarter& quarter = r.quarters[q];
        if (quarter.firstStep > quarter.lastStep)
            out << CFormat("  quarter %zu: no steps\n", q + 1);
        else
            out << CFormat("  quarter %zu, steps %lld to %lld: %d loads, %.1f per minute\n", q + 1,
                          steps(quarter.firstStep), steps(quarter.lastStep), quarter.delivered, quarter.perMinute);
    }

    out << "\nPersons: percent of the run's steps spent, breaks taken and home-area changes\n"
           "  (founded: has an area after a step, had none before; given up: the reverse;\n"
           "   moved: has an area before and after, with other borders, cut by a neighbour)\n";
    out << CFormat("  %-14s %4s %6s %8s %8s %7s %9s %6s %6s %8s %9s %6s\n", "name", "id", "speed", "carrying",
                  "empty", "giving", "receiving", "break", "breaks", "founded", "given up", "moved");
    for (const TMoveReport::TPersonLine& p : r.persons)
        out << CFormat("  %-14s %4d %6.2f %8.1f %8.1f %7.1f %9.1f %6.1f %6lld %8lld %9lld %6lld\n", p.name.c_str(), p.id,
                      p.speed * 100.0, p.share[0], p.share[1], p.share[2], p.share[3], p.share[4], steps(p.breaks),
                      steps(p.founded), steps(p.givenUp), steps(p.moved));
    out << "  (speed in trail units per step × 100, as the persons dialog shows it)\n";

    out << "\nTime on the trail, from arrival to leaving or the end of the run, and person-hours\n";
    double personHours = 0.0;
    for (const TMoveReport::TPersonLine& p : r.persons) {
        const double hours = static_cast<double>(p.stepsOnTrail) / StepsPerHour;
        personHours += hours;
        out << CFormat("  %-14s %10s %7.2f\n", p.name.c_str(), FormatSimulatedTime(p.stepsOnTrail).c_str(), hours);
    }
    out << CFormat("  %-14s %10s %7.2f person-hours\n", "all", "", personHours);

    out << CFormat("\nThroughput: %.2f loads per simulated minute, %.0f %% of the upper bound of %.2f\n", r.perMinute,
                  r.percentOfBound, r.boundPerMinute)
        << CFormat("  (bound: the persons' summed carrying speed %.4f per step over the work of one load, %.4f\n"
                  "   trail units with each section's length divided by its carrying speed factor)\n",
                  r.summedSpeed, r.workPerLoad);
}
