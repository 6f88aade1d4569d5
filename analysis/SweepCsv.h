#pragma once

#include "analysis/SweepPlan.h"
#include "model/clsMoveOutcome.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A sweep's CSV: one row per run, numbers with "." whatever the locale and
// nothing quoted. Its columns and outcome words are defined here once, for the
// writer and for every reader (a resume, a merge, the report, the window).

// After run and the varied columns (one per pointer of the plan).
inline constexpr std::array<const char*, 9> SweepRunColumns{
    "seed", "finished", "outcome", "steps", "time", "delivered", "per_minute", "bound_share", "breaks"};
// The last columns: what made the row, the same in every row of a plan, so
// that a merge, a resume or a report can tell plans apart from the rows alone,
// and any CSV reader reads them as plain columns.
inline constexpr std::array<const char*, 5> SweepPlanColumns{"max_steps", "plan_runs", "sweep_sha256", "version",
                                                             "commit"};

// The outcome column: "finished", "stalled", or "limit" for a run still under
// way at the plan's max_steps.
const char* SweepOutcomeWord(TMoveOutcome outcome);
std::optional<TMoveOutcome> SweepOutcomeOf(std::string_view word);

// The figures of one run, as its row gives them.
struct TSweepOutcome
{
    TMoveOutcome end = TMoveOutcome::Running;
    // The step of the last hand-over (for a finished run its last delivery),
    // or the run's limit.
    std::int64_t steps = 0;
    std::int32_t delivered = 0;
    // Loads per simulated minute up to steps.
    double perMinute = 0.0;
    // perMinute over the throughput bound of the scenario's persons and trail.
    double boundShare = 0.0;
    // Breaks begun, all persons together.
    std::int64_t breaks = 0;
};

std::string SweepCsvHeader(const TSweepPlan& plan);
// One whole line, newline included, with a fixed number of decimals, so
// that equal runs give equal bytes.
std::string SweepCsvRow(const TSweepPlan& plan, std::size_t run, const TSweepOutcome& outcome);

// The fields of one line of a sweep's CSV, which quotes nothing.
std::vector<std::string> SplitCsvLine(const std::string& line);

// A CSV that is not a sweep's, or not the plan's it is read for; the message
// is one line naming the file and the line, the kind says what is wrong in a
// way that the window can word in its own language.
class TSweepCsvError : public std::runtime_error
{
public:
    enum class TKind : std::uint8_t {
        NotSweepCsv, // no header, or not a sweep's columns
        DamagedRow,  // a row of the wrong width, with unreadable or impossible figures
        RunTwice,    // one run in two rows
        OtherPlan,   // rows of another plan or shard, or of more than one plan
    };

    TSweepCsvError(TKind kind, const std::string& fileName, std::size_t line, const std::string& what);

    TKind GetKind() const { return kind; }
    std::size_t GetLine() const { return line; }

private:
    TKind kind;
    std::size_t line;
};

// Whether rows written by another version or build of the program belong to
// a plan: not in a CSV to resume, which would mix two programs' runs; yes in
// one merged or read back to be shown, as long as all its rows agree.
enum class TSweepRowsOf : std::uint8_t { ThisProgram, AnyProgram };

// A row as the readers need it.
struct TSweepRow
{
    std::size_t run = 0;
    std::vector<std::string> values;
    // As written: the combinations of a plan run the same seeds, compared seed by seed.
    std::string seed;
    TMoveOutcome end = TMoveOutcome::Running;
    std::int64_t steps = 0;
    // The line as read, newline included.
    std::string text;
};

// Checks the rows of one or more CSVs of a sweep, each row when it is read:
// - alone: whole numbers where they belong, an outcome that agrees with
//   finished, steps within max_steps (at it for a limit, above 0 for a
//   finished run), the time of those steps;
// - against the plan, when there is one: the plan's header, the run's
//   values and seed, the plan's own columns (and this program's);
// - against each other: one plan's columns in every row, each run once.
// Every refusal is a TSweepCsvError naming the file and the line.
class TSweepRowChecker
{
public:
    explicit TSweepRowChecker(const TSweepPlan* plan = nullptr, TSweepRowsOf program = TSweepRowsOf::AnyProgram);

    // The first line of a file; without a plan, the columns are found by
    // their names, so that CSVs of older versions (no outcome, no plan
    // columns) can still be read.
    void Header(const std::string& line, const std::string& fileName);
    TSweepRow Row(const std::string& line, const std::string& fileName, std::size_t number);
    // The columns between run and seed, one per varied pointer.
    std::vector<std::string> GetVariedColumns() const;
    // The plan's number of runs as the rows give it; 0 before a row with plan_runs.
    std::size_t GetPlanRuns() const { return planRuns; }

private:
    std::optional<std::size_t> Column(const char* name) const;
    // What is wrong with a row, or empty when nothing is.
    std::string CheckFigures(const std::vector<std::string>& fields, TSweepRow& row) const;
    std::string CheckPlanColumns(const std::vector<std::string>& fields, const std::string& place);

    const TSweepPlan* plan;
    TSweepRowsOf program;
    std::vector<std::string> header;
    std::size_t seed = 0;
    // Places are "line N" in the first file read, "FILE line N" in the others.
    std::string firstFile;
    // The plan's columns of the first row and where it stood.
    std::vector<std::string> firstPlan;
    std::string firstPlace;
    std::size_t planRuns = 0;
    std::map<std::size_t, std::string> placeOfRun;
};

// A sweep's CSV read through a checker: the whole rows in the file's order.
struct TSweepCsvRows
{
    // False for an empty file or a header cut short: nothing to keep.
    bool hasHeader = false;
    std::vector<TSweepRow> rows;
    // A last line without its newline, cut short or not, unchecked.
    std::string lastLineCut;
    // Where that line begins: the bytes before it are whole lines.
    std::size_t wholeBytes = 0;
};
TSweepCsvRows ReadSweepRows(std::istream& csv, const std::string& fileName, TSweepRowChecker& checker);

// The rows of a CSV left by an earlier sweep of the plan's shard of runs
// (plan indexes, ascending), to resume it or to show it; a last row without
// its newline is left out, to be run again. Throws TSweepCsvError for a row
// that is damaged, another plan's or another shard's.
TSweepCsvRows ReadFinishedRows(const TSweepPlan& plan, const std::vector<std::size_t>& runs, std::istream& csv,
                               const std::string& fileName, TSweepRowsOf program = TSweepRowsOf::ThisProgram);
