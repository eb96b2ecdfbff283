#include "comparison_texts.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// printf's "%.Nf" in the C locale: a decimal point, no grouping, and printf's rounding of the
// exact binary value (0.125 gives "0.12"). std::to_chars promises exactly that; QString::asprintf
// rounds such ties upwards and drops the sign of -0.
QString fixed(double value, int decimals)
{
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer, end.ptr - buffer);
}

} // namespace

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
        + QString::fromUtf8(" · Ziel ") + fixed(targetMbps, 2) + QString::fromUtf8(" Mbit/s · gemessen ")
        + fixed(result.actualMbps, 2) + QString::fromUtf8(" Mbit/s");
}

QString comparisonStatusText(const PreviewResult &result)
{
    return QString::fromUtf8("Vergleich bei ") + timeText(result.seconds) + QString::fromUtf8(" · ")
        + fixed(result.sampleSeconds, 1) + QString::fromUtf8(" s wirklich kodiert");
}
