#include "tools/RunOptions.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

TRunOptionsParse Parse(const std::string& args)
{
    std::istringstream words(args);
    return ParseRunOptions({std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()});
}

} // namespace

// Each row is refused with one line that starts by naming the problem; the
// program adds one hint line (zemba-run-checks.sh).
TEST(RunOptions, RefusesWhatItCannotUseWithOneLine)
{
    const std::pair<std::string, std::string> rows[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"--summary steps 10", "unexpected word 'steps'"},
        {"--steps", "--steps needs a value"},
        {"--trace --summary", "--trace needs a value"},
        {"--trace=--summary", "--trace needs a value, not the option '--summary'"},
        {"--sweep s.json", "--sweep needs --csv PATH|-"},
        {"--sweep s.json --csv - --jobs 0", "--jobs needs a whole number from 1 to 4096, not '0'"},
        {"--plot w.png --plot-steps 9:3", "--plot-steps needs A:B with A up to B"},
        {"--plot-steps 0:5", "--plot-steps needs --plot PATH.png"},
        {"--steps 9223372036854775808", "--steps needs a whole number"},
        {"--persons 1000001", "--persons needs a whole number"},
        {"--stock 2147483648", "--stock needs a whole number"},
        {"--plot x.jpg", "--plot needs a name ending in .png or .svg"},
        {"--trace - --plot -", "only one of --trace, --csv, --write-scenario, --plot, --summary-csv and --summary-json can go"},
        {"--sweep-report r.csv --summary-csv - --summary-json -", "only one of --trace"},
        {"--sweep-report r.csv --deadline 2:60:00", "--deadline needs a simulated time H:MM:SS, not '2:60:00'"},
        {"--sweep-report r.csv --plot-from-zero", "--plot-from-zero needs --plot"},
        {"--sweep s.json --run 3 --seed 4", "--run takes the scenario, the seed and max_steps of the sweep's row"},
        {"--sweep s.json --run x", "--run needs a run number of the sweep from 0, not 'x'"},
        {"--deadline 2:30:00", "--deadline cannot be used with a single run"},
        {"--sweep s.json --merge a.csv", "--merge needs --csv PATH|-"},
        {"--sweep s.json --merge a.csv --shard 1/2 --csv m.csv", "--shard cannot be used with --merge"},
        {"--persons 3 --scenario m.json", "--persons scales the built-in move"},
        {"--sweep s.json --csv - --resume", "--resume needs the CSV as a file"},
        // Each option in its mode only.
        {"--csv x.csv --steps 10", "--csv cannot be used with a single run: it is for a sweep (--sweep)"},
        {"--jobs 2", "--jobs cannot be used with a single run"},
        {"--sweep s.json --csv b.csv --seed 5", "--seed cannot be used with a sweep (--sweep)"},
        {"--sweep s.json --csv b.csv --trace t.csv", "--trace cannot be used with a sweep (--sweep)"},
        {"--sweep s.json --plan --csv b.csv", "--csv cannot be used with --plan, which runs nothing"},
        {"--sweep-report r.csv --steps 3", "--steps cannot be used with --sweep-report"},
        {"--write-scenario w.json --plot p.png", "--plot cannot be used with --write-scenario"},
        {"--plan", "--plan cannot be used with a single run"},
        // A film goes to a file of a kind it knows, over a stretch that makes sense.
        {"--film -", "--film cannot go to standard output"},
        {"--film move.avi", "--film needs a name ending in .mp4, .webm or .gif, not 'move.avi'"},
        {"--film move", "--film needs a name ending in .mp4, .webm or .gif"},
        {"--film m.mp4 --film-steps 900:100", "--film-steps needs A:B with A up to B"},
        {"--film m.mp4 --film-steps 100", "--film-steps needs A:B with A up to B"},
        {"--film m.mp4 --film-size 641x360", "--film-size: an MP4 or WebM film needs even sides"},
        {"--film m.gif --film-size 10x360", "--film-size needs WxH with each side from 16 to 4096"},
        {"--film m.gif --film-size 640", "--film-size needs WxH"},
        {"--film m.gif --film-fps 0", "--film-fps needs a whole number from 1 to 120"},
        {"--film m.gif --film-fps 60", "--film-fps: a GIF runs at most 50 frames a second, not 60"},
        {"--film m.gif --film-every 0", "--film-every needs a whole number"},
        {"--film-steps 0:10", "--film-steps cannot be used with a single run: it is for a film (--film)"},
        {"--film m.gif --trace t.csv", "--trace cannot be used with a film (--film)"},
    };
    for (const auto& [args, message] : rows) {
        const std::string error = Parse(args).error;
        EXPECT_EQ(error.rfind(message, 0), 0u) << args << " gave: " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << args;
    }
    for (const std::vector<std::string>& empty : {std::vector<std::string>{"--trace", ""}, {"--plot", ""}, {"--stock", ""}})
        EXPECT_NE(ParseRunOptions(empty).error, "") << empty[0] << " with an empty value";
}

TEST(RunOptions, TakesValuesAfterASpaceOrAnEqualsSignAndFindsTheMode)
{
    const struct { const char* args; ERunMode mode; } rows[] = {
        {"--steps=10 --trace=- --every 5", ERunMode::Run},
        {"--persons=3 --write-scenario -", ERunMode::WriteScenario},
        {"--sweep=s.json --csv=- --shard=2/3 --jobs=2 --progress=5", ERunMode::Sweep},
        {"--sweep s.json --plan --shard 2/3", ERunMode::Plan},
        {"--sweep-report r.csv --plot=r.svg", ERunMode::SweepReport},
        {"--sweep-report r.csv --sweep s.json", ERunMode::SweepReport},
        {"--sweep s.json --merge a.csv b.csv --csv m.csv", ERunMode::Merge},
        {"--persons 3 --film=m.GIF --film-steps 5:9 --film-fps 50 --film-every 3 --film-size 33x21 --film-caption",
         ERunMode::Film},
    };
    for (const auto& row : rows) {
        const TRunOptionsParse parse = Parse(row.args);
        EXPECT_EQ(parse.error, "") << row.args;
        EXPECT_EQ(parse.options.mode, row.mode) << row.args;
    }
    const TRunOptions o = Parse("--steps=10 --trace=- --every 5").options;
    EXPECT_EQ(std::make_tuple(*o.steps, o.tracePath, o.every, o.StdoutTaken()), std::make_tuple(10, "-", 5, true));
    EXPECT_EQ(Parse("--sweep s.json --merge a.csv b.csv --csv m.csv").options.mergePaths,
              (std::vector<std::string>{"a.csv", "b.csv"}));
    const TFilmSettings film = FilmSettingsOf(
        Parse("--persons 3 --film=m.GIF --film-steps 5:9 --film-fps 50 --film-every 3 --film-size 33x21 --film-caption").options);
    EXPECT_EQ(std::make_tuple(film.format, film.width, film.height, film.framesPerSecond, film.every, film.caption),
              std::make_tuple(TFilmFormat::Gif, 33, 21, 50, 3, true));
}

TEST(RunOptions, AnOutputIsRefusedBeforeTheRunWhereItCannotBeWritten)
{
    const std::pair<std::string, std::string> rows[] = {
        {"--plot /nonexistent-folder/p.png", "--plot cannot write '/nonexistent-folder/p.png': there is no folder"},
        {"--trace /", "--trace names a folder, not a file: '/'"},
        {"--film /nonexistent-folder/f.mp4", "--film cannot write '/nonexistent-folder/f.mp4': there is no folder"},
        {"--sweep-report r.csv --plot r.csv.png", ""},
        {"--scenario zemba-options-test.json --trace zemba-options-test.json", "--trace would overwrite the file of --scenario"},
    };
    for (const auto& [args, message] : rows)
        EXPECT_EQ(CheckOutputPaths(Parse(args).options).rfind(message, 0), 0u) << args;
}
