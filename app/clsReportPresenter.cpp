#include "app/clsReportPresenter.h"

#include "analysis/MoveRerun.h"
#include "dialogs/clsPlacement.h"
#include "dialogs/frm_Report.h"

#include <QFutureWatcher>

TReportPresenter::TReportPresenter(QWidget* theOwner, TJobPool& theWork)
    : QObject(theOwner), owner(theOwner), work(theWork)
{
}

void TReportPresenter::Show(const TScenarioDescription& description, std::int64_t steps)
{
    if (running)
        *running = true;
    auto job = work.Run([description, steps](const std::atomic<bool>& cancel) {
        return ReportMoveUpTo(description, steps, cancel);
    });
    running = job.cancel;
    auto* watcher = new QFutureWatcher<TMoveReport>(this);
    connect(watcher, &QFutureWatcher<TMoveReport>::finished, this, [this, watcher, cancel = job.cancel] {
        watcher->deleteLater();
        if (*cancel)
            return;
        running.reset();
        Show(watcher->result());
    });
    watcher->setFuture(job.future);
}

void TReportPresenter::Show(const TMoveReport& report)
{
    if (running)
        *running = true;
    running.reset();
    if (!dialog) {
        dialog = new TfrmReport(owner);
        KeepPlaced(*dialog, *owner, QStringLiteral("report"));
    }
    dialog->SetReport(report);
    dialog->show();
    dialog->raise();
    emit Shown();
}
