#include "analysis/PlotApplication.h"

#include <cstdio>

namespace {

// Setting the platform up chatters about the environment (a missing runtime
// directory and the like), which is no concern of a picture written to a file.
void QuietSetUp(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "zemba-run: %s\n", qPrintable(message));
}

} // namespace

std::unique_ptr<QGuiApplication> StartPlotApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    static char name[] = "zemba-run";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    static int argc = 3;
    const QtMessageHandler previous = qInstallMessageHandler(QuietSetUp);
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    qInstallMessageHandler(previous);
    return app;
}
