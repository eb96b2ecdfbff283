#pragma once

#include "engine/frame_quality.h"

#include <QList>
#include <QMetaType>
#include <optional>

// How close an encoded clip comes to its reference, as ffmpeg's ssim and psnr filters measure it:
// over the whole clip (the filters' own averages), for the compared frame alone, and for every
// frame of the clip.
struct QualityNumbers {
    double ssimClip = 0; // SSIM "All", 0..1
    double ssimFrame = 0;
    std::optional<double> psnrClip; // dB, the average over the planes; nothing when infinite
    std::optional<double> psnrFrame;
    QList<FrameQuality> frames; // every frame of the clip in the clip's order, from 0

    // The index of the frame with the lowest SSIM (the first of equals); nothing without frames.
    std::optional<qint64> worstFrame() const;

    friend bool operator==(const QualityNumbers &, const QualityNumbers &) = default;
};

Q_DECLARE_METATYPE(QualityNumbers)
