#pragma once

#include <QtGlobal>
#include <optional>

// One frame's values in the stats files of a quality measurement.
struct FrameQuality {
    double ssim = 0;            // "All", 0..1
    std::optional<double> psnr; // dB, the average over the planes; nothing when infinite

    friend bool operator==(const FrameQuality &, const FrameQuality &) = default;
};
