#include "engine/internal/step_progress.h"

#include <algorithm>

StepProgress::StepProgress(RenderProgress::Step step, qint64 totalFrames, const ProgressCallback &callback)
    : step_(step), totalFrames_(std::max<qint64>(totalFrames, 1)), callback_(callback)
{
    remaining_.start();
    report(0);
}

void StepProgress::report(qint64 frames)
{
    if (!callback_)
        return;
    // The total is reckoned from the clip's length and rate; a movie with uneven frame gaps may
    // give a few more.
    const qint64 done = std::clamp<qint64>(frames, 0, totalFrames_);
    callback_(RenderProgress{step_, done, totalFrames_, remaining_.estimate(double(done), double(totalFrames_))});
}
