#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <optional>
#include <stdexcept>
#include <utility>

// The lines bitglance-cli prints: one compact JSON object per line, keys in the given order.
namespace JsonOutput {

// Standard output could not take a line: its pipe has no reader any more (EPIPE).
struct OutputClosed : std::runtime_error {
    OutputClosed() : std::runtime_error("standard output closed") {}
};

QByteArray object(const QList<std::pair<const char *, QJsonValue>> &members);
QJsonValue optionalNumber(const std::optional<double> &value);

// Writes the line and flushes it. Throws OutputClosed for a pipe without reader and
// std::runtime_error for any other failure (a full disk, a closed descriptor).
void printLine(const QByteArray &line);

} // namespace JsonOutput
