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
#include <optional>
#include <tuple>
#include <vector>

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

// A platform named on the command line or in QT_QPA_PLATFORM, or a Wayland
// session: Qt's to reach.
bool IsPlatformNamed(int argc, char** argv)
{
    if (IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    return false;
}

// Qt aborts when its default platform cannot reach a display, whether none is
// named or the one named does not answer; say what to do instead before it
// gets that far.
bool HasSomewhereToShow(int argc, char** argv)
{
    if (IsPlatformNamed(argc, argv))
        return true;
    const char* display = XDisplayName(argc, argv);
    if (!display || !*display)
        return false;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reached;
}

void SayNoDisplay()
{
    std::fputs("vuzuzidazerezeda: no display; run it on a desktop, or view it over VNC with "
               "QT_QPA_PLATFORM=vnc:size=800x600:port=5900 and a VNC viewer on port 5900, "
               "or run the move headless: zemba-run --report\n",
               stderr);
}

// What Qt says while it starts is held back: a display can go between the
// check above and Qt's own connection, and Qt then aborts. A start that fails
// ends with the one line and status 1 instead (after Qt's words when a
// platform was named, which they are about); one that succeeds passes its
// messages on.
class TQtStartWatch
{
public:
    explicit TQtStartWatch(bool platformNamed)
    {
        named = platformNamed;
        previous = qInstallMessageHandler(&Hold);
    }
    ~TQtStartWatch()
    {
        qInstallMessageHandler(previous);
        for (const auto& [type, context, text] : held)
            previous(type, QMessageLogContext(context.file, context.line, context.function, context.category), text);
    }
    TQtStartWatch(const TQtStartWatch&) = delete;
    TQtStartWatch& operator=(const TQtStartWatch&) = delete;

private:
    struct TContext
    {
        const char* file;
        int line;
        const char* function;
        const char* category;
    };

    static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type != QtFatalMsg) {
            held.push_back({type, {context.file, context.line, context.function, context.category}, text});
            return;
        }
        if (named) {
            for (const auto& message : held)
                std::fprintf(stderr, "%s\n", qPrintable(std::get<2>(message)));
            std::fprintf(stderr, "%s\n", qPrintable(text));
        }
        SayNoDisplay();
        // Qt would abort once this returns; nothing of the half-started application is left to tidy.
        std::_Exit(1);
    }

    static inline QtMessageHandler previous = nullptr;
    static inline bool named = false;
    static inline std::vector<std::tuple<QtMsgType, TContext, QString>> held;
};

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
        SayNoDisplay();
        return 1;
    }
    std::optional<TQtStartWatch> watch(std::in_place, IsPlatformNamed(argc, argv));
    QApplication application(argc, argv);
    watch.reset();
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
