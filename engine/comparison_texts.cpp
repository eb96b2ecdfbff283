#include "engine/comparison_texts.h"

#include "engine/encoder_catalogue.h"
#include "engine/number_text.h"
#include "engine/quality_texts.h"

#include <QCoreApplication>

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
    return QCoreApplication::translate("ComparisonTexts", "%1 × %2 · Ziel %3 Mbit/s · gemessen %4 Mbit/s")
        .arg(QString::number(result.width), QString::number(result.height), fixedText(targetMbps, 2),
             fixedText(result.actualMbps, 2));
}

namespace {

QString comparisonTimeText(const PreviewResult &result)
{
    return QCoreApplication::translate("ComparisonTexts", "Vergleich bei %1").arg(timeText(result.seconds));
}

} // namespace

QString comparisonStatusText(const PreviewResult &result)
{
    return QCoreApplication::translate("ComparisonTexts", "%1 · %2 s wirklich kodiert")
        .arg(comparisonTimeText(result), fixedText(result.sampleSeconds, 1));
}

QStringList comparisonCaption(const QString &movieName, const PreviewResult &result)
{
    QStringList lines{movieName, comparisonTimeText(result), measurementText(result.targetMbps, result)};
    if (result.quality)
        lines << qualityLine(*result.quality);
    // "Links: Original · rechts: HEVC-Vorschau", naming another encoder setting than the default.
    QString sides = QCoreApplication::translate("ComparisonTexts", "Links: Original · rechts: %1-Vorschau")
                        .arg(EncoderCatalogue::formatName(result.encoder.encoder));
    if (!result.encoder.isDefault())
        sides += QStringLiteral(" (%1)").arg(EncoderCatalogue::settingText(result.encoder));
    lines << sides;
    return lines;
}
