#pragma once

#include <QString>
#include <optional>

// Numbers as the tools read and print them, independent of the user's locale.

// Shortest decimal text that reads back as the same double, always with a fractional part:
// 12 -> "12.0", 0 -> "0.0", 2.5 -> "2.5". Deterministic; very large or small values may use
// an exponent that ffmpeg reads as the same number.
QString doubleText(double value);

// strtod in the C locale over the whole text: no leading white space, every character consumed.
// Empty text or any trailing character gives nothing.
std::optional<double> parseNumber(const QString &text);
