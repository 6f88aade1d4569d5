#include "app/clsReportPresenter.h"

#include "analysis/MoveRerun.h"
#include "dialogs/frm_Report.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

TReportPresenter::TReportPresenter(QWidget* theOwner)
    : QObject(theOwner), owner(theOwner)
{
}

TReportPresenter::~TReportPresenter()
{
    // A report still being worked out ends before its watcher goes.
    for (QFutureWatcherBase* work : findChildren<QFutureWatcherBase*>(Qt::FindDirectChildrenOnly))
        work->waitForFinished();
}

void TReportPresenter::Show(const TScenarioDescription& description, std::int64_t steps)
{
    const std::uint64_t request = ++requests;
    auto* watcher = new QFutureWatcher<TMoveReport>(this);
    connect(watcher, &QFutureWatcher<TMoveReport>::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        if (request != requests)
            return;
        if (!dialog)
            dialog = new TfrmReport(owner);
        dialog->SetReport(watcher->result());
        dialog->show();
        dialog->raise();
        emit Shown();
    });
    watcher->setFuture(QtConcurrent::run([description, steps] { return ReportMoveUpTo(description, steps); }));
}
