#include "analysis/bitrate_search.h"

#include "analysis/quality_curve.h"
#include "engine/comparison_limits.h"

#include <algorithm>
#include <cmath>
#include <numeric>

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

BitrateSearch::BitrateSearch(double targetSsim, double scanMbps, const QList<double> &scanSsims)
    : target_(targetSsim), lastSteps_(toSteps(scanMbps))
{
    for (const double ssim : scanSsims)
        measured_.append({{lastSteps_, ssim}});
    order_.append(lastSteps_);
    QList<int> worstFirst(scanSsims.size());
    std::iota(worstFirst.begin(), worstFirst.end(), 0);
    std::stable_sort(worstFirst.begin(), worstFirst.end(), [&](int a, int b) { return scanSsims[a] < scanSsims[b]; });
    searched_ = worstFirst.mid(0, ComparisonLimits::finderScenes);
}

int BitrateSearch::highestShortfall() const
{
    int below = minSteps - 1;
    for (const QMap<int, double> &scene : measured_) {
        for (auto point = scene.cbegin(); point != scene.cend(); ++point) {
            if (point.value() < target_)
                below = std::max(below, point.key());
        }
    }
    return below;
}

std::optional<int> BitrateSearch::lowestReached(int below) const
{
    // Above the highest shortfall every scene measured reached the target.
    for (const int steps : measured_[searched_.front()].keys()) {
        if (steps > below
            && std::all_of(searched_.cbegin(), searched_.cend(), [&](int scene) { return measured(scene, steps); }))
            return steps;
    }
    return std::nullopt;
}

int BitrateSearch::predicted(int below, std::optional<int> reached) const
{
    const int high = reached ? *reached : maxSteps + 1;
    double mbps = 0;
    for (const int scene : searched_)
        mbps = std::max(mbps, QualityCurve(points(scene)).mbpsFor(target_));
    // Up to the grid; a hundredth of a step over one is that step (SSIM comes with six decimals).
    const double steps = std::ceil(mbps / ComparisonLimits::finderStepMbps - 0.01);
    if (steps > below && steps < high && (steps == below + 1 || !stalled()))
        return int(steps);
    // Beyond the range: whether its end reaches the target ends the search or bounds it.
    if (!reached && steps >= high)
        return maxSteps;
    if (below < minSteps && steps <= below)
        return minSteps;
    if (reached && steps == high) // the lowest reaching bitrate is the one expected: show the step below short
        return high - 1;
    return std::clamp(int(std::lround(std::sqrt(double(below) * double(high)))), below + 1, high - 1);
}

bool BitrateSearch::stalled() const
{
    if (roundSteps_.size() < 3)
        return false;
    const auto shortAt = [this](int steps) {
        return std::any_of(measured_.cbegin(), measured_.cend(),
                           [&](const QMap<int, double> &scene) { return scene.value(steps, 1.0) < target_; });
    };
    const bool side = shortAt(roundSteps_.back());
    return std::all_of(roundSteps_.cend() - 3, roundSteps_.cend(), [&](int steps) { return shortAt(steps) == side; });
}

std::optional<BitrateSearch::Plan> BitrateSearch::plan() const
{
    if (measured_.isEmpty())
        return std::nullopt;
    const int below = highestShortfall();
    if (below >= maxSteps)
        return std::nullopt;
    // A round renders all its scenes at its bitrate, unless one falls short there.
    if (lastSteps_ > below) {
        const Plan round{lastSteps_, lastSteps_ == below + 1};
        if (!complete(round))
            return round;
    }
    const std::optional<int> reached = lowestReached(below);
    const int steps = reached && *reached == below + 1 ? *reached : predicted(below, reached);
    const Plan found{steps, steps == below + 1};
    if (found.closed && complete(found))
        return std::nullopt;
    return found;
}

QList<int> BitrateSearch::sceneSet(const Plan &plan) const
{
    if (!plan.closed)
        return searched_;
    QList<int> all(measured_.size());
    std::iota(all.begin(), all.end(), 0);
    return all;
}

bool BitrateSearch::complete(const Plan &plan) const
{
    const QList<int> scenes = sceneSet(plan);
    return std::all_of(scenes.cbegin(), scenes.cend(), [&](int scene) { return measured(scene, plan.steps); });
}

std::optional<BitrateSearch::Step> BitrateSearch::next() const
{
    const std::optional<Plan> found = plan();
    if (!found)
        return std::nullopt;
    const QList<int> scenes = sceneSet(*found);
    Step step;
    step.mbps = toMbps(found->steps);
    step.roundScenes = int(scenes.size());
    QList<std::pair<double, int>> expected; // where each scene is expected to reach the target
    for (const int scene : std::as_const(scenes)) {
        if (measured(scene, found->steps))
            ++step.roundDone;
        else
            expected.append({-QualityCurve(points(scene)).mbpsFor(target_), scene});
    }
    std::stable_sort(expected.begin(), expected.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[mbps, scene] : std::as_const(expected))
        step.scenes.append(scene);
    step.round = rounds_ + (found->steps == lastSteps_ ? 0 : 1);
    return step;
}

void BitrateSearch::report(int scene, double mbps, double ssim)
{
    const int steps = toSteps(mbps);
    if (steps != lastSteps_) {
        roundSteps_.append(steps);
        ++rounds_;
        lastSteps_ = steps;
    }
    measured_[scene].insert(steps, ssim);
    if (!order_.contains(steps))
        order_.append(steps);
    if (ssim < target_ && !searched_.contains(scene)) {
        searched_.append(scene);
        roundSteps_.clear(); // a new curve leads
    }
}

std::optional<double> BitrateSearch::result() const
{
    if (plan() || measured_.isEmpty())
        return std::nullopt;
    const int below = highestShortfall();
    if (below >= maxSteps)
        return std::nullopt;
    return toMbps(below + 1);
}

QList<BitrateSearch::Try> BitrateSearch::tried() const
{
    QList<Try> tried;
    for (const int steps : order_) {
        double worst = 1;
        for (const QMap<int, double> &scene : measured_)
            worst = std::min(worst, scene.value(steps, 1.0));
        tried.append({toMbps(steps), worst});
    }
    return tried;
}

QList<QPointF> BitrateSearch::points(int scene) const
{
    QList<QPointF> points;
    for (auto point = measured_[scene].cbegin(); point != measured_[scene].cend(); ++point)
        points.append({toMbps(point.key()), point.value()});
    return points;
}

int BitrateSearch::scenesAt(double mbps) const
{
    const int steps = toSteps(mbps);
    return int(std::count_if(measured_.cbegin(), measured_.cend(),
                             [steps](const QMap<int, double> &scene) { return scene.contains(steps); }));
}

int BitrateSearch::rendersLeft() const
{
    const std::optional<Plan> found = plan();
    if (!found)
        return 0;
    return int(measured_.size()) - scenesAt(toMbps(found->steps)) + (found->closed ? 0 : 1);
}
