#include "view/frame_Zemba.h"

#include "ui_frame_Zemba.h"

#include "runtime/clsChainPublisher.h"
#include "view/clsChainGeometry.h"
#include "view/clsPaintBox.h"
#include "view/clsPersonPanel.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <utility>

namespace {

constexpr int TimerInterval = 100;

const TChainState& LatestOf(TChainPublisher* publisher)
{
    static const TChainState NothingPublished;
    return publisher ? publisher->Latest() : NothingPublished;
}

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
    pb->installEventFilter(this);

    panel = new QLabel(pb);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setAutoFillBackground(true);
    panel->setFrameShape(QFrame::Box);
    panel->setMargin(3);
    panel->setToolTip(PersonPanelUnits());
    panel->hide();

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
    SetSelected(TChainPainter::NoSelection);
    if (chain)
        chain->AddListener(&chainEvent);
    redrawPending = true;
}

void TframeZemba::SetPublisher(TChainPublisher* newPublisher)
{
    publisher = newPublisher;
    redrawPending = true;
}

void TframeZemba::SetSelected(std::int32_t id)
{
    selected = id;
    painter.SetSelected(id);
    UpdatePanel(LatestOf(publisher));
    pb->update();
}

QString TframeZemba::GetPanelText() const
{
    return panel->isHidden() ? QString() : panel->text();
}

std::int32_t TframeZemba::PersonAt(QPoint point)
{
    if (!trail || !publisher)
        return TChainPainter::NoSelection;
    const THandlerState* person = ::PersonAt(*trail, pb->width(), pb->height(), publisher->Latest(), point.x(), point.y());
    return person ? person->id : TChainPainter::NoSelection;
}

bool TframeZemba::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != pb)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        SetSelected(PersonAt(mouse->position().toPoint()));
        if (event->type() == QEvent::MouseButtonDblClick && selected != TChainPainter::NoSelection)
            emit PersonOpened(selected);
        return true;
    }
    case QEvent::ContextMenu: {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        if (!trail)
            return false;
        emit MenuAsked(PersonAt(menu->pos()), PositionAt(*trail, pb->width(), menu->pos().x()), menu->globalPos());
        return true;
    }
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        const std::int32_t id = PersonAt(help->pos());
        const THandlerState* person = id != TChainPainter::NoSelection ? publisher->Latest().Find(id) : nullptr;
        if (person)
            QToolTip::showText(help->globalPos(), QString::fromStdString(person->name), pb);
        else
            QToolTip::hideText();
        return true;
    }
    default:
        return false;
    }
}

void TframeZemba::UpdatePanel(const TChainState& state)
{
    const THandlerState* person = selected != TChainPainter::NoSelection ? state.Find(selected) : nullptr;
    if (!person) {
        panel->hide();
        return;
    }
    panel->setText(PersonPanelText(*person));
    panel->adjustSize();
    // In the top corner away from the person, below the rates on the left.
    constexpr int Margin = 5;
    constexpr int BelowRates = 40;
    const bool personOnTheRight = trail && MapPosition(*trail, pb->width(), pb->height(), person->position).left > pb->width() / 2;
    panel->move(personOnTheRight ? Margin : pb->width() - panel->width() - Margin, personOnTheRight ? BelowRates : Margin);
    panel->show();
}

void TframeZemba::OnHandlerMove(TLoadHandler*, std::uint8_t phase)
{
    if (phase == TBucketChain::PhaseMoved)
        redrawPending = true;
}

QImage TframeZemba::RenderPicture(QSize size, qreal devicePixelRatio)
{
    const TChainState& state = LatestOf(publisher);
    drawnStep = state.step;
    drawnRate = state.stepsPerSecond;
    return painter.Render(size, trail, state, frameRate.GetPerSecond(), devicePixelRatio);
}

void TframeZemba::PaintPicture(QPainter& canvas, QSize size)
{
    painter.SetRatesShown(false);
    painter.Paint(canvas, size, trail, LatestOf(publisher), 0);
    painter.SetRatesShown(true);
}

QSize TframeZemba::GetPictureSize() const
{
    return pb->size();
}

void TframeZemba::timerTimer()
{
    // exchange rather than test-then-clear: a move reported in between is not lost.
    const TChainState& state = LatestOf(publisher);
    const bool newerState = state.step != drawnStep || state.stepsPerSecond != drawnRate;
    if (redrawPending.exchange(false) || newerState) {
        UpdatePanel(state);
        pb->repaint();
        CountFrame();
    }
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
    frameRate.Count(TRateCounter::SystemClock);
}
