#pragma once

#include "analysis/MoveReport.h"
#include "dialogs/clsJobPool.h"
#include "scenario/clsScenarioDescription.h"

#include <QObject>

#include <cstdint>

class QWidget;
class TfrmReport;

// Shows the report of a move in a non-modal dialog: one already worked out,
// or the one up to a step, from a fresh run of the scenario on the owner's
// pool, so that the window never waits for it. A newer report gives up one
// still at work.
class TReportPresenter : public QObject
{
    Q_OBJECT

public:
    TReportPresenter(QWidget* owner, TJobPool& work);

    void Show(const TScenarioDescription& description, std::int64_t steps);
    void Show(const TMoveReport& report);
    // The dialog once a report has been shown, else null.
    TfrmReport* GetDialog() const { return dialog; }

signals:
    void Shown();

private:
    QWidget* owner;
    TJobPool& work;
    TfrmReport* dialog = nullptr;
    // The run of the report asked for last, while it runs.
    TJobPool::TFlag running;
};
