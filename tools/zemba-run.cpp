#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"
#include "tools/SweepCommand.h"
#include "tools/SweepMove.h"

#ifdef ZEMBA_RUN_PLOT
#include "analysis/MovePlot.h"
#include "analysis/SweepPlot.h"
#endif

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Set by Ctrl+C during a sweep: no run starts after it, and the finished rows are kept.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const TRunOptionsParse parse = ParseRunOptions(args);
    if (!parse.error.empty()) {
        std::cerr << "zemba-run: " << parse.error << '\n' << RunUsage();
        return 2;
    }
    if (parse.options.help) {
        std::cout << RunUsage();
        return 0;
    }
    std::ios::sync_with_stdio(false);
    if (!parse.options.sweepPath.empty()) {
        std::signal(SIGINT, [](int) { interrupted = true; });
        return RunSweepCommand(parse.options, std::cout, std::cerr, RunSweepMove, interrupted, isatty(STDERR_FILENO));
    }
#ifdef ZEMBA_RUN_PLOT
    if (!parse.options.sweepReportPath.empty())
        return RunSweepReport(parse.options, std::cout, std::cerr, WriteSweepPlot);
#else
    if (!parse.options.sweepReportPath.empty())
        return RunSweepReport(parse.options, std::cout, std::cerr);
#endif
#ifdef ZEMBA_RUN_PLOT
    return RunHeadless(parse.options, std::cout, std::cerr, WriteMovePlot);
#else
    return RunHeadless(parse.options, std::cout, std::cerr);
#endif
}
