#pragma once

#include "analysis/scene_result.h"

#include <QList>
#include <optional>

// Where the scenes of a scan lie in a movie, and what the finished scenes add up to.
class ScenePlan {
public:
    struct Summary {
        double worstSeconds = 0; // the scene with the lowest clip SSIM
        double worstSsim = 0;
        double meanSsim = 0; // over the scenes' clip SSIM
        double meanActualMbps = 0;
        QList<SceneResult> worstFirst; // ascending clip SSIM, earlier scene first on a tie
    };

    // Whether a scan of that many scenes is offered (ComparisonLimits::minScanScenes to maxScanScenes).
    static bool acceptsSceneCount(int scenes);

    // The movie times of a scan of `scenes` scenes spread evenly over a movie of `duration`
    // seconds: scene i at (i + 0.5) * duration / scenes, so no scene sits on the movie's first or
    // last frame. Empty for a scene count that is not accepted or a duration that is not a
    // positive number.
    static QList<double> sceneTimes(double duration, int scenes);

    // Whether scene a ranks before scene b in a list that starts with the worst.
    static bool worseThan(const SceneResult &a, const SceneResult &b);

    // Nothing for no scenes.
    static std::optional<Summary> summarize(const QList<SceneResult> &scenes);
};
