#pragma once

#include "analysis/SweepReport.h"
#include "analysis/SweepRunner.h"
#include "tools/RunOptions.h"

#include <atomic>
#include <functional>
#include <map>
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
// the options' shard of it into the CSV; with --resume only the runs missing
// from the CSV there, whose rows stay as they are. Returns the exit status: 0;
// 2 for a bad sweep file or a CSV of another plan to resume (nothing is run or
// written then); 1 when the CSV could not be written; 130 when stop was set
// before the sweep was through, with every finished row written. Progress
// shows runs done, runs per second and the time left on err.
int RunSweepCommand(const TRunOptions& options, std::ostream& out, std::ostream& err, const TSweepRunFunction& run,
                    const std::atomic<bool>& stop, TSweepProgressStyle progress);

// zemba-run --sweep --plan: checks the sweep file and prints its plan: the
// runs, the values and their combinations, the seeds. 0, or 2 with the refusal.
int RunSweepPlan(const TRunOptions& options, std::ostream& out, std::ostream& err);

// Draws a sweep's picture into a PNG file at path; false, with a one-line
// reason in error, when it could not.
using TSweepPlotWriter = std::function<bool(const TSweepTable& table, const std::vector<TSweepGroup>& groups,
                                            const std::string& path, std::string& error)>;

// zemba-run --sweep-report: prints the summary of a sweep's CSV and draws its
// picture when --plot asks for one. Returns 0; 1 when the picture could not be
// written; 2 when the CSV cannot be read, or a picture is asked for and there
// is no plotWriter.
int RunSweepReport(const TRunOptions& options, std::ostream& out, std::ostream& err,
                   const TSweepPlotWriter& plotWriter = {});
