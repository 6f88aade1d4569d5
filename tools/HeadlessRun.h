#pragma once

#include "tools/RunOptions.h"

#include <iosfwd>

// Runs the scenario as the options say, without a thread or a clock, and
// returns the exit status: 0, or 1 when a check failed or the trace could not
// be written.
int RunHeadless(const TRunOptions& options, std::ostream& out, std::ostream& err);
