#include "engine/quality_texts.h"

#include "engine/number_text.h"

#include <QCoreApplication>

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
    return QCoreApplication::translate("QualityTexts", "Ausschnitt: %1 · Bild: %2")
        .arg(qualityText(quality.ssimClip, quality.psnrClip), qualityText(quality.ssimFrame, quality.psnrFrame));
}
