#pragma once

#include "model/clsBucketChain.h"
#include "model/clsRateCounter.h"
#include "view/clsChainPainter.h"

#include <QImage>
#include <QSize>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <memory>

class QLabel;
class QPainter;
class QTimer;
class TLoadHandler;
class TChainPublisher;
class TPaintBox;
class TTrail;

namespace Ui {
class TframeZemba;
}

// The picture that fills the main window: the trail as a height profile, the
// source, the persons and the sink as bars with their loads, and the rates of
// the simulation and of this view.
//
// The chain tells the frame, on the simulation thread, that a handler has
// moved; the frame's 100 ms timer then redraws, at most once a tick, and only
// when something moved. Paint requests of the window system draw at any time.
// Every picture is drawn from the newest state the simulation has published,
// so drawing never waits on a step in progress.
//
// Attach the trail, the chain and the publisher before the frame is first
// shown; until then it shows the rates only. The chain keeps a pointer to the
// frame's listener for good: the chain must not be stepped any more once the
// frame is gone.
//
// A click on a person's bar selects the person: a frame around its bar and a
// panel of its figures, both following the published state; a click beside
// every bar clears it. A double click selects and asks for the person to be
// opened; hovering over a bar shows the person's name.
class TframeZemba : public QWidget
{
    Q_OBJECT

public:
    explicit TframeZemba(QWidget* parent = nullptr);
    ~TframeZemba() override;

    // None is owned. Each marks the picture stale.
    void SetTrail(TTrail* newTrail);
    void SetChain(TBucketChain* newChain);
    void SetPublisher(TChainPublisher* newPublisher);

    // The selected person's id, or TChainPainter::NoSelection. Selecting shows
    // the panel at once; the panel hides when the person is no longer published.
    void SetSelected(std::int32_t id);
    std::int32_t GetSelected() const { return selected; }
    // The panel's text, empty while it is hidden.
    QString GetPanelText() const;

    // The person under a point of the client area in the newest published state.
    std::int32_t PersonAt(QPoint point);

    // Called on the simulation thread: a handler has moved (phase 1) or is
    // about to (phase 0, ignored). Sets the stale flag and touches nothing else.
    void OnHandlerMove(TLoadHandler* handler, std::uint8_t phase);

    // The whole picture as it would be drawn on a client area of this size.
    QImage RenderPicture(QSize size, qreal devicePixelRatio = 1.0);
    // The picture for a file or the clipboard, on any painter, from the newest
    // published state: without the rates, which tell how this window draws,
    // not what the move shows.
    void PaintPicture(QPainter& canvas, QSize size);
    // The client area's size, the picture's own.
    QSize GetPictureSize() const;

    bool IsRedrawPending() const { return redrawPending.load(); }
    // Pictures the timer has drawn per second, over its last sample.
    std::int32_t GetFramesPerSecond() const { return frameRate.GetPerSecond(); }

    // The timer's tick: draws and counts the picture if a handler has moved,
    // or a newer state has been published, since the last draw.
    // Public so that a tick can be driven directly.
    void timerTimer();

signals:
    void PersonOpened(std::int32_t id);
    // A context menu is asked for at a point of the picture: the person
    // there (TChainPainter::NoSelection for none), the trail position of its
    // column, and where the menu goes on the screen.
    void MenuAsked(std::int32_t id, double position, QPoint global);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hands the chain's events on to the frame that holds it.
    class TChainEvent final : public TBucketChainEventListener
    {
    public:
        explicit TChainEvent(TframeZemba* theOwner) : owner(theOwner) {}
        void OnHandlerMove(TLoadHandler* handler, std::uint8_t phase) override;

    private:
        TframeZemba* const owner;
    };

    // The paint box's paint event: draws whatever the flag says and leaves the
    // flag and the frame count alone.
    void pbPaint();
    // Renders a fresh picture and copies it onto the paint box in one go; only
    // from inside the paint box's paint event.
    void Draw();
    void CountFrame();
    void UpdatePanel(const TChainState& state);

    std::unique_ptr<Ui::TframeZemba> ui;
    TPaintBox* pb = nullptr;
    QTimer* timer = nullptr;
    QLabel* panel = nullptr;

    // Raised by the simulation thread, cleared by the timer.
    std::atomic<bool> redrawPending{false};
    TRateCounter frameRate;
    TChainEvent chainEvent{this};
    TTrail* trail = nullptr;
    TBucketChain* chain = nullptr;
    TChainPublisher* publisher = nullptr;
    // The step of the state drawn last: a move reported while its step was
    // still being published is drawn at the next tick.
    std::int64_t drawnStep = -1;
    // A pause changes the rate, not the step.
    std::int32_t drawnRate = 0;
    std::int32_t selected = TChainPainter::NoSelection;
    TChainPainter painter;
};
