#include "app/frm_Main.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Qt aborts when its default platform finds no display; say what to do instead
// before it gets that far. A platform named on the command line is left to Qt.
bool HasSomewhereToShow(int argc, char** argv)
{
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (!HasSomewhereToShow(argc, argv)) {
        std::fputs("vuzuzidazerezeda: no display; run it on a desktop, or view it over VNC with "
                   "QT_QPA_PLATFORM=vnc:size=800x600:port=5900 and a VNC viewer on port 5900, "
                   "or run the move headless: zemba-run --report\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    // Where QSettings keeps the window's layout between runs.
    QApplication::setOrganizationName(QStringLiteral("Vuzuzidazerezeda"));
    QApplication::setApplicationName(QStringLiteral("Vuzuzidazerezeda"));
    // Qt has taken its own options; what is left is at most a scenario file.
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(QLatin1Char('-')))) {
        std::fputs("usage: vuzuzidazerezeda [SCENARIO.json]\n", stderr);
        return 2;
    }
    try {
        TfrmMain frmMain;
        if (!args.isEmpty())
            frmMain.SetScenarioFile(args[0]);
        frmMain.show();
        application.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Vuzuzidazerezeda"), QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
