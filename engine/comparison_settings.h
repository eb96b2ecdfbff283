#pragma once

#include <QtGlobal>
#include <cmath>

// What one comparison is asked for: the scene, the target bitrate and the height limit.
struct ComparisonSettings {
    double seconds = 0;   // the scene's time in the movie
    double mbps = 0;      // target bitrate in Mbit/s
    qint64 maxHeight = 0; // height limit in pixels; 0 keeps the movie's own height

    // Exact: a bitrate or a scene time that differs in the last bit is another comparison;
    // not-a-number equals itself, so that a setting kept as it was never counts as changed.
    friend bool operator==(const ComparisonSettings &a, const ComparisonSettings &b)
    {
        const auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
        return same(a.seconds, b.seconds) && same(a.mbps, b.mbps) && a.maxHeight == b.maxHeight;
    }
};
