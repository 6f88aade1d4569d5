#include "app/clsBookmarks.h"

#include "analysis/MoveRerun.h"
#include "app/clsMoveSession.h"
#include "app/clsTimeline.h"
#include "app/clsTimelineBar.h"
#include "dialogs/frm_MarkCompare.h"
#include "strings/clsStringTable.h"

#include <QAction>
#include <QFutureWatcher>
#include <QMenu>

#include <algorithm>

namespace {

constexpr std::int32_t TextMarks = 3001;
constexpr std::int32_t TextMark = 3002;
constexpr std::int32_t TextPreviousMark = 3003;
constexpr std::int32_t TextNextMark = 3004;
constexpr std::int32_t TextCompareMarks = 3005;
constexpr std::int32_t TextClearMarks = 3006;

} // namespace

TBookmarks::TBookmarks(QWidget& theWindow, TMoveSession& theSession, TTimelineBar& theBar, QMenu& menu)
    : QObject(&theWindow), window(theWindow), session(theSession), bar(theBar)
{
    QMenu* entries = menu.addMenu(GetStringById(TextMarks));
    const auto add = [&](std::int32_t textId, const QKeySequence& key, void (TBookmarks::*what)()) {
        QAction* action = entries->addAction(GetStringById(textId));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, what);
        return action;
    };
    add(TextMark, QKeySequence(Qt::Key_M), &TBookmarks::Mark)->setObjectName(QStringLiteral("acMark"));
    acPrevious = add(TextPreviousMark, QKeySequence(Qt::CTRL | Qt::Key_PageUp), &TBookmarks::JumpToPrevious);
    acNext = add(TextNextMark, QKeySequence(Qt::CTRL | Qt::Key_PageDown), &TBookmarks::JumpToNext);
    acCompare = add(TextCompareMarks, QKeySequence(), &TBookmarks::Compare);
    acClear = add(TextClearMarks, QKeySequence(), &TBookmarks::Clear);
    connect(&session, &TMoveSession::MoveEntered, this, [this](bool afresh) {
        if (afresh && session.GetDescription() != marked)
            Clear();
    });
    Changed();
}

void TBookmarks::Mark()
{
    if (!session.GetScenario())
        return;
    const std::int64_t step = session.GetShownStep();
    marked = session.GetDescription();
    const auto at = std::lower_bound(marks.begin(), marks.end(), step);
    if (at != marks.end() && *at == step)
        return;
    marks.insert(at, step);
    Changed();
}

void TBookmarks::JumpToPrevious()
{
    const auto before = std::lower_bound(marks.begin(), marks.end(), session.GetShownStep());
    if (before != marks.begin())
        bar.JumpTo(*std::prev(before));
}

void TBookmarks::JumpToNext()
{
    const auto after = std::upper_bound(marks.begin(), marks.end(), session.GetShownStep());
    if (after != marks.end())
        bar.JumpTo(*after);
}

void TBookmarks::Compare()
{
    if (!comparison) {
        comparison = new TfrmMarkCompare(&window);
        connect(comparison, &TfrmMarkCompare::MarkChosen, this, &TBookmarks::ShowMark);
        comparison->SetMarks(marks);
    }
    comparison->show();
    comparison->raise();
}

void TBookmarks::Clear()
{
    for (const TJobPool::TFlag& run : running)
        if (run)
            *run = true;
    running = {};
    marks.clear();
    reports.clear();
    Changed();
}

void TBookmarks::Changed()
{
    bar.GetTimeline().GetSlider()->SetBookmarks(marks);
    acPrevious->setEnabled(!marks.empty());
    acNext->setEnabled(!marks.empty());
    acCompare->setEnabled(marks.size() >= 2);
    acClear->setEnabled(!marks.empty());
    if (comparison)
        comparison->SetMarks(marks);
    emit MarksChanged();
}

void TBookmarks::ShowMark(int column, std::int64_t step)
{
    TJobPool::TFlag& run = running[static_cast<std::size_t>(column)];
    if (run)
        *run = true;
    run.reset();
    if (const auto known = reports.find(step); known != reports.end()) {
        comparison->ShowReport(column, &known->second);
        return;
    }
    auto job = session.GetWork().Run([description = marked, step](const std::atomic<bool>& cancel) {
        return ReportMoveUpTo(description, step, cancel);
    });
    run = job.cancel;
    auto* watcher = new QFutureWatcher<TMoveReport>(this);
    connect(watcher, &QFutureWatcher<TMoveReport>::finished, this, [this, watcher, column, step, cancel = job.cancel] {
        watcher->deleteLater();
        if (*cancel)
            return;
        running[static_cast<std::size_t>(column)].reset();
        const auto kept = reports.emplace(step, watcher->result()).first;
        comparison->ShowReport(column, &kept->second);
    });
    watcher->setFuture(job.future);
}
