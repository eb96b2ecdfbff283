#pragma once

#include "analysis/bitrate_search.h"

#include <QList>
#include <QMetaType>
#include <QPointF>
#include <optional>

// The outcome of a bitrate finder run.
struct FinderResult {
    // One of the scenes the search rendered: its clip SSIM at each bitrate tried.
    struct Curve {
        double seconds = 0;    // the scene's compared frame
        QList<QPointF> points; // x: target Mbit/s, y: clip SSIM; ascending bitrate
        friend bool operator==(const Curve &, const Curve &) = default;
    };

    double targetSsim = 0;
    std::optional<double> mbps; // the lowest bitrate found; nothing when even the maximum falls short
    // The lowest clip SSIM of the searched scenes at mbps (at the maximum when there is none), and
    // that scene: its compared frame and the scene time that renders it again.
    double worstSsim = 0;
    double worstSeconds = 0;
    double worstSceneSeconds = 0;
    QList<BitrateSearch::Try> tried;
    QList<Curve> curves; // the searched scenes, worst first at the scan's bitrate

    friend bool operator==(const FinderResult &, const FinderResult &) = default;
};

Q_DECLARE_METATYPE(FinderResult)
