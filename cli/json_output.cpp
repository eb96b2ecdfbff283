#include "cli/json_output.h"

#include "engine/preview_error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// One JSON value in its compact text form.
QByteArray json(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace

QByteArray JsonOutput::object(const QList<std::pair<const char *, QJsonValue>> &members)
{
    QByteArray text = "{";
    for (const auto &[key, value] : members) {
        if (text.size() > 1)
            text += ',';
        text += json(QString::fromLatin1(key)) + ':' + json(value);
    }
    return text + '}';
}

QByteArray JsonOutput::object(const QList<std::pair<const char *, QJsonValue>> &members,
                              const QList<std::pair<const char *, QByteArray>> &nested)
{
    QByteArray text = object(members);
    text.chop(1);
    for (const auto &[key, value] : nested)
        text += (text.size() > 1 ? "," : "") + json(QString::fromLatin1(key)) + ':' + value;
    return text + '}';
}

QJsonValue JsonOutput::optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

void JsonOutput::printLine(const QByteArray &line)
{
    errno = 0;
    const bool written = std::fwrite(line.constData(), 1, size_t(line.size()), stdout) == size_t(line.size())
        && std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0;
    if (written)
        return;
    const int error = errno;
    std::clearerr(stdout);
    if (error == EPIPE)
        throw OutputClosed();
    throw PreviewError::system(QStringLiteral("cannot write to standard output: ")
                               + QString::fromLocal8Bit(std::strerror(error)));
}
