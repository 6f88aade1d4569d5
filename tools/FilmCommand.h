#pragma once

#include "tools/RunOptions.h"

#include <iosfwd>

// zemba-run --film: renders the stretch of the move the options ask for and
// returns the exit status: 0 when the film is written; 2 when the scenario,
// the settings or the stretch cannot make one (a stretch that begins after
// the move's end), before a frame is rendered; 1 when it could not be
// encoded or written. Needs Qt's painting, so it is part of zemba-run only
// where zemba-run draws.
int RunFilmCommand(const TRunOptions& options, std::ostream& err);
