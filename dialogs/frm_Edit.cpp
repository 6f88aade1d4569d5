#include "dialogs/frm_Edit.h"

#include "strings/clsStringsForVCLControls.h"
#include "ui_frm_Edit.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

// Apply's own glyph: a tick over a short bar, 18 x 18 like the standard glyphs
// of OK and Cancel beside it. QIcon derives the disabled picture itself.
QIcon ApplyGlyph()
{
    QPixmap glyph(18, 18);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 120, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(15, 3)}));
    painter.setPen(QPen(QColor(0, 0, 128), 2.0));
    painter.drawLine(QPointF(3, 15.5), QPointF(15, 15.5));
    painter.end();
    return QIcon(glyph);
}

} // namespace

TfrmEdit::TfrmEdit(QWidget* owner, const TClientLayout& layoutClient)
    : QDialog(owner), ui(std::make_unique<Ui::TfrmEdit>())
{
    ui->setupUi(this);
    ui->btnOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    ui->btnCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    ui->btnApply->setIcon(ApplyGlyph());

    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (layoutClient)
        layoutClient(*this, *ui->pnlClient);
    LocalizeComponent(this);
}

TfrmEdit::~TfrmEdit() = default;
