#include "engine/internal/clip_plan.h"

#include "engine/comparison_limits.h"

#include <algorithm>
#include <cmath>

namespace {

// Conversion to an integer by dropping the fraction, saturating instead of overflowing, so that
// a nonsensical movie (infinite frame rate or duration) cannot make the conversion undefined.
qint64 truncated(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double limit = 4611686018427387904.0; // 2^62: room left for the arithmetic below
    return static_cast<qint64>(std::clamp(value, -limit, limit));
}

} // namespace

ClipPlan ClipPlan::compute(const MovieInfo &movie, double seconds, qint64 maxHeight)
{
    ClipPlan plan;
    plan.clipLength = std::min(movie.duration, ComparisonLimits::clipSeconds);
    plan.start = std::max(0.0, std::min(movie.duration - plan.clipLength, seconds - 1.0));
    plan.offset = std::max(0.0, seconds - plan.start);

    const qint64 first = truncated(plan.offset * movie.fps);
    const qint64 last = truncated(plan.clipLength * movie.fps) - 2;
    plan.frame = last >= 0 ? std::min(first, last) : 0;

    plan.outputHeight = maxHeight == 0 ? movie.height : std::min(maxHeight, movie.height);
    plan.frameTime = double(plan.frame) / movie.fps + plan.start;
    return plan;
}
