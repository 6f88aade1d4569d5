#include "tools/RunOptions.h"

#include <charconv>
#include <limits>
#include <type_traits>

namespace {

// A whole number from 1 up to max, written in plain decimal digits.
std::optional<std::int64_t> ParseCount(const std::string& text, std::int64_t max)
{
    std::int64_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 1 || value > max)
        return std::nullopt;
    return value;
}

// Two whole numbers joined by separator, the first from 1 (or 0), the second not below the first.
std::optional<std::pair<std::int64_t, std::int64_t>> ParsePair(const std::string& text, char separator, std::int64_t low)
{
    const std::size_t at = text.find(separator);
    if (at == std::string::npos)
        return std::nullopt;
    const std::string first = text.substr(0, at);
    const std::optional<std::int64_t> a = first == "0" && low == 0 ? 0 : ParseCount(first, std::numeric_limits<std::int64_t>::max());
    const std::optional<std::int64_t> b = ParseCount(text.substr(at + 1), std::numeric_limits<std::int64_t>::max());
    if (!a || !b || *a > *b)
        return std::nullopt;
    return std::pair{*a, *b};
}

// A seed of the overtaking draws: any 32-bit unsigned number, 0 included.
std::optional<std::uint32_t> ParseSeed(const std::string& text)
{
    std::uint32_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

TRunOptionsParse ParseRunOptions(const std::vector<std::string>& args)
{
    TRunOptionsParse result;
    TRunOptions& o = result.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string* {
            return i + 1 < args.size() ? &args[++i] : nullptr;
        };
        // Reads the option's value into target; false (with the error set) if it is missing or bad.
        const auto readCount = [&](std::int64_t max, auto& target) {
            const std::string* text = value();
            const std::optional<std::int64_t> n = text ? ParseCount(*text, max) : std::nullopt;
            if (!n) {
                result.error = text ? arg + " needs a whole number from 1 to " + std::to_string(max) + ", not '"
                        + *text + "'"
                                    : arg + " needs a value";
                return false;
            }
            target = static_cast<std::remove_reference_t<decltype(target)>>(*n);
            return true;
        };
        const auto readPath = [&](const char* missing, std::string& target) {
            const std::string* path = value();
            if (!path || path->empty()) {
                result.error = missing;
                return false;
            }
            target = *path;
            return true;
        };
        constexpr std::int64_t anyCount = std::numeric_limits<std::int64_t>::max();

        bool sound = true;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--summary") {
            o.summary = true;
        } else if (arg == "--check") {
            o.check = true;
        } else if (arg == "--steps") {
            std::int64_t steps = 0;
            sound = readCount(anyCount, steps);
            if (sound)
                o.steps = steps;
        } else if (arg == "--every") {
            sound = readCount(anyCount, o.every);
        } else if (arg == "--max-steps") {
            sound = readCount(anyCount, o.maxSteps);
        } else if (arg == "--persons") {
            std::int32_t persons = 0;
            sound = readCount(1'000'000, persons);
            o.persons = persons;
        } else if (arg == "--stock") {
            std::int32_t stock = 0;
            sound = readCount(1'000'000, stock);
            o.stock = stock;
        } else if (arg == "--seed") {
            const std::string* text = value();
            o.seed = text ? ParseSeed(*text) : std::nullopt;
            if (!o.seed) {
                result.error = text ? "--seed needs a whole number from 0 to 4294967295, not '" + *text + "'"
                                    : "--seed needs a value";
                sound = false;
            }
        } else if (arg == "--scenario") {
            sound = readPath("--scenario needs the path of a scenario file", o.scenarioPath);
        } else if (arg == "--write-scenario") {
            sound = readPath("--write-scenario needs a path, or - for standard output", o.writeScenarioPath);
        } else if (arg == "--report") {
            o.report = true;
        } else if (arg == "--plot") {
            sound = readPath("--plot needs the path of a PNG file", o.plotPath);
        } else if (arg == "--trace") {
            sound = readPath("--trace needs a path, or - for standard output", o.tracePath);
        } else if (arg == "--sweep") {
            sound = readPath("--sweep needs the path of a sweep file", o.sweepPath);
        } else if (arg == "--csv") {
            sound = readPath("--csv needs a path, or - for standard output", o.csvPath);
        } else if (arg == "--jobs") {
            sound = readCount(4096, o.jobs);
        } else if (arg == "--sweep-report") {
            sound = readPath("--sweep-report needs the path of a sweep's CSV", o.sweepReportPath);
        } else if (arg == "--shard" || arg == "--plot-steps") {
            const bool shard = arg == "--shard";
            const std::string* text = value();
            const auto pair = text ? ParsePair(*text, shard ? '/' : ':', shard ? 1 : 0) : std::nullopt;
            if (!pair || (shard && pair->second > std::numeric_limits<std::int32_t>::max())) {
                result.error = shard ? "--shard needs K/N with K from 1 to N" : "--plot-steps needs A:B with A up to B";
                sound = false;
            } else if (shard) {
                o.shard = static_cast<std::int32_t>(pair->first);
                o.shardCount = static_cast<std::int32_t>(pair->second);
            } else {
                o.plotSteps = pair;
            }
        } else {
            result.error = "unknown option '" + arg + "'";
            sound = false;
        }
        if (!sound)
            return result;
    }
    if (!o.sweepPath.empty() && o.csvPath.empty())
        result.error = "--sweep needs --csv PATH|-";
    if (o.plotSteps && o.plotPath.empty())
        result.error = "--plot-steps needs --plot PATH.png";
    if (o.persons && !o.scenarioPath.empty())
        result.error = "--persons scales the built-in move and cannot be used with --scenario";
    return result;
}

std::string RunUsage()
{
    return "usage: zemba-run [--scenario FILE | --persons P] [--stock S] [--seed N] [--steps N] [--max-steps N]\n"
           "                 [--trace PATH|-] [--every K] [--summary] [--check] [--plot PATH.png] [--report]\n"
           "                 [--write-scenario PATH|-]\n"
           "  Builds the moving scenario and steps it as fast as it goes.\n"
           "  --scenario FILE  run the scenario file FILE instead of the built-in move\n"
           "  --seed N     seed the overtaking draws with N instead of the scenario's seed\n"
           "  --steps N    run N steps; without it, run until the move is complete\n"
           "  --max-steps N  give up a move that is not complete after N steps, with exit\n"
           "               status 1 (default 10000000)\n"
           "  --trace PATH write a CSV trace of every handler to PATH (- for standard output)\n"
           "  --every K    trace step 0 and every K-th step (default 1)\n"
           "  --summary    print one line of totals after the run\n"
           "  --check      check the chain's invariants after every step; exit 1 at the first violation\n"
           "  --persons P  the built-in move with P persons, its trail lengthened per eleven\n"
           "               persons (default 11)\n"
           "  --stock S    S loads in the old home (default: the scenario's, 666 per eleven\n"
           "               persons in the built-in move)\n"
           "  --write-scenario PATH  write the scenario as a file to PATH (- for standard\n"
           "               output) instead of running it\n"
           "  --plot PATH  draw a space-time picture of the run into the PNG file PATH\n"
           "  --report     print a report of the move after the run: duration, delivery\n"
           "               rates, what each person did, throughput against its upper bound\n"
           "  --plot-steps A:B  draw steps A to B of the run as the space-time picture\n"
           "  --help       print this text\n"
           "\n"
           "usage: zemba-run --sweep FILE --csv PATH|- [--jobs N] [--shard K/N]\n"
           "       zemba-run --sweep-report SWEEP.csv [--plot PATH.png]\n"
           "  --sweep FILE     run every combination and seed of the sweep file, one CSV row per run\n"
           "  --jobs N         run N scenarios at once (default: one per core)\n"
           "  --shard K/N      run only the K-th of N slices of the sweep, with their run numbers\n"
           "  --sweep-report   summarise a sweep's CSV: finish times across seeds per combination\n";
}
