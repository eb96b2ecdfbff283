#pragma once

#include "analysis/bitrate_search.h"
#include "analysis/scene_result.h"

#include <QList>
#include <QMetaType>
#include <QPointF>
#include <optional>

// The outcome of a bitrate finder run.
struct FinderResult {
    // One of the scenes searched: its clip SSIM at each bitrate it was rendered at.
    struct Curve {
        double seconds = 0;    // the scene's compared frame
        QList<QPointF> points; // x: target Mbit/s, y: clip SSIM; ascending bitrate
        friend bool operator==(const Curve &, const Curve &) = default;
    };

    double targetSsim = 0;
    std::optional<double> mbps; // the lowest bitrate found; nothing when even the maximum falls short
    // The lowest clip SSIM of the scenes at mbps (at the maximum when there is none), and that scene:
    // its compared frame and the scene time that renders it again.
    double worstSsim = 0;
    double worstSeconds = 0;
    double worstSceneSeconds = 0;
    QList<BitrateSearch::Try> tried;
    // At each bitrate of `tried`, in its order: the scene worst there.
    QList<SceneResult> worstTried;
    int scenesChecked = 0; // the scenes rendered at mbps (at the maximum when there is none)
    int rounds = 0;        // runs of renders at one bitrate after the scan
    // The searched scenes: those worst at the scan's bitrate, worst first, then those that joined
    // the search when they fell short where those reached the target.
    QList<Curve> curves;

    friend bool operator==(const FinderResult &, const FinderResult &) = default;
};

Q_DECLARE_METATYPE(FinderResult)
