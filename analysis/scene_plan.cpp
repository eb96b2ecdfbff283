#include "analysis/scene_plan.h"

#include "engine/comparison_limits.h"

#include <algorithm>
#include <cmath>

bool ScenePlan::acceptsSceneCount(int scenes)
{
    return scenes >= ComparisonLimits::minScanScenes && scenes <= ComparisonLimits::maxScanScenes;
}

QList<double> ScenePlan::sceneTimes(double duration, int scenes)
{
    QList<double> times;
    if (!acceptsSceneCount(scenes) || !std::isfinite(duration) || duration <= 0)
        return times;
    times.reserve(scenes);
    for (int i = 0; i < scenes; ++i)
        times.append((i + 0.5) * duration / scenes);
    return times;
}

bool ScenePlan::worseThan(const SceneResult &a, const SceneResult &b)
{
    if (a.quality.ssimClip != b.quality.ssimClip)
        return a.quality.ssimClip < b.quality.ssimClip;
    return a.seconds < b.seconds;
}

std::optional<ScenePlan::Summary> ScenePlan::summarize(const QList<SceneResult> &scenes)
{
    if (scenes.isEmpty())
        return std::nullopt;
    Summary summary;
    summary.worstFirst = scenes;
    std::stable_sort(summary.worstFirst.begin(), summary.worstFirst.end(), worseThan);
    const SceneResult &worst = summary.worstFirst.front();
    summary.worstSeconds = worst.seconds;
    summary.worstSsim = worst.quality.ssimClip;
    for (const SceneResult &scene : scenes) {
        summary.meanSsim += scene.quality.ssimClip;
        summary.meanActualMbps += scene.actualMbps;
    }
    summary.meanSsim /= scenes.size();
    summary.meanActualMbps /= scenes.size();
    return summary;
}
