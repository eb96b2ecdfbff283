#pragma once

#include "engine/encoder_setting.h"

#include <QtGlobal>
#include <cmath>
#include <utility>

// What one comparison is asked for: the scene, the target bitrate, the height limit and the
// encoder setting.
struct ComparisonSettings {
    ComparisonSettings() = default;
    ComparisonSettings(double seconds_, double mbps_, qint64 maxHeight_, EncoderSetting encoder_ = {})
        : seconds(seconds_), mbps(mbps_), maxHeight(maxHeight_), encoder(std::move(encoder_))
    {}

    double seconds = 0;   // the scene's time in the movie
    double mbps = 0;      // target bitrate in Mbit/s
    qint64 maxHeight = 0; // height limit in pixels; 0 keeps the movie's own height
    EncoderSetting encoder;

    // Exact: a bitrate or a scene time that differs in the last bit is another comparison;
    // not-a-number equals itself, so that a setting kept as it was never counts as changed.
    friend bool operator==(const ComparisonSettings &a, const ComparisonSettings &b)
    {
        const auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
        return same(a.seconds, b.seconds) && same(a.mbps, b.mbps) && a.maxHeight == b.maxHeight
            && a.encoder == b.encoder;
    }
};
