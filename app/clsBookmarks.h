#pragma once

#include "analysis/MoveReport.h"
#include "dialogs/clsJobPool.h"
#include "dialogs/frm_MarkCompare.h"
#include "scenario/clsScenarioDescription.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QWidget;
class TMoveSession;
class TTimelineBar;

// The user's bookmarks in the move: "M" marks the step shown, the marks are
// drawn on the timeline, jumped between, and two of them compared side by
// side as the report's figures at each, worked out on the session's pool.
// They belong to the move: kept through jumps and restarts of it, dropped
// when another move takes its place.
class TBookmarks : public QObject
{
    Q_OBJECT

public:
    // Adds its entries to the menu as a submenu "Marken".
    TBookmarks(QWidget& window, TMoveSession& session, TTimelineBar& bar, QMenu& menu);

    void Mark();
    // To the nearest mark before or after the step shown, if any.
    void JumpToPrevious();
    void JumpToNext();
    void Compare();
    void Clear();

    const std::vector<std::int64_t>& GetMarks() const { return marks; }
    // Once opened, else null.
    TfrmMarkCompare* GetComparison() const { return comparison; }

signals:
    void MarksChanged();

private:
    // The marks changed: the timeline, the entries and the comparison follow.
    void Changed();
    // The column shows the report at its mark, at once if known, else once worked out.
    void ShowMark(int column, std::int64_t step);

    QWidget& window;
    TMoveSession& session;
    TTimelineBar& bar;
    std::vector<std::int64_t> marks;
    // The move the marks belong to.
    TScenarioDescription marked;
    std::map<std::int64_t, TMoveReport> reports;
    // The run of each column's report, while it runs.
    std::array<TJobPool::TFlag, TfrmMarkCompare::Columns> running;
    TfrmMarkCompare* comparison = nullptr;
    QAction* acPrevious = nullptr;
    QAction* acNext = nullptr;
    QAction* acCompare = nullptr;
    QAction* acClear = nullptr;
};
