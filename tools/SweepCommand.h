#pragma once

#include "analysis/SweepReport.h"
#include "analysis/SweepRunner.h"
#include "tools/RunOptions.h"

#include <atomic>
#include <functional>
#include <optional>
#include <iosfwd>
#include <string>
#include <vector>

// How progress shows on err: on a terminal one line rewritten in place; else,
// when everySeconds is above 0, a line of its own that often, for a log.
struct TSweepProgressStyle
{
    bool terminal = false;
    double everySeconds = 0.0;
};

// zemba-run --sweep: reads the sweep file, checks every combination, and runs
// the options' shard of it into the CSV, each row written and flushed as it
// finishes in plan order; with --resume only the runs missing from the CSV
// there, whose rows stay as they are, added to its end (a row cut short runs
// again). A resume that completes a CSV whose rows a stop left out of order
// writes it anew in plan order. Returns the exit status: 0; 2 for a bad sweep
// file, a CSV that is an input, or a CSV to resume with a row that does not
// fit the plan (nothing is run or written then); 1 when the CSV could not be
// written; 130 when stop was set before the sweep was through, with every
// finished row written. Progress shows the runs done of those to do, runs per
// second and the time left on err. A CSV "-" goes to out.
int RunSweepCommand(const TRunOptions& options, std::ostream& out, std::ostream& err, const TSweepRunFunction& run,
                    const std::atomic<bool>& stop, TSweepProgressStyle progress);

// The sweep file's plan, or nothing after saying why it is refused.
std::optional<TSweepPlan> ReadSweepPlan(const std::string& sweepPath, std::ostream& err);

// An input that no output may be, whatever the name it is given by.
struct TSweepInput
{
    std::string what;
    std::string path;
};
// The scenario that the sweep file names; no path for the built-in move.
TSweepInput ScenarioOf(const TSweepPlan& plan);
// Whether two paths name one existing file, by device and inode: through any
// link or spelling. "-" and names of files still to be made name none.
bool NameOneFile(const std::string& a, const std::string& b);
// One line when output is one of inputs (the same file, by device and inode,
// through any link or spelling); empty when it is none of them.
std::string RefuseInputAsOutput(const char* option, const std::string& output, const std::vector<TSweepInput>& inputs);

// zemba-run --sweep SWEEP.json --merge SHARD.csv... --csv OUT.csv: checks
// every row of the shards against the plan and writes them as one CSV, whole,
// in plan order: the bytes of the sweep run on one machine. Returns 0; 2 when
// OUT is an input, or a row is refused (its file and line), a run is found
// twice, a shard ends in the middle of a row or runs are missing, nothing
// written then; 1 when OUT could not be written.
int RunSweepMerge(const TRunOptions& options, std::ostream& err);

// zemba-run --sweep --plan: checks the sweep file and prints its plan: the
// runs, the values and their combinations, the seeds. 0, or 2 with the refusal.
int RunSweepPlan(const TRunOptions& options, std::ostream& out, std::ostream& err);

// Draws a sweep's picture into a PNG file at path; false, with a one-line
// reason in error, when it could not.
using TSweepPlotWriter = std::function<bool(const TSweepTable& table, const std::vector<TSweepGroup>& groups,
                                            const TSweepPlotStyle& style, const std::string& path, std::string& error)>;

// zemba-run --sweep-report: prints the summary of a sweep's CSV, with the
// chance of finishing by --deadline, writes it as data (--summary-csv,
// --summary-json; person-hours only with the plan) and draws its picture when
// --plot asks for one; with --sweep, every row is checked against that plan,
// else what the rows alone can show. Returns 0; 1 when the picture or a
// summary could not be written; 2 when the CSV cannot be read, or a picture is asked for and there
// is no plotWriter.
int RunSweepReport(const TRunOptions& options, std::ostream& out, std::ostream& err,
                   const TSweepPlotWriter& plotWriter = {});
