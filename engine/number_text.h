#pragma once

#include <QString>
#include <optional>

// Numbers as the tools read and print them, independent of the user's locale.

// Shortest decimal text that reads back as the same double, always with a fractional part:
// 12 -> "12.0", 0 -> "0.0", 2.5 -> "2.5". Never an exponent (ffmpeg's time options read none):
// 1e-7 -> "0.0000001". Not-a-number and infinities give "nan", "inf", "-inf".
QString doubleText(double value);

// printf's "%.Nf" in the C locale: a decimal point, no grouping, and printf's rounding of the
// exact binary value (0.125 -> "0.12", 0.25 at one decimal -> "0.2"). QString::asprintf rounds
// such ties upwards and drops the sign of -0.
QString fixedText(double value, int decimals);

// strtod in the C locale over the whole text: no leading white space, every character consumed.
// Empty text or any trailing character gives nothing.
std::optional<double> parseNumber(const QString &text);
