#include "engine/number_text.h"

#include <QByteArray>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

QString doubleText(double value)
{
    if (!std::isfinite(value))
        return value != value ? QStringLiteral("nan") : value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    // Shortest round-trip digits in plain positional notation: ffmpeg's time parser reads no
    // exponent, and the clip key only needs a deterministic text.
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QString text = error == std::errc() ? QString::fromLatin1(buffer, int(end - buffer)) : QString::number(value, 'f');
    if (!text.contains(QLatin1Char('.')))
        text += QLatin1String(".0");
    return text;
}

QString fixedText(double value, int decimals)
{
    // std::to_chars promises printf's digits for the given precision.
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer, end.ptr - buffer);
}

std::optional<double> parseNumber(const QString &text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QByteArray bytes = text.toUtf8();
    // strtod skips leading white space; the number must start at the first character.
    if (bytes.isEmpty() || isspace_l(static_cast<unsigned char>(bytes.front()), cLocale))
        return std::nullopt;
    const char *begin = bytes.constData();
    char *end = nullptr;
    const double value = strtod_l(begin, &end, cLocale);
    // An embedded NUL ends strtod early and therefore fails the whole-text test too.
    if (end != begin + bytes.size())
        return std::nullopt;
    return value;
}
