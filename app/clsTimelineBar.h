#pragma once

#include <QToolBar>

#include <cstdint>

class QMainWindow;
class TMoveSession;
class TTimeline;

// The timeline below the view, as a toolbar of the window: a move of its
// knob or a key of the window, whichever widget has the focus, asks the
// session for a jump; it spans the move's course once the session has found
// it, and otherwise follows the step shown.
class TTimelineBar : public QToolBar
{
    Q_OBJECT

public:
    TTimelineBar(QMainWindow& window, TMoveSession& session);

    TTimeline& GetTimeline() const { return *timeline; }
    // The knob goes along at once.
    void JumpTo(std::int64_t step);
    // The step the window shows, unless a jump is on its way.
    void Follow(std::int64_t step);

private:
    void JumpBy(std::int64_t steps);

    TMoveSession& session;
    TTimeline* timeline = nullptr;
};
