#include "engine/quality_texts.h"

#include "engine/number_text.h"

QString ssimText(double ssim)
{
    return fixedText(ssim, 4);
}

QString psnrText(const std::optional<double> &psnr)
{
    return psnr ? fixedText(*psnr, 1) + QStringLiteral(" dB") : QStringLiteral("∞");
}

QString mbpsText(double mbps, int decimals)
{
    return fixedText(mbps, decimals) + QStringLiteral(" Mbit/s");
}

QString qualityText(double ssim, const std::optional<double> &psnr)
{
    return QStringLiteral("SSIM ") + ssimText(ssim) + QStringLiteral(" · PSNR ") + psnrText(psnr);
}

QString qualityLine(const QualityNumbers &quality)
{
    return QStringLiteral("Ausschnitt: ") + qualityText(quality.ssimClip, quality.psnrClip) + QStringLiteral(" · Bild: ")
        + qualityText(quality.ssimFrame, quality.psnrFrame);
}
