#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/quality_numbers.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// What one ffmpeg run with the ssim and psnr filters reports: over the clip, the summary lines in
// its log ("SSIM … All:0.958…" and "PSNR … average:36.9…"); for one frame, that frame's line in
// each stats file ("n:<frame + 1> … All:…" and "n:… psnr_avg:…"). An infinite PSNR (identical
// pictures) gives nothing for it. Nothing at all when a value is missing or not a number. Every
// frame's pair of values besides, when both stats files list the same frames in order (else none).
namespace QualityLog {

std::optional<QualityNumbers> parse(const QString &log, const QString &ssimStats, const QString &psnrStats,
                                    qint64 frame);

} // namespace QualityLog
