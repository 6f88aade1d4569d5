#pragma once

#include "analysis/MoveKeyframes.h"
#include "analysis/FilmSettings.h"
#include "model/clsChainState.h"
#include "model/clsZOManager.h"
#include "scenario/clsScenario.h"
#include "scenario/clsScenarioDescription.h"
#include "view/clsChainPainter.h"

#include <QFont>
#include <QImage>

class QPainter;

#include <atomic>
#include <cstdint>

// The frames of a stretch of a move: steps from, from + K, ... up to to or
// the step the move is over at, whichever comes first. Each frame is the
// chain view's picture of its step at the film's size, as the window shows
// it without its rates, with the caption if asked for. The move is built
// afresh and steps on its own, from the keyframe given if it lies at or
// before from, else from step 0.
class TFilmFrames
{
public:
    TFilmFrames(const TScenarioDescription& description, const TKeyframe& start, const TFilmSettings& settings,
                std::int64_t from, std::int64_t to);

    // Steps to the next frame's step and paints it. False once the stretch
    // or the move is over, or once cancel is set, from another thread.
    bool Next(const std::atomic<bool>& cancel);
    // The frame Next painted last, RGB32.
    const QImage& Picture() const { return picture; }
    // Its step.
    std::int64_t GetStep() const { return scenario.GetLoop().GetStep(); }
    // Frames painted so far.
    std::int64_t GetCount() const { return count; }
    // Whether the move was over before the stretch began: no frame at all.
    bool EndedBeforeStart() const { return count == 0 && scenario.GetLoop().IsOver() && GetStep() < from; }
    // The step the move is over at, once it is; else -1.
    std::int64_t GetEndStep() const { return scenario.GetLoop().IsOver() ? GetStep() : -1; }

private:
    void Paint();
    void DrawCaption(QPainter& canvas);

    TZOManager objects;
    TScenario scenario;
    const std::int64_t from;
    const std::int64_t to;
    const std::int64_t every;
    const bool captioned;
    TChainPainter painter;
    QFont captionFont;
    TChainState state;
    QImage picture;
    std::int64_t count = 0;
};
