#pragma once

#include "analysis/MoveCourse.h"
#include "analysis/MoveKeyframes.h"
#include "analysis/FilmSettings.h"
#include "scenario/clsScenarioDescription.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// A stretch of a move to film: from step from to step to, or to the step the
// move is over at if that comes first. start, if any, is a keyframe of the
// same move at or before from, to step on from instead of step 0.
struct TFilmStretch
{
    std::int64_t from = 0;
    std::int64_t to = CourseStepLimit;
    TKeyframe start;
};

struct TFilmOutcome
{
    enum class TStatus {
        Written,
        // The settings or the stretch cannot make a film; nothing was rendered.
        Refused,
        // The film could not be encoded or written.
        Failed,
        Cancelled,
    };
    TStatus status = TStatus::Written;
    std::int64_t frames = 0;
    // One English line, unless written.
    std::string error;
};

// Renders the stretch of the move frame by frame (see TFilmFrames) and writes
// it to path through the project's file writer: the film appears under its
// name only when whole, and one cancelled or failed leaves no file behind.
// progress, if given, hears the frames done after each. A GIF steps through
// the stretch twice: first to make its palette from the frames.
TFilmOutcome RenderFilm(const TScenarioDescription& description, const TFilmStretch& stretch,
                        const TFilmSettings& settings, const std::string& path, const std::atomic<bool>& cancel,
                        const std::function<void(std::int64_t frames)>& progress = {});
