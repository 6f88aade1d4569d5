#include "app/clsTimeline.h"

#include "dialogs/clsStepText.h"
#include "model/clsSimulationTime.h"
#include "strings/clsStringTable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace {

constexpr std::int32_t TextDeliveredBy = 2801;
constexpr int MarkHeight = 4;
constexpr int BookmarkWidth = 4;
// A simulated minute, for the slider's own page keys.
constexpr int PageSteps = StepsPerMinute;

} // namespace

TTimelineSlider::TTimelineSlider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("slTimeline"));
    setMouseTracking(true);
    setPageStep(PageSteps);
    setTickPosition(QSlider::NoTicks);
}

QRect TTimelineSlider::Groove() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

std::int64_t TTimelineSlider::StepAt(int x) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QRect groove = Groove();
    // The handle's centre travels from the groove's start plus half a handle
    // to its end minus half a handle.
    const int span = groove.width() - handle.width();
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x - groove.left() - handle.width() / 2, span);
}

QString TTimelineSlider::HoverText(std::int64_t step) const
{
    if (!course || !*course)
        return TimeText(step);
    return GetStringById(TextDeliveredBy).arg(TimeText(step)).arg((*course)->DeliveredBy(step));
}

QString TTimelineSlider::TimeText(std::int64_t step) const
{
    return MoveTimeText(step, startSecond);
}

void TTimelineSlider::SetBookmarks(std::vector<std::int64_t> steps)
{
    bookmarks = std::move(steps);
    update();
}

int TTimelineSlider::XOf(std::int64_t step) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const QRect groove = Groove();
    const int span = groove.width() - handle.width();
    return groove.left() + handle.width() / 2
        + QStyle::sliderPositionFromValue(minimum(), maximum(), static_cast<int>(step), span);
}

void TTimelineSlider::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (maximum() <= 0)
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    if (course && *course) {
        for (const std::int64_t step : (*course)->Marks()) {
            if (step > maximum())
                continue;
            const int x = XOf(step);
            painter.drawLine(x, rect().bottom() - MarkHeight, x, rect().bottom());
            painter.drawLine(x, rect().top(), x, rect().top() + MarkHeight);
        }
    }
    // A bookmark is a small flag pointing down at its step, in the colour of a selection.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(palette().color(QPalette::Highlight));
    for (const std::int64_t step : bookmarks) {
        if (step > maximum())
            continue;
        const int x = XOf(step);
        const QPoint flag[] = {{x - BookmarkWidth, rect().top()}, {x + BookmarkWidth, rect().top()},
                               {x, rect().top() + 2 * BookmarkWidth}};
        painter.drawPolygon(flag, 3);
    }
}

void TTimelineSlider::mousePressEvent(QMouseEvent* event)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // A click beside the knob jumps there, and the knob can be dragged on at once.
    if (event->button() == Qt::LeftButton && !handle.contains(event->position().toPoint()))
        setValue(static_cast<int>(StepAt(event->position().toPoint().x())));
    QSlider::mousePressEvent(event);
}

void TTimelineSlider::mouseMoveEvent(QMouseEvent* event)
{
    QSlider::mouseMoveEvent(event);
    const int x = event->position().toPoint().x();
    QToolTip::showText(event->globalPosition().toPoint(), HoverText(isSliderDown() ? value() : StepAt(x)), this);
}

TTimeline::TTimeline(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("timeline"));
    slider = new TTimelineSlider(this);
    slider->SetCourse(&course);
    time = new QLabel(this);
    time->setObjectName(QStringLiteral("lbTimelineTime"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(slider, 1);
    layout->addWidget(time);
    connect(slider, &QSlider::valueChanged, this, [this](int value) {
        ShowTime();
        if (!following)
            emit JumpRequested(value);
    });
    Start();
}

void TTimeline::Start(std::int32_t startSecond)
{
    slider->SetStart(startSecond);
    course.reset();
    following = true;
    slider->setRange(0, 0);
    following = false;
    ShowTime();
    slider->update();
}

void TTimeline::SetCourse(const TMoveCourse& newCourse)
{
    course = newCourse;
    following = true;
    slider->setMaximum(static_cast<int>(std::max<std::int64_t>(course->endStep, slider->value())));
    following = false;
    ShowTime();
    slider->update();
}

void TTimeline::Follow(std::int64_t step)
{
    if (slider->isSliderDown())
        return;
    following = true;
    // Until the course is known, the slider spans what has run so far.
    if (step > slider->maximum())
        slider->setMaximum(static_cast<int>(step));
    slider->setValue(static_cast<int>(step));
    following = false;
}

std::int64_t TTimeline::GetEnd() const
{
    return slider->maximum();
}

void TTimeline::ShowTime()
{
    time->setText(slider->TimeText(slider->value()) + QStringLiteral(" / ") + slider->TimeText(slider->maximum()));
}
