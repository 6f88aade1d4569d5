#include "app/frm_Main.h"

#include "ui_frm_Main.h"

#include "scenario/clsScenario.h"
#include "scenario/clsScenarioFile.h"
#include "dialogs/frm_About.h"
#include "dialogs/frm_Persons.h"
#include "runtime/clsBCThread.h"
#include "strings/clsStringsForVCLControls.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QShowEvent>

#include <exception>

TfrmMain::TfrmMain(QWidget* owner)
    : QMainWindow(owner)
    , ui(std::make_unique<Ui::frmMain>())
{
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/zemba/ProgramIcon.png")));
    connect(ui->acEditPersons, &QAction::triggered, this, &TfrmMain::acEditPersonsExecute);
    connect(ui->acInfoAbout, &QAction::triggered, this, &TfrmMain::acInfoAboutExecute);
    LocalizeComponent(this);
}

TfrmMain::~TfrmMain()
{
    StopSimulation();
}

void TfrmMain::SetScenarioFile(const QString& path)
{
    scenarioFile = path;
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Only the first show builds the scenario; a restore from minimised does not.
    if (!event->spontaneous() && !scenario)
        FormShow();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    StopSimulation();
    QMainWindow::closeEvent(event);
}

void TfrmMain::FormShow()
{
    try {
        CreateScenario();
        StartSimulation();
    } catch (const std::exception& e) {
        // The window stays, without a simulation; the message waits until it is visible.
        const QString text = QString::fromLocal8Bit(e.what());
        QMetaObject::invokeMethod(this, [this, text] { QMessageBox::critical(this, windowTitle(), text); },
                                  Qt::QueuedConnection);
    }
}

void TfrmMain::CreateScenario()
{
    if (scenarioFile.isEmpty()) {
        scenario = std::make_unique<TScenario>(objects);
    } else {
        scenario = std::make_unique<TScenario>(objects, ReadScenarioFile(QFile::encodeName(scenarioFile).toStdString()));
        setWindowTitle(windowTitle() + QStringLiteral(" – ") + QFileInfo(scenarioFile).fileName());
    }
    chain = scenario->GetChain();
    ui->fu->SetTrail(scenario->GetTrail());
    ui->fu->SetChain(chain);
    ui->fu->SetPublisher(&publisher);
}

void TfrmMain::StartSimulation()
{
    thread = std::make_unique<TBCThread>(true, chain, &publisher);
    thread->Resume();
}

void TfrmMain::StopSimulation()
{
    if (thread)
        thread->StopAndWait();
}

void TfrmMain::acEditPersonsExecute()
{
    TfrmPersons persons(this);
    persons.SetManager(&objects);
    persons.SetPublisher(&publisher);
    persons.exec();
}

void TfrmMain::acInfoAboutExecute()
{
    TfrmAbout about(this);
    about.exec();
}
