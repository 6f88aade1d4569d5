#include "tools/RunOptions.h"

#include <charconv>
#include <limits>

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
        const auto count = [&](std::int64_t max) -> std::optional<std::int64_t> {
            const std::string* text = value();
            if (!text) {
                result.error = arg + " needs a value";
                return std::nullopt;
            }
            auto n = ParseCount(*text, max);
            if (!n)
                result.error = arg + " needs a whole number from 1 to " + std::to_string(max)
                    + ", not '" + *text + "'";
            return n;
        };

        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--summary") {
            o.summary = true;
        } else if (arg == "--check") {
            o.check = true;
        } else if (arg == "--steps") {
            const auto n = count(std::numeric_limits<std::int64_t>::max());
            if (!n)
                return result;
            o.steps = *n;
        } else if (arg == "--every") {
            const auto n = count(std::numeric_limits<std::int64_t>::max());
            if (!n)
                return result;
            o.every = *n;
        } else if (arg == "--persons") {
            const auto n = count(1'000'000);
            if (!n)
                return result;
            o.persons = static_cast<std::int32_t>(*n);
        } else if (arg == "--stock") {
            const auto n = count(std::numeric_limits<std::int32_t>::max());
            if (!n)
                return result;
            o.stock = static_cast<std::int32_t>(*n);
        } else if (arg == "--report") {
            o.report = true;
        } else if (arg == "--plot") {
            const std::string* path = value();
            if (!path || path->empty()) {
                result.error = "--plot needs the path of a PNG file";
                return result;
            }
            o.plotPath = *path;
        } else if (arg == "--trace") {
            const std::string* path = value();
            if (!path || path->empty()) {
                result.error = "--trace needs a path, or - for standard output";
                return result;
            }
            o.tracePath = *path;
        } else {
            result.error = "unknown option '" + arg + "'";
            return result;
        }
    }
    return result;
}

std::string RunUsage()
{
    return "usage: zemba-run [--steps N] [--trace PATH|-] [--every K] [--summary] [--check] [--persons P]\n"
           "                 [--stock S] [--plot PATH.png] [--report]\n"
           "  Builds the moving scenario and steps it as fast as it goes.\n"
           "  --steps N    run N steps; without it, run until the move is complete\n"
           "               (or 1,000,000 steps)\n"
           "  --trace PATH write a CSV trace of every handler to PATH (- for standard output)\n"
           "  --every K    trace step 0 and every K-th step (default 1)\n"
           "  --summary    print one line of totals after the run\n"
           "  --check      check the chain's invariants after every step; exit 1 at the first violation\n"
           "  --persons P  P persons on a trail lengthened per eleven persons (default 11)\n"
           "  --stock S    S loads in the old home (default 666 per eleven persons)\n"
           "  --plot PATH  draw a space-time picture of the run into the PNG file PATH\n"
           "  --report     print a report of the move after the run: duration, delivery\n"
           "               rates, what each person did, throughput against its upper bound\n"
           "  --help       print this text\n";
}
