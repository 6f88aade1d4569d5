#pragma once

#include "analysis/SweepReport.h"
#include "tools/SweepRunner.h"
#include "tools/RunOptions.h"

#include <atomic>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// zemba-run --sweep: reads the sweep file, checks every combination, and runs
// the options' shard of it into the CSV. Returns the exit status: 0; 2 for a
// bad sweep file (nothing is run or written then); 1 when the CSV could not be
// written; 130 when stop was set before the sweep was through, with every
// finished row written. progress shows runs done, runs per second and the
// time left on err.
int RunSweepCommand(const TRunOptions& options, std::ostream& out, std::ostream& err, const TSweepRunFunction& run,
                    const std::atomic<bool>& stop, bool progress);

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
