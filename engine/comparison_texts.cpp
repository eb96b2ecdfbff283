#include "engine/comparison_texts.h"

#include "engine/number_text.h"
#include "engine/quality_texts.h"

#include <cmath>
#include <limits>

QString timeText(double seconds)
{
    const double rounded = std::round(seconds); // halves away from zero
    qint64 total = 0;
    if (rounded >= 9.2e18)
        total = std::numeric_limits<qint64>::max();
    else if (rounded > 0)
        total = static_cast<qint64>(rounded);
    return QString::asprintf("%02lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
}

QString measurementText(double targetMbps, const PreviewResult &result)
{
    return QString::number(result.width) + QString::fromUtf8(" × ") + QString::number(result.height)
        + QString::fromUtf8(" · Ziel ") + fixedText(targetMbps, 2) + QString::fromUtf8(" Mbit/s · gemessen ")
        + fixedText(result.actualMbps, 2) + QString::fromUtf8(" Mbit/s");
}

namespace {

QString comparisonTimeText(const PreviewResult &result)
{
    return QString::fromUtf8("Vergleich bei ") + timeText(result.seconds);
}

} // namespace

QString comparisonStatusText(const PreviewResult &result)
{
    return comparisonTimeText(result) + QString::fromUtf8(" · ") + fixedText(result.sampleSeconds, 1)
        + QString::fromUtf8(" s wirklich kodiert");
}

QStringList comparisonCaption(const QString &filmName, const PreviewResult &result)
{
    QStringList lines{filmName, comparisonTimeText(result), measurementText(result.targetMbps, result)};
    if (result.quality)
        lines << qualityLine(*result.quality);
    return lines;
}
