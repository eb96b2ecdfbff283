#include "engine/comparison_texts.h"

#include "engine/encoder_catalogue.h"
#include "engine/number_text.h"
#include "engine/quality_texts.h"

#include <algorithm>
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

QString sceneTimeText(double seconds, const QList<double> &times)
{
    QList<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    bool close = false;
    for (qsizetype i = 1; i < sorted.size() && !close; ++i)
        close = sorted[i] - sorted[i - 1] < 1;
    if (!close)
        return timeText(seconds);
    const double tenths = std::round(seconds * 10); // halves away from zero
    qint64 total = 0;
    if (tenths >= 9.2e18)
        total = std::numeric_limits<qint64>::max();
    else if (tenths > 0)
        total = static_cast<qint64>(tenths);
    return timeText(double(total / 10)) + QString::asprintf(".%lld", total % 10);
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

QStringList comparisonCaption(const QString &movieName, const PreviewResult &result)
{
    QStringList lines{movieName, comparisonTimeText(result), measurementText(result.targetMbps, result)};
    if (result.quality)
        lines << qualityLine(*result.quality);
    // "Links: Original · rechts: HEVC-Vorschau", naming another encoder setting than the default.
    QString sides = QStringLiteral("Links: Original · rechts: %1-Vorschau")
                        .arg(EncoderCatalogue::formatName(result.encoder.encoder));
    if (!result.encoder.isDefault())
        sides += QStringLiteral(" (%1)").arg(EncoderCatalogue::settingText(result.encoder));
    lines << sides;
    return lines;
}
