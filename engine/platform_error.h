#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failure reported by the system itself (file system, JSON parser, process launch), carried
// with the system's own text, unchanged.
class PlatformError : public std::exception {
public:
    explicit PlatformError(QString text) : text_(std::move(text)), utf8_(text_.toUtf8()) {}

    const QString &text() const { return text_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString text_;
    QByteArray utf8_;
};
