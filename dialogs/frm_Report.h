#pragma once

#include "analysis/MoveReport.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmReport;
}
class QChart;

// The report of a move, as zemba-run --report gives it, drawn as text, a
// table of the persons and a chart of their shares of the steps. Not modal:
// the move goes on, or stays held, behind it.
class TfrmReport : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmReport(QWidget* owner);
    ~TfrmReport() override;

    void SetReport(const TMoveReport& report);
    // The text above the table, for tests.
    QString GetMoveText() const;

private:
    void ShowMove(const TMoveReport& report);
    void ShowPersons(const TMoveReport& report);
    void ShowShares(const TMoveReport& report);

    std::unique_ptr<Ui::TfrmReport> ui;
    QChart* chart = nullptr;
};
