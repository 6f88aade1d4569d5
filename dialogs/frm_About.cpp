#include "dialogs/frm_About.h"

#include "ui_frm_About.h"

#include <QScreen>

TfrmAbout::TfrmAbout(QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmAbout>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
