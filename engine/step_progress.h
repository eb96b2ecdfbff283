#pragma once

#include "remaining_time.h"
#include "render_progress.h"

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
