#include "view/frame_Zemba.h"

#include "ui_frame_Zemba.h"

#include "runtime/clsChainPublisher.h"
#include "view/clsPaintBox.h"

#include <QPainter>
#include <QTimer>

#include <utility>

namespace {

constexpr int TimerInterval = 100;

} // namespace

void TframeZemba::TChainEvent::OnHandlerMove(TLoadHandler* handler, std::uint8_t phase)
{
    owner->OnHandlerMove(handler, phase);
}

TframeZemba::TframeZemba(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TframeZemba>())
{
    ui->setupUi(this);
    pb = ui->pb;
    painter.SetTextColour(pb->palette().color(QPalette::WindowText));
    connect(pb, &TPaintBox::Paint, this, &TframeZemba::pbPaint);

    timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("timer"));
    timer->setInterval(TimerInterval);
    connect(timer, &QTimer::timeout, this, &TframeZemba::timerTimer);
    timer->start();
}

TframeZemba::~TframeZemba() = default;

void TframeZemba::SetTrail(TTrail* newTrail)
{
    trail = newTrail;
    redrawPending = true;
}

void TframeZemba::SetChain(TBucketChain* newChain)
{
    chain = newChain;
    if (chain)
        chain->AddListener(&chainEvent);
    redrawPending = true;
}

void TframeZemba::SetPublisher(TChainPublisher* newPublisher)
{
    publisher = newPublisher;
    redrawPending = true;
}

void TframeZemba::SetCalendarClock(TRateCounter::TCalendarClock clock)
{
    calendarClock = std::move(clock);
}

void TframeZemba::OnHandlerMove(TLoadHandler*, std::uint8_t phase)
{
    if (phase == TBucketChain::PhaseMoved)
        redrawPending = true;
}

QImage TframeZemba::RenderPicture(QSize size, qreal devicePixelRatio)
{
    static const TChainState NothingPublished;
    const TChainState& state = publisher ? publisher->Latest() : NothingPublished;
    drawnStep = state.step;
    return painter.Render(size, trail, state, frameRate.GetPerSecond(), devicePixelRatio);
}

void TframeZemba::timerTimer()
{
    // exchange rather than test-then-clear: a move reported in between is not lost.
    const bool newerState = publisher && publisher->Latest().step != drawnStep;
    if (redrawPending.exchange(false) || newerState)
        pb->repaint();
    CountFrame();
}

void TframeZemba::pbPaint()
{
    Draw();
}

void TframeZemba::Draw()
{
    const QImage picture = RenderPicture(pb->size(), pb->devicePixelRatioF());
    QPainter canvas(pb);
    canvas.drawImage(0, 0, picture);
}

void TframeZemba::CountFrame()
{
    frameRate.Count(calendarClock());
}
