#pragma once

#include "analysis/MoveCourse.h"

#include <QSlider>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QLabel;

// The slider of the timeline: marks the course's notable steps and the
// user's bookmarks and tells, on hover, the simulated time and the loads
// delivered by then; a click jumps to the step under the mouse rather than by
// a page.
class TTimelineSlider : public QSlider
{
    Q_OBJECT

public:
    explicit TTimelineSlider(QWidget* parent = nullptr);

    void SetCourse(const std::optional<TMoveCourse>* theCourse) { course = theCourse; }
    // The clock time the move starts at, below 0 for none: times are then clock times.
    void SetStart(std::int32_t second) { startSecond = second; }
    void SetBookmarks(std::vector<std::int64_t> steps);
    // The step under a point of the groove.
    std::int64_t StepAt(int x) const;
    // "0:12:34 · 123 Lasten geliefert" (with a start at 10:00, "10:12:34 · ..."); the time alone before the course is known.
    QString HoverText(std::int64_t step) const;
    // The simulated time of a step, a clock time where the move has a start.
    QString TimeText(std::int64_t step) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QRect Groove() const;
    // Where a step stands on the groove.
    int XOf(std::int64_t step) const;

    const std::optional<TMoveCourse>* course = nullptr;
    std::vector<std::int64_t> bookmarks;
    std::int32_t startSecond = -1;
};

// Below the view: the whole move from step 0 to its end as a slider, the
// knob at the step shown and the time beside it. The end is the course's,
// found by a run of the scenario in the background; until then the slider
// spans what the live move has run so far. Any move of the knob by the user
// asks for a jump; the owner jumps and the knob follows the move again.
class TTimeline : public QWidget
{
    Q_OBJECT

public:
    explicit TTimeline(QWidget* parent = nullptr);

    // A fresh move, starting by the clock at startSecond (below 0: none): nothing known of its course.
    void Start(std::int32_t startSecond = -1);
    void SetCourse(const TMoveCourse& course);
    const std::optional<TMoveCourse>& GetCourse() const { return course; }

    // The step shown; the knob goes there unless the user holds it.
    void Follow(std::int64_t step);
    // The last step the slider reaches: the move's end once known.
    std::int64_t GetEnd() const;
    std::int64_t GetStep() const { return slider->value(); }
    TTimelineSlider* GetSlider() const { return slider; }

signals:
    void JumpRequested(std::int64_t step);

private:
    void ShowTime();

    TTimelineSlider* slider = nullptr;
    QLabel* time = nullptr;
    std::optional<TMoveCourse> course;
    // Set while the knob is moved by the program, not the user.
    bool following = false;
};
