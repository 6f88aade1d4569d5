#pragma once

#include "dialogs/frm_Edit.h"
#include "model/clsChainState.h"
#include "scenario/clsScenario.h"

#include <QRect>

#include <utility>
#include <vector>

class QHeaderView;
class QListWidget;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;
class QTimer;
class TChainPublisher;
class TZOManager;
struct TPersonRow;

// The live table of the simulation's persons: one row per person, eight
// columns under a header, redrawn twice a second from the newest state the
// simulation has published while it keeps stepping. Read-only. The rows are
// fixed when the registry is handed over; a row only keeps its person's id and
// looks the person up again in the newest state for every drawing, so a person
// that is gone shows as deleted. It lists the persons a published state holds
// in full (TChainPublisher::KeptPersons), and a last row says how many more
// there are. A person of the move not on the trail at the step shown is
// listed as still to come, at the step it joins, or as gone.
class TfrmPersons : public TfrmEdit
{
    Q_OBJECT

public:
    explicit TfrmPersons(QWidget* owner);
    ~TfrmPersons() override;

    // Stores the registry (not owned) and builds the rows from its persons.
    // A registry handed over anew (a move put in place of another) keeps the current row's person current.
    void SetManager(const TZOManager* newManager);
    // Where the persons' state comes from (not owned); without one every row shows as deleted.
    void SetPublisher(TChainPublisher* newPublisher);
    // The persons who join the move later and when (from the move's scenario).
    void SetArrivals(std::vector<TScenario::TArrival> newArrivals) { arrivals = std::move(newArrivals); }
    // Makes the row of the person with the id the current one, if it has a row.
    void SelectPerson(std::int32_t id);

    // The part of a row that belongs to the header section of the column, in
    // the list's viewport coordinates: the row's top and bottom, the
    // section's left edge and width.
    QRect CellRect(const QRect& row, int column) const;

private:
    class TRowDelegate;
    struct TClient;

    TfrmPersons(QWidget* owner, TClient&& client);

    static void LayoutClient(QDialog& form, QWidget& pnlClient, TClient& client);
    // Widens the columns whose headers the window's font does not fit, and the dialog to show them all.
    void FitHeaders();

    void FillList();
    // The row of the person with the id and name in the state shown.
    TPersonRow RowOf(std::int32_t id, const QString& name) const;
    void lbPersonsDrawItem(QPainter& painter, int index, const QRect& rect, const QStyleOptionViewItem& state);
    void hcPersonsSectionResize();
    void timerTimer();

    QHeaderView* const hcPersons;
    QListWidget* const lbPersons;
    QTimer* const timer;
    const TZOManager* manager = nullptr;
    // The row that says how many persons are not listed; -1 while all are.
    int moreRow = -1;
    TChainPublisher* publisher = nullptr;
    // The state the rows show, taken from the publisher at every refresh.
    TChainState shown;
    std::vector<TScenario::TArrival> arrivals;
};
