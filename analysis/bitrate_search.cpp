#include "analysis/bitrate_search.h"

#include "engine/comparison_limits.h"

#include <algorithm>
#include <cmath>

namespace {

int toSteps(double mbps)
{
    return int(std::lround(mbps / ComparisonLimits::finderStepMbps));
}

double toMbps(int steps)
{
    // A division, so that 23 steps give the double nearest to 2.3, as a user would type it.
    return double(steps) / double(std::lround(1 / ComparisonLimits::finderStepMbps));
}

const int minSteps = toSteps(ComparisonLimits::minMbps);
const int maxSteps = toSteps(ComparisonLimits::maxMbps);

} // namespace

BitrateSearch::BitrateSearch(double targetSsim) : target_(targetSsim), below_(minSteps - 1)
{}

std::optional<double> BitrateSearch::next() const
{
    if (tried_.isEmpty())
        return toMbps(maxSteps);
    if (!reached_ || *reached_ - below_ <= 1)
        return std::nullopt;
    const double middle = std::sqrt(double(below_) * double(*reached_));
    return toMbps(std::clamp(int(std::lround(middle)), below_ + 1, *reached_ - 1));
}

void BitrateSearch::report(double mbps, double worstSsim)
{
    tried_.append({mbps, worstSsim});
    const int steps = toSteps(mbps);
    if (worstSsim >= target_)
        reached_ = reached_ ? std::min(*reached_, steps) : steps;
    else
        below_ = std::max(below_, steps);
}

std::optional<double> BitrateSearch::result() const
{
    if (!done() || !reached_)
        return std::nullopt;
    return toMbps(*reached_);
}
