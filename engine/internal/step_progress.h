#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/remaining_time.h"
#include "engine/render_progress.h"

// Turns the frames a running cut or encode has done into RenderProgress reports, with the time
// left estimated from the time the step has taken so far. Reports the start (no frames, time
// unknown) when made.
class StepProgress {
public:
    StepProgress(RenderProgress::Step step, qint64 totalFrames, const ProgressCallback &callback);

    void report(qint64 frames);

private:
    RenderProgress::Step step_;
    qint64 totalFrames_;
    const ProgressCallback &callback_;
    RemainingTime remaining_;
};
