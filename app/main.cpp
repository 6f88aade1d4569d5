#include "app/frm_Main.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
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
