#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one failure the engine, the analysis and the front ends report: a text that is shown to the
// user verbatim. Most are the engine's own German texts, built by the helpers below; a failure of
// the system itself (file system, JSON parser, process launch) carries the system's text unchanged
// and says so by its kind. Cancellation is not a failure of this kind: see CancelledError.
class PreviewError : public std::exception {
public:
    enum class Kind {
        Engine, // one of the texts below, or a tool's own log tail
        System, // the system's own text, unchanged
    };

    explicit PreviewError(QString message, Kind kind = Kind::Engine)
        : message_(std::move(message)), utf8_(message_.toUtf8()), kind_(kind)
    {}
    static PreviewError system(QString text) { return PreviewError(std::move(text), Kind::System); }

    const QString &message() const { return message_; }
    Kind kind() const { return kind_; }
    const char *what() const noexcept override { return utf8_.constData(); }
    // The same failure with further lines below its text (a tool's own words); unchanged without.
    PreviewError withDetail(const QString &lines) const;

    // Every text the engine and the analysis can fail with, apart from a tool's own log tail.
    static PreviewError toolsMissing();
    static PreviewError unknownToolFailure();
    static PreviewError toolKilled(const QString &tool, int signal);
    static PreviewError toolFailed(const QString &tool, int status);
    static PreviewError noSpace(const QString &folder);
    static PreviewError notAMovie(const QString &fileName);
    static PreviewError notALocalFile(const QString &url);
    static PreviewError noFileGiven();
    static PreviewError noFramesRead();
    static PreviewError unreadableMovieData();
    static PreviewError noVideoStream();
    static PreviewError hdrNotSupported();
    static PreviewError interlacedNotSupported();
    static PreviewError unknownDuration();
    static PreviewError invalidBitrate();
    static PreviewError invalidSceneTime();
    static PreviewError referenceNotCreated();
    static PreviewError frameNotExtracted();
    static PreviewError resultGone();
    static PreviewError qualityNotMeasured();
    static PreviewError noScenes();
    // A file of the user's that could not be written.
    static PreviewError noSpaceFor(const QString &file);
    static PreviewError linkRefused(const QString &file);

private:
    QString message_;
    QByteArray utf8_;
    Kind kind_;
};
