#include "dialogs/clsSaveDialog.h"

#include <QFileDialog>
#include <QRegularExpression>

QString FilterSuffix(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([^\\s;)]+)"));
    return pattern.match(filter).captured(1);
}

void TakeChosenSuffix(QFileDialog& dialog)
{
    dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) { dialog.setDefaultSuffix(FilterSuffix(filter)); });
}

QString AskSaveFileName(QWidget* owner, const QString& title, const QString& folder, const QString& filters)
{
    QFileDialog dialog(owner, title, folder, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    TakeChosenSuffix(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}
