#include "app/clsTimelineBar.h"

#include "app/clsMoveSession.h"
#include "app/clsTimeline.h"
#include "model/clsSimulationTime.h"
#include "strings/clsStringTable.h"

#include <QMainWindow>
#include <QShortcut>

#include <array>
#include <functional>
#include <utility>

namespace {

constexpr std::int32_t TextTimeline = 2802;
// One simulated minute, for Page Up and Page Down.
constexpr std::int64_t PageSteps = StepsPerMinute;

} // namespace

TTimelineBar::TTimelineBar(QMainWindow& window, TMoveSession& theSession)
    : QToolBar(GetStringById(TextTimeline), &window), session(theSession), timeline(new TTimeline)
{
    setObjectName(QStringLiteral("tbTimeline"));
    setMovable(false);
    addWidget(timeline);
    connect(timeline, &TTimeline::JumpRequested, this, &TTimelineBar::JumpTo);
    connect(&session, &TMoveSession::MoveEntered, this, [this](bool afresh) {
        if (afresh)
            timeline->Start(session.GetStartSecond());
    });
    connect(&session, &TMoveSession::CourseFound, this, [this] {
        if (session.GetCourse())
            timeline->SetCourse(*session.GetCourse());
    });

    const std::array<std::pair<QKeySequence, std::function<void()>>, 6> keys{{
        {QKeySequence(Qt::Key_Left), [this] { JumpBy(-1); }},
        {QKeySequence(Qt::Key_Right), [this] { JumpBy(1); }},
        {QKeySequence(Qt::Key_PageUp), [this] { JumpBy(-PageSteps); }},
        {QKeySequence(Qt::Key_PageDown), [this] { JumpBy(PageSteps); }},
        {QKeySequence(Qt::Key_Home), [this] { JumpTo(0); }},
        {QKeySequence(Qt::Key_End), [this] { JumpTo(timeline->GetEnd()); }},
    }};
    for (const auto& [key, jump] : keys)
        connect(new QShortcut(key, &window, nullptr, nullptr, Qt::WindowShortcut), &QShortcut::activated, this, jump);
}

void TTimelineBar::JumpTo(std::int64_t step)
{
    session.JumpTo(step);
    timeline->Follow(session.GetShownStep());
}

void TTimelineBar::JumpBy(std::int64_t steps)
{
    JumpTo(session.GetShownStep() + steps);
}

void TTimelineBar::Follow(std::int64_t step)
{
    if (!session.IsJumping())
        timeline->Follow(step);
}
