#include "app/frm_Main.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    try {
        TfrmMain frmMain;
        frmMain.show();
        application.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Vuzuzidazerezeda"), QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
