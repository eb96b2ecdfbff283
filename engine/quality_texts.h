#pragma once

#include "engine/quality_numbers.h"

#include <QString>
#include <optional>

// The measured numbers as the window writes them, always with a decimal point.

// "0.9581": SSIM with four decimals.
QString ssimText(double ssim);
// "36.9 dB"; "∞" for an infinite PSNR (identical pictures).
QString psnrText(const std::optional<double> &psnr);
// "2.37 Mbit/s" with two decimals, "2.3 Mbit/s" with one.
QString mbpsText(double mbps, int decimals);
// "SSIM 0.9581 · PSNR 36.9 dB"
QString qualityText(double ssim, const std::optional<double> &psnr);
// "Ausschnitt: SSIM 0.9581 · PSNR 36.9 dB · Bild: SSIM 0.9620 · PSNR 38.4 dB"
QString qualityLine(const QualityNumbers &quality);
