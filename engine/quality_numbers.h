#pragma once

#include <QMetaType>
#include <optional>

// How close an encoded clip comes to its reference, as ffmpeg's ssim and psnr filters measure it:
// over the whole clip (the filters' own averages) and for the compared frame alone.
struct QualityNumbers {
    double ssimClip = 0; // SSIM "All", 0..1
    double ssimFrame = 0;
    std::optional<double> psnrClip; // dB, the average over the planes; nothing when infinite
    std::optional<double> psnrFrame;

    friend bool operator==(const QualityNumbers &, const QualityNumbers &) = default;
};

Q_DECLARE_METATYPE(QualityNumbers)
