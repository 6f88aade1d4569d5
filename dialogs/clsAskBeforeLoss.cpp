#include "dialogs/clsAskBeforeLoss.h"

#include "strings/clsStringTable.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr std::int32_t TextCancel = 2001;
constexpr std::int32_t TextSave = 2652;
constexpr std::int32_t TextDiscard = 2653;

} // namespace

TLossAnswer AskBeforeLoss(QWidget* owner, const QString& title, const QString& question, bool canSave)
{
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::NoButton, owner);
    QPushButton* save = canSave ? box.addButton(GetStringById(TextSave), QMessageBox::AcceptRole) : nullptr;
    QPushButton* discard = box.addButton(GetStringById(TextDiscard), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(GetStringById(TextCancel), QMessageBox::RejectRole);
    box.setDefaultButton(save ? save : cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == discard)
        return TLossAnswer::Discard;
    return save && box.clickedButton() == save ? TLossAnswer::Save : TLossAnswer::Keep;
}
