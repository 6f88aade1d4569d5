#include "app/frm_Main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include <xcb/xcb.h>

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

// The X display Qt's default platform will connect to: the one named by
// -display, else DISPLAY's.
const char* XDisplayName(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-display") == 0)
            return argv[i + 1];
    return std::getenv("DISPLAY");
}

// Qt aborts when its default platform cannot reach a display, whether none is
// named or the one named does not answer; say what to do instead before it
// gets that far. A platform named on the command line or in QT_QPA_PLATFORM,
// or a Wayland session, is left to Qt.
bool HasSomewhereToShow(int argc, char** argv)
{
    if (IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    const char* display = XDisplayName(argc, argv);
    if (!display || !*display)
        return false;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reached;
}

// Qt's own German texts, for the file dialog and the standard buttons.
void LoadQtTranslations(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
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
    LoadQtTranslations(application);
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
