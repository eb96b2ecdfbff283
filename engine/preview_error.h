#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The engine's own failure: one German text that is shown to the user verbatim.
class PreviewError : public std::exception {
public:
    explicit PreviewError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

    const QString &message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

    // Every text the engine can fail with, apart from a tool's own log tail.
    static QString toolsMissing();
    static QString unknownToolFailure();
    static QString toolKilled(const QString &tool, int signal);
    static QString toolFailed(const QString &tool, int status);
    static QString noSpace(const QString &folder);
    static QString notAFilm(const QString &fileName);
    static QString noFramesRead();
    static QString unreadableMovieData();
    static QString noVideoStream();
    static QString hdrNotSupported();
    static QString interlacedNotSupported();
    static QString unknownDuration();
    static QString invalidBitrate();
    static QString invalidSceneTime();
    static QString referenceNotCreated();
    static QString frameNotExtracted();
    static QString resultGone();
    static QString qualityNotMeasured();
    // A file of the user's that could not be written.
    static QString noSpaceFor(const QString &file);
    static QString linkRefused(const QString &file);

private:
    QString message_;
    QByteArray utf8_;
};
