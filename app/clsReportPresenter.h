#pragma once

#include "scenario/clsScenarioDescription.h"

#include <QObject>

#include <cstdint>

class QWidget;
class TfrmReport;

// Shows the report of a move up to a step in a non-modal dialog. The report
// is worked out from a fresh run of the scenario on a worker thread, so the
// window never waits for it; a newer request wins over one still at work.
class TReportPresenter : public QObject
{
    Q_OBJECT

public:
    explicit TReportPresenter(QWidget* owner);
    ~TReportPresenter() override;

    void Show(const TScenarioDescription& description, std::int64_t steps);
    // The dialog once a report has been shown, else null.
    TfrmReport* GetDialog() const { return dialog; }

signals:
    void Shown();

private:
    QWidget* owner;
    TfrmReport* dialog = nullptr;
    std::uint64_t requests = 0;
};
