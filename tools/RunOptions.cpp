#include "tools/RunOptions.h"

#include "analysis/FilmSettings.h"
#include "analysis/MoveReport.h"
#include "analysis/OutputFile.h"
#include "analysis/SweepPlan.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <limits>
#include <map>

namespace {

// Which modes an option belongs to, as a set of bits.
constexpr unsigned Bit(ERunMode mode)
{
    return 1u << static_cast<unsigned>(mode);
}
constexpr unsigned OneRun = Bit(ERunMode::Run);
constexpr unsigned Filming = Bit(ERunMode::Film);
constexpr unsigned Building = Bit(ERunMode::Run) | Bit(ERunMode::WriteScenario) | Filming;
constexpr unsigned Sweeping = Bit(ERunMode::Sweep);
constexpr unsigned Merging = Bit(ERunMode::Merge);
constexpr unsigned Planning = Bit(ERunMode::Sweep) | Bit(ERunMode::Plan) | Merging;

struct TOptionRule
{
    const char* name;
    bool takesValue;
    unsigned modes;
    // Takes every word up to the next option as a value.
    bool many = false;
};

// Every option zemba-run knows, in the order the help gives them.
constexpr std::array OptionRules = {
    TOptionRule{"--scenario", true, Building},
    TOptionRule{"--persons", true, Building},
    TOptionRule{"--stock", true, Building},
    TOptionRule{"--seed", true, Building},
    TOptionRule{"--steps", true, OneRun},
    TOptionRule{"--max-steps", true, OneRun},
    TOptionRule{"--trace", true, OneRun},
    TOptionRule{"--every", true, OneRun},
    TOptionRule{"--summary", false, OneRun},
    TOptionRule{"--check", false, OneRun},
    TOptionRule{"--report", false, OneRun},
    TOptionRule{"--plot", true, OneRun | Bit(ERunMode::SweepReport)},
    TOptionRule{"--plot-steps", true, OneRun},
    TOptionRule{"--write-scenario", true, Bit(ERunMode::WriteScenario)},
    TOptionRule{"--sweep", true, Planning | Bit(ERunMode::SweepReport) | OneRun},
    TOptionRule{"--run", true, OneRun},
    TOptionRule{"--csv", true, Sweeping | Merging},
    TOptionRule{"--jobs", true, Sweeping},
    TOptionRule{"--shard", true, Sweeping | Bit(ERunMode::Plan)},
    TOptionRule{"--resume", false, Sweeping},
    TOptionRule{"--progress", true, Sweeping},
    TOptionRule{"--plan", false, Bit(ERunMode::Plan)},
    TOptionRule{"--merge", true, Merging, true},
    TOptionRule{"--sweep-report", true, Bit(ERunMode::SweepReport)},
    TOptionRule{"--deadline", true, Bit(ERunMode::SweepReport)},
    TOptionRule{"--summary-csv", true, Bit(ERunMode::SweepReport)},
    TOptionRule{"--summary-json", true, Bit(ERunMode::SweepReport)},
    TOptionRule{"--plot-from-zero", false, Bit(ERunMode::SweepReport)},
    TOptionRule{"--film", true, Filming},
    TOptionRule{"--film-steps", true, Filming},
    TOptionRule{"--film-fps", true, Filming},
    TOptionRule{"--film-every", true, Filming},
    TOptionRule{"--film-size", true, Filming},
    TOptionRule{"--film-caption", false, Filming},
};

// What a mode is called in a refusal: "--trace cannot be used with a sweep".
const char* ModeName(ERunMode mode)
{
    switch (mode) {
    case ERunMode::Run: return "a single run";
    case ERunMode::WriteScenario: return "--write-scenario, which runs nothing";
    case ERunMode::Sweep: return "a sweep (--sweep)";
    case ERunMode::Plan: return "--plan, which runs nothing";
    case ERunMode::Merge: return "--merge";
    case ERunMode::SweepReport: return "--sweep-report";
    case ERunMode::Film: return "a film (--film)";
    }
    return "";
}

std::string ModesOf(unsigned modes)
{
    std::string names;
    for (const ERunMode mode : {ERunMode::Run, ERunMode::WriteScenario, ERunMode::Sweep, ERunMode::Plan,
                                ERunMode::Merge, ERunMode::SweepReport, ERunMode::Film})
        if (modes & Bit(mode))
            names += std::string(names.empty() ? "" : " or ") + ModeName(mode);
    return names;
}

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

// A film's size, "1280x720": two sides each within a film's limits.
std::optional<std::pair<std::int32_t, std::int32_t>> ParseSize(const std::string& text)
{
    const std::size_t at = text.find('x');
    if (at == std::string::npos)
        return std::nullopt;
    const auto width = ParseCount(text.substr(0, at), FilmMaximumSide);
    const auto height = ParseCount(text.substr(at + 1), FilmMaximumSide);
    if (!width || !height || *width < FilmMinimumSide || *height < FilmMinimumSide)
        return std::nullopt;
    return std::pair{static_cast<std::int32_t>(*width), static_cast<std::int32_t>(*height)};
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

bool LooksLikeNumber(const std::string& text)
{
    double value = 0.0;
    const char* const begin = text.data() + (text.rfind('-', 0) == 0 ? 1 : 0);
    const auto [ptr, ec] = std::from_chars(begin, text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

class TParseFailure
{
public:
    explicit TParseFailure(std::string line) : message(std::move(line)) {}
    std::string message;
};

// Turns the words CLI11 collected into options, refusing what does not fit.
class TOptionReader
{
public:
    explicit TOptionReader(const std::map<std::string, std::string>& given) : values(given) {}

    bool Has(const char* name) const { return values.count(name) > 0; }

    const std::string* Text(const char* name) const
    {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : &found->second;
    }

    template <typename T>
    void Count(const char* name, std::int64_t max, T& target) const
    {
        if (const std::string* text = Text(name)) {
            const std::optional<std::int64_t> n = ParseCount(*text, max);
            if (!n)
                throw TParseFailure(std::string(name) + " needs a whole number from 1 to " + std::to_string(max)
                                    + ", not '" + *text + "'");
            target = static_cast<T>(*n);
        }
    }

    void Path(const char* name, const char* what, std::string& target) const
    {
        if (const std::string* text = Text(name)) {
            if (text->empty())
                throw TParseFailure(std::string(name) + " needs " + what);
            target = *text;
        }
    }

private:
    const std::map<std::string, std::string>& values;
};

ERunMode ModeOf(const TOptionReader& r)
{
    // With --sweep-report, --sweep names the plan that the rows are checked against.
    if (r.Has("--sweep-report"))
        return ERunMode::SweepReport;
    // With --run, --sweep names the plan whose run is run alone.
    if (r.Has("--sweep") && r.Has("--run"))
        return ERunMode::Run;
    if (r.Has("--sweep"))
        return r.Has("--plan") ? ERunMode::Plan : r.Has("--merge") ? ERunMode::Merge : ERunMode::Sweep;
    if (r.Has("--write-scenario"))
        return ERunMode::WriteScenario;
    if (r.Has("--film"))
        return ERunMode::Film;
    return ERunMode::Run;
}

void ReadOptions(const TOptionReader& r, TRunOptions& o)
{
    constexpr std::int64_t anyCount = std::numeric_limits<std::int64_t>::max();
    if (r.Has("--steps")) {
        std::int64_t steps = 0;
        r.Count("--steps", anyCount, steps);
        o.steps = steps;
    }
    r.Count("--every", anyCount, o.every);
    r.Count("--max-steps", anyCount, o.maxSteps);
    if (r.Has("--persons")) {
        std::int32_t persons = 0;
        r.Count("--persons", 1'000'000, persons);
        o.persons = persons;
    }
    if (r.Has("--stock")) {
        std::int32_t stock = 0;
        r.Count("--stock", 1'000'000, stock);
        o.stock = stock;
    }
    if (const std::string* text = r.Text("--seed")) {
        o.seed = ParseSeed(*text);
        if (!o.seed)
            throw TParseFailure("--seed needs a whole number from 0 to 4294967295, not '" + *text + "'");
    }
    r.Path("--scenario", "the path of a scenario file", o.scenarioPath);
    r.Path("--write-scenario", "a path, or - for standard output", o.writeScenarioPath);
    r.Path("--plot", "a path ending in .png or .svg, or - for PNG on standard output", o.plotPath);
    r.Path("--trace", "a path, or - for standard output", o.tracePath);
    r.Path("--sweep", "the path of a sweep file", o.sweepPath);
    r.Path("--csv", "a path, or - for standard output", o.csvPath);
    r.Path("--sweep-report", "the path of a sweep's CSV", o.sweepReportPath);
    r.Path("--summary-csv", "a path, or - for standard output", o.summaryCsvPath);
    r.Path("--summary-json", "a path, or - for standard output", o.summaryJsonPath);
    if (const std::string* text = r.Text("--deadline")) {
        o.deadline = ParseSimulatedTime(*text);
        if (!o.deadline)
            throw TParseFailure("--deadline needs a simulated time H:MM:SS, not '" + *text + "'");
    }
    if (const std::string* text = r.Text("--run")) {
        const std::optional<std::int64_t> run = *text == "0" ? 0 : ParseCount(*text, MaxSweepRuns - 1);
        if (!run)
            throw TParseFailure("--run needs a run number of the sweep from 0, not '" + *text + "'");
        o.sweepRun = static_cast<std::size_t>(*run);
    }
    r.Count("--jobs", 4096, o.jobs);
    r.Count("--progress", 86'400, o.progressSeconds);
    if (const std::string* text = r.Text("--shard")) {
        const auto pair = ParsePair(*text, '/', 1);
        if (!pair || pair->second > std::numeric_limits<std::int32_t>::max())
            throw TParseFailure("--shard needs K/N with K from 1 to N, not '" + *text + "'");
        o.shard = static_cast<std::int32_t>(pair->first);
        o.shardCount = static_cast<std::int32_t>(pair->second);
    }
    if (const std::string* text = r.Text("--film-steps")) {
        o.filmSteps = ParsePair(*text, ':', 0);
        if (!o.filmSteps)
            throw TParseFailure("--film-steps needs A:B with A up to B, not '" + *text + "'");
    }
    r.Path("--film", "a path ending in .mp4, .webm or .gif", o.filmPath);
    r.Count("--film-fps", FilmMaximumFramesPerSecond, o.filmFramesPerSecond);
    r.Count("--film-every", anyCount, o.filmEvery);
    if (const std::string* text = r.Text("--film-size")) {
        const auto size = ParseSize(*text);
        if (!size)
            throw TParseFailure("--film-size needs WxH with each side from " + std::to_string(FilmMinimumSide) + " to "
                                + std::to_string(FilmMaximumSide) + ", not '" + *text + "'");
        o.filmWidth = size->first;
        o.filmHeight = size->second;
    }
    if (const std::string* text = r.Text("--plot-steps")) {
        o.plotSteps = ParsePair(*text, ':', 0);
        if (!o.plotSteps)
            throw TParseFailure("--plot-steps needs A:B with A up to B, not '" + *text + "'");
    }
}

// What only makes sense together, checked once every option is read.
void CheckCombinations(const TRunOptions& o)
{
    if (o.mode == ERunMode::Sweep && o.csvPath.empty())
        throw TParseFailure("--sweep needs --csv PATH|- (or --plan to check it and print its plan)");
    if (o.mode == ERunMode::Merge && o.csvPath.empty())
        throw TParseFailure("--merge needs --csv PATH|- for the merged CSV");
    for (const std::string& shard : o.mergePaths)
        if (shard.empty() || shard == "-")
            throw TParseFailure("--merge needs the paths of the shards' CSVs, not '" + shard + "'");
    if (o.plotFromZero && o.plotPath.empty())
        throw TParseFailure("--plot-from-zero needs --plot PATH.png");
    if (o.plotSteps && o.plotPath.empty())
        throw TParseFailure("--plot-steps needs --plot PATH.png");
    if (o.sweepRun && (!o.scenarioPath.empty() || o.persons || o.stock || o.seed || o.maxSteps != TRunOptions{}.maxSteps))
        throw TParseFailure("--run takes the scenario, the seed and max_steps of the sweep's row; it cannot be used "
                            "with --scenario, --persons, --stock, --seed or --max-steps");
    if (o.persons && !o.scenarioPath.empty())
        throw TParseFailure("--persons scales the built-in move and cannot be used with --scenario");
    if (o.resume && o.csvPath == "-")
        throw TParseFailure("--resume needs the CSV as a file, not standard output");
    if (!o.plotPath.empty() && o.plotPath != "-") {
        std::string ending = std::filesystem::path(o.plotPath).extension().string();
        std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return std::tolower(c); });
        if (ending != ".png" && ending != ".svg")
            throw TParseFailure("--plot needs a name ending in .png or .svg, not '" + o.plotPath + "'");
    }
    if (o.mode == ERunMode::Film) {
        if (o.filmPath == "-")
            throw TParseFailure("--film cannot go to standard output: give a file ending in .mp4, .webm or .gif");
        const std::optional<TFilmFormat> format = FilmFormatOf(o.filmPath);
        if (!format)
            throw TParseFailure("--film needs a name ending in .mp4, .webm or .gif, not '" + o.filmPath + "'");
        // Past the options' own ranges, a problem is the size's, or a GIF's frame rate.
        const TFilmSettings settings = FilmSettingsOf(o);
        const bool fastGif = settings.format == TFilmFormat::Gif && settings.framesPerSecond > GifMaximumFramesPerSecond;
        if (const std::string problem = FilmSettingsProblem(settings); !problem.empty())
            throw TParseFailure((fastGif ? "--film-fps: " : "--film-size: ") + problem);
    }
    int toStdout = 0;
    for (const std::string* path : {&o.tracePath, &o.csvPath, &o.writeScenarioPath, &o.plotPath, &o.summaryCsvPath,
                                     &o.summaryJsonPath})
        toStdout += *path == "-" ? 1 : 0;
    if (toStdout > 1)
        throw TParseFailure("only one of --trace, --csv, --write-scenario, --plot, --summary-csv and --summary-json "
                            "can go to standard output");
}

} // namespace

TFilmSettings FilmSettingsOf(const TRunOptions& o)
{
    return {FilmFormatOf(o.filmPath).value_or(TFilmFormat::Mp4), o.filmWidth, o.filmHeight, o.filmFramesPerSecond,
            o.filmEvery, o.filmCaption};
}

bool TRunOptions::StdoutTaken() const
{
    return tracePath == "-" || csvPath == "-" || writeScenarioPath == "-" || plotPath == "-" || summaryCsvPath == "-"
        || summaryJsonPath == "-";
}

TRunOptionsParse ParseRunOptions(const std::vector<std::string>& args)
{
    TRunOptionsParse result;
    TRunOptions& o = result.options;

    // CLI11 splits the words: --opt value and --opt=value, flags, unknown
    // options; every value is kept as text and read here, so that each
    // refusal names the option and what it needs in one line.
    CLI::App app("zemba-run");
    app.set_help_flag();
    app.allow_extras(true);
    std::map<std::string, std::string> given;
    std::map<std::string, CLI::Option*> byName;
    std::map<std::string, bool> flags;
    std::map<std::string, std::vector<std::string>> lists;
    app.add_flag("-h,--help", o.help);
    app.add_flag("--version", o.version);
    for (const TOptionRule& rule : OptionRules) {
        CLI::Option* option = rule.many ? app.add_option(rule.name, lists[rule.name])
                              : rule.takesValue
                                  ? app.add_option(rule.name, given[rule.name])->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
                                  : app.add_flag(rule.name, flags[rule.name]);
        byName[rule.name] = option;
    }
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch& e) {
        // The option named before the colon was given without its value.
        const std::string what = e.what();
        const std::size_t colon = what.find(':');
        result.error = colon != std::string::npos && what.rfind("--", 0) == 0
                           ? what.substr(0, colon) + " needs a value"
                           : what;
        return result;
    } catch (const CLI::ParseError& e) {
        result.error = e.what();
        return result;
    }
    if (const std::vector<std::string> extras = app.remaining(); !extras.empty()) {
        const std::string& word = extras.front();
        result.error = word.rfind('-', 0) == 0 && word.size() > 1 ? "unknown option '" + word + "'"
                                                                  : "unexpected word '" + word + "'";
        return result;
    }
    if (o.help || o.version)
        return result;

    try {
        // Only the options given count; their values are text until read.
        std::map<std::string, std::string> present;
        for (const TOptionRule& rule : OptionRules)
            if (byName[rule.name]->count() > 0) {
                const std::vector<std::string> values = rule.many ? lists[rule.name] : std::vector{given[rule.name]};
                for (const std::string& value : values)
                    if (rule.takesValue && value.rfind("--", 0) == 0 && !LooksLikeNumber(value))
                        throw TParseFailure(std::string(rule.name) + " needs a value, not the option '" + value + "'");
                present[rule.name] = rule.takesValue ? values.front() : std::string("1");
            }
        const TOptionReader reader(present);
        o.mode = ModeOf(reader);
        // The first option, as given, that the mode has no use for.
        for (const CLI::Option* option : app.parse_order()) {
            const std::string name = option->get_name();
            const auto rule = std::find_if(OptionRules.begin(), OptionRules.end(),
                                           [&](const TOptionRule& r) { return name == r.name; });
            if (rule != OptionRules.end() && !(rule->modes & Bit(o.mode)))
                throw TParseFailure(name + " cannot be used with " + ModeName(o.mode) + ": it is for "
                                    + ModesOf(rule->modes));
        }
        ReadOptions(reader, o);
        o.mergePaths = lists["--merge"];
        o.summary = reader.Has("--summary");
        o.check = reader.Has("--check");
        o.report = reader.Has("--report");
        o.resume = reader.Has("--resume");
        o.plotFromZero = reader.Has("--plot-from-zero");
        o.filmCaption = reader.Has("--film-caption");
        CheckCombinations(o);
    } catch (const TParseFailure& failure) {
        result.error = failure.message;
    }
    return result;
}

namespace {

namespace fs = std::filesystem;

// Why path cannot be written, or empty when it can.
std::string OutputProblem(const std::string& option, const std::string& path)
{
    std::error_code ec;
    const fs::path file(path);
    if (fs::is_directory(file, ec))
        return option + " names a folder, not a file: '" + path + "'";
    const fs::path parent = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec))
        return option + " cannot write '" + path + "': there is no folder '" + parent.string() + "'";
    if (fs::exists(file, ec) ? access(path.c_str(), W_OK) != 0 : access(parent.c_str(), W_OK | X_OK) != 0)
        return option + " cannot write '" + path + "': permission denied";
    return {};
}

// By device and inode, so that a hard link, a symlink or another spelling of
// a file is caught; names of files still to be made, by their spelling.
bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty() || a == "-" || b == "-")
        return false;
    TFileIdentity first;
    TFileIdentity second;
    if (IdentifyFile(a, first) && IdentifyFile(b, second))
        return first == second;
    std::error_code ec;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

} // namespace

std::string CheckOutputPaths(const TRunOptions& o)
{
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--trace", &o.tracePath}, {"--csv", &o.csvPath}, {"--write-scenario", &o.writeScenarioPath}, {"--plot", &o.plotPath},
        {"--summary-csv", &o.summaryCsvPath}, {"--summary-json", &o.summaryJsonPath},
        {"--film", &o.filmPath}};
    const std::pair<const char*, const std::string*> inputs[] = {
        {"--scenario", &o.scenarioPath}, {"--sweep", &o.sweepPath}, {"--sweep-report", &o.sweepReportPath}};
    for (const auto& [option, path] : outputs) {
        if (path->empty() || *path == "-")
            continue;
        if (std::string problem = OutputProblem(option, *path); !problem.empty())
            return problem;
        for (const auto& [input, inputPath] : inputs)
            if (SameFile(*path, *inputPath))
                return std::string(option) + " would overwrite the file of " + input + ": '" + *path + "'";
        for (const auto& [other, otherPath] : outputs)
            if (other != option && SameFile(*path, *otherPath))
                return std::string(option) + " and " + other + " name the same file: '" + *path + "'";
    }
    return {};
}

std::string RunUsage()
{
    return "usage: zemba-run [--scenario FILE | --persons P] [--stock S] [--seed N] [--steps N] [--max-steps N]\n"
           "                 [--trace PATH|-] [--every K] [--summary] [--check] [--report]\n"
           "                 [--plot PATH.png|PATH.svg|- [--plot-steps A:B]]\n"
           "       zemba-run [--scenario FILE | --persons P] [--stock S] [--seed N] --write-scenario PATH|-\n"
           "       zemba-run --sweep FILE --run N [--steps N] [--trace PATH|-] [--every K] [--summary] [--check]\n"
           "                 [--report] [--plot PATH.png|PATH.svg|- [--plot-steps A:B]]\n"
           "       zemba-run --sweep FILE --csv PATH|- [--jobs N] [--shard K/N] [--resume] [--progress SECONDS]\n"
           "       zemba-run --sweep FILE --plan [--shard K/N]\n"
           "       zemba-run --sweep FILE --merge SHARD.csv... --csv PATH|-\n"
           "       zemba-run --sweep-report SWEEP.csv [--sweep FILE] [--deadline H:MM:SS] [--summary-csv PATH|-]\n"
           "                 [--summary-json PATH|-] [--plot PATH.png|PATH.svg|- [--plot-from-zero]]\n"
           "       zemba-run [--scenario FILE | --persons P] [--stock S] [--seed N] --film PATH.mp4|.webm|.gif\n"
           "                 [--film-steps A:B] [--film-fps N] [--film-every K] [--film-size WxH] [--film-caption]\n"
           "       zemba-run --help | --version\n"
           "Every option is --name VALUE or --name=VALUE; an option that does not apply to\n"
           "what is asked is refused. PATH - is standard output; then the summary and the\n"
           "report go to standard error, so that standard output carries the file alone.\n"
           "\n"
           "A single run: builds the moving scenario and steps it as fast as it goes.\n"
           "  --scenario FILE  run the scenario file FILE instead of the built-in move\n"
           "  --persons P  the built-in move with P persons, its trail lengthened per eleven\n"
           "               persons (default 11)\n"
           "  --stock S    S loads in the old home (default: the scenario's, 666 per eleven\n"
           "               persons in the built-in move)\n"
           "  --seed N     seed the overtaking draws with N instead of the scenario's seed\n"
           "  --steps N    run N steps; without it, run until the move is complete\n"
           "  --max-steps N  give up a move that is not complete after N steps, with exit\n"
           "               status 1 (default 10000000)\n"
           "  --trace PATH write a CSV trace of every handler to PATH\n"
           "  --every K    trace step 0 and every K-th step (default 1)\n"
           "  --summary    print one line of totals after the run\n"
           "  --check      check the chain's invariants after every step; exit 1 at the first violation\n"
           "  --report     print a report of the move after the run: duration, delivery\n"
           "               rates, what each person did, throughput against its upper bound\n"
           "  --plot PATH  draw the run into PATH, PNG or SVG by its name (- for PNG on\n"
           "               standard output): a run of up to 3144 steps shows its hand-overs,\n"
           "               a longer one the overview of the whole move\n"
           "  --plot-steps A:B  draw the hand-overs of steps A to B of the run\n"
           "  --write-scenario PATH  write the scenario as a file instead of running it\n"
           "\n"
           "A film: a stretch of the move, each frame the window's picture of its step.\n"
           "  --film PATH  render the film into PATH: MP4 (H.264), WebM (VP9) or GIF by its name\n"
           "  --film-steps A:B  film steps A to B (default: the whole move, to its end)\n"
           "  --film-fps N     N frames a second (default 25: with K 1 the move's own pace)\n"
           "  --film-every K   a frame every K-th step, K times faster (default 1)\n"
           "  --film-size WxH  the picture's size in pixels (default 1280x720; even for MP4 and WebM)\n"
           "  --film-caption   the simulated time, the step and the loads delivered in the corner\n"
           "\n"
           "A sweep: every combination and seed of a sweep file, one CSV row per run.\n"
           "  --sweep FILE     the sweep file\n"
           "  --csv PATH       where the rows go\n"
           "  --jobs N         run N scenarios at once (default: one per core)\n"
           "  --shard K/N      run only the K-th of N slices of the sweep, with their run numbers\n"
           "                   (not of a sweep whose seeds run until the medians are precise)\n"
           "  --resume         run only the runs missing from the CSV at PATH and add them\n"
           "                   (a row cut short runs again)\n"
           "  --progress S     a progress line every S seconds when standard error is no\n"
           "                   terminal (default 30)\n"
           "  --plan           check the sweep file and print its plan without running it\n"
           "  --merge SHARD.csv...  check the shards' CSVs against the plan and write their\n"
           "                   rows as one CSV to --csv PATH, in plan order\n"
           "  --sweep-report CSV  summarise a sweep's CSV: finish times across seeds per\n"
           "                   combination; --plot draws them; with --sweep FILE every row\n"
           "                   is checked against that plan\n"
           "  --deadline H:MM:SS  per combination the share of runs finished by then, with its\n"
           "                   95 % interval\n"
           "  --summary-csv PATH, --summary-json PATH  the summary as data, one row per combination\n"
           "  --plot-from-zero  the picture's time axis from 0:00, not from near the data\n"
           "  --run N          with --sweep FILE: run N of its plan alone, its scenario and seed,\n"
           "                   up to its max_steps; --summary prints its row of the sweep's CSV\n"
           "\n"
           "Rows go to the CSV as they finish, each whole. Ctrl+C (SIGINT), SIGTERM and\n"
           "SIGHUP stop a sweep: the runs under way are dropped, every finished row is\n"
           "kept, and the exit status is 130, 143 or 129; --resume runs the rest. A CSV\n"
           "row that does not fit the plan is refused with its file and line, status 2.\n"
           "\n"
           "  --help       print this text\n"
           "  --version    print the version and the commit zemba-run was built from\n";
}
