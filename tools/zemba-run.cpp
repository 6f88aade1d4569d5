#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"

#ifdef ZEMBA_RUN_PLOT
#include "analysis/MovePlot.h"
#endif

#include <iostream>
#include <string>
#include <vector>

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
#ifdef ZEMBA_RUN_PLOT
    return RunHeadless(parse.options, std::cout, std::cerr, WriteMovePlot);
#else
    return RunHeadless(parse.options, std::cout, std::cerr);
#endif
}
