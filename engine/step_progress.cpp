#include "step_progress.h"

#include <algorithm>

namespace {

// The time left when `done` of `total` frames took `elapsed` seconds; < 0 while none is done.
double remainingSeconds(double elapsed, qint64 done, qint64 total)
{
    if (done <= 0)
        return -1;
    return std::max(0.0, elapsed * double(total - done) / double(done));
}

} // namespace

StepProgress::StepProgress(RenderProgress::Step step, qint64 totalFrames, const ProgressCallback &callback)
    : step_(step), totalFrames_(std::max<qint64>(totalFrames, 1)), callback_(callback)
{
    timer_.start();
    report(0);
}

void StepProgress::report(qint64 frames)
{
    if (!callback_)
        return;
    // The total is reckoned from the clip's length and rate; a film with uneven frame gaps may
    // give a few more.
    const qint64 done = std::clamp<qint64>(frames, 0, totalFrames_);
    callback_(
        RenderProgress{step_, done, totalFrames_, remainingSeconds(timer_.elapsed() / 1000.0, done, totalFrames_)});
}
