#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"
#include "tools/SweepCommand.h"
#include "analysis/SweepMove.h"
#include "analysis/Version.h"

#ifdef ZEMBA_RUN_PLOT
#include "analysis/MovePlot.h"
#include "analysis/SweepPlot.h"
#endif

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Set by Ctrl+C during a sweep: no run starts after it, and the finished rows are kept.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

// What the options ask for, run; its exit status.
int Run(const TRunOptions& options)
{
    switch (options.mode) {
    case ERunMode::Plan:
        return RunSweepPlan(options, std::cout, std::cerr);
    case ERunMode::Sweep: {
        std::signal(SIGINT, [](int) { interrupted = true; });
        const bool terminal = isatty(STDERR_FILENO);
        return RunSweepCommand(options, std::cout, std::cerr, RunSweepMove, interrupted,
                               TSweepProgressStyle{terminal, terminal ? 0.0 : static_cast<double>(options.progressSeconds)});
    }
    case ERunMode::SweepReport:
#ifdef ZEMBA_RUN_PLOT
        return RunSweepReport(options, std::cout, std::cerr, WriteSweepPlot);
#else
        return RunSweepReport(options, std::cout, std::cerr);
#endif
    case ERunMode::Run:
    case ERunMode::WriteScenario:
        break;
    }
#ifdef ZEMBA_RUN_PLOT
    return RunHeadless(options, std::cout, std::cerr, WriteMovePlot);
#else
    return RunHeadless(options, std::cout, std::cerr);
#endif
}

// Whatever went to standard output must have got there: a full disk behind
// a redirection is a failure, never a silent success.
int CheckedStandardOutput(int status)
{
    errno = 0;
    if (std::cout.flush())
        return status;
    std::cerr << "zemba-run: cannot write to standard output: " << std::strerror(errno != 0 ? errno : EIO) << '\n';
    return status == 0 ? 1 : status;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const TRunOptionsParse parse = ParseRunOptions(args);
    // A refusal is one line and a pointer to the help, not the whole help.
    const auto refuse = [](const std::string& line) {
        std::cerr << "zemba-run: " << line << "\nzemba-run --help lists every option\n";
        return 2;
    };
    if (!parse.error.empty())
        return refuse(parse.error);
    const TRunOptions& options = parse.options;
    if (options.help) {
        std::cout << RunUsage();
        return CheckedStandardOutput(0);
    }
    if (options.version) {
        std::cout << "zemba-run " << ZembaVersion << ", built from commit " << ZembaCommit << '\n';
        return CheckedStandardOutput(0);
    }
    if (const std::string problem = CheckOutputPaths(options); !problem.empty())
        return refuse(problem);
    std::ios::sync_with_stdio(false);
    return CheckedStandardOutput(Run(options));
}
