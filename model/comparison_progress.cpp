#include "model/comparison_progress.h"

#include <algorithm>

namespace {

// The lossless cut takes about a third of the time of a cut and an encode.
constexpr double cutShare = 0.35;
// Before this share or this time, an estimate says more about the start than about the speed.
constexpr double leastShare = 0.1;
constexpr double leastSeconds = 2;

} // namespace

void ComparisonProgress::add(const RenderProgress &step, double elapsedSeconds)
{
    const double done =
        step.totalFrames > 0 ? std::clamp(double(step.frames) / double(step.totalFrames), 0.0, 1.0) : 0.0;
    if (step.step == RenderProgress::Step::Cut) {
        cut_ = true;
        share_ = std::max(share_, cutShare * done);
    } else {
        share_ = std::max(share_, cut_ ? cutShare + (1 - cutShare) * done : done);
    }
    const bool enough = share_ > 0 && (share_ >= leastShare || elapsedSeconds >= leastSeconds);
    remainingSeconds_ = enough ? std::max(elapsedSeconds, 0.0) / share_ * (1 - share_) : -1;
}
