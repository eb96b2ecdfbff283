#include "engine/internal/quality_log.h"

#include "engine/number_text.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace QualityLog {

namespace {

// The number after "<label>:" in the first line that matches linePattern; a label is followed by
// its value up to the next white space.
std::optional<double> valueIn(const QString &text, const QString &linePattern, const QString &label)
{
    const QRegularExpression line(QStringLiteral("^") + linePattern + QStringLiteral(".*$"),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch found = line.match(text);
    if (!found.hasMatch())
        return std::nullopt;
    const QRegularExpression value(QStringLiteral("(?:^|\\s)") + label + QStringLiteral(":(\\S+)"));
    const QRegularExpressionMatch number = value.match(found.captured());
    if (!number.hasMatch())
        return std::nullopt;
    const std::optional<double> parsed = parseNumber(number.captured(1));
    return parsed && !std::isnan(*parsed) ? parsed : std::nullopt;
}

std::optional<double> finite(double psnr)
{
    return std::isinf(psnr) ? std::nullopt : std::optional<double>(psnr);
}

// Every frame's value from a stats file, in the order of its lines "n:1 …", "n:2 …"; nothing when a
// line is out of order or its value is missing.
std::optional<QList<double>> everyFrame(const QString &stats, const QString &label)
{
    QList<double> values;
    const QRegularExpression line(QStringLiteral("^n:(\\d+) .*(?:^|\\s)") + label + QStringLiteral(":(\\S+)"));
    for (const QStringView text : QStringView(stats).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch found = line.match(text);
        const std::optional<double> value = found.hasMatch() ? parseNumber(found.captured(2)) : std::nullopt;
        if (!value || std::isnan(*value) || found.captured(1).toLongLong() != values.size() + 1)
            return std::nullopt;
        values.append(*value);
    }
    return values;
}

} // namespace

std::optional<QualityNumbers> parse(const QString &log, const QString &ssimStats, const QString &psnrStats,
                                    qint64 frame)
{
    // "[Parsed_ssim_6 @ 0x…] SSIM Y:… All:0.980172 (17.027309)"
    const std::optional<double> ssimClip =
        valueIn(log, QStringLiteral("\\[Parsed_ssim_.*\\] SSIM "), QStringLiteral("All"));
    const std::optional<double> psnrClip =
        valueIn(log, QStringLiteral("\\[Parsed_psnr_.*\\] PSNR "), QStringLiteral("average"));
    const QString frameLine = QStringLiteral("n:%1 ").arg(frame + 1);
    const std::optional<double> ssimFrame = valueIn(ssimStats, frameLine, QStringLiteral("All"));
    const std::optional<double> psnrFrame = valueIn(psnrStats, frameLine, QStringLiteral("psnr_avg"));
    if (!ssimClip || !psnrClip || !ssimFrame || !psnrFrame || std::isinf(*ssimClip) || std::isinf(*ssimFrame))
        return std::nullopt;

    QualityNumbers numbers;
    numbers.ssimClip = *ssimClip;
    numbers.ssimFrame = *ssimFrame;
    numbers.psnrClip = finite(*psnrClip);
    numbers.psnrFrame = finite(*psnrFrame);
    const std::optional<QList<double>> ssims = everyFrame(ssimStats, QStringLiteral("All"));
    const std::optional<QList<double>> psnrs = everyFrame(psnrStats, QStringLiteral("psnr_avg"));
    if (ssims && psnrs && ssims->size() == psnrs->size()) {
        for (qsizetype i = 0; i < ssims->size(); ++i)
            numbers.frames.append({ssims->at(i), finite(psnrs->at(i))});
    }
    return numbers;
}

} // namespace QualityLog
