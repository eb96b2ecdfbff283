#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A Tools folder with shell scripts in place of ffmpeg and ffprobe. Every call is recorded
// (tool name and exact arguments) before the script's own body runs. Arguments must not contain
// line breaks (the record is one line per call).
//
// The default scripts behave like well-behaved tools:
//  - ffprobe answers probeJson() for any movie, {"streams":[{"width":W,"height":H}]} for a path
//    ending in "reference.mkv", and {"streams":[{"bit_rate":B}]} for "encoded.mp4";
//  - ffmpeg writes a small valid PNG (a different one for original.png and encoded.png) or an
//    empty file to its last argument.
// Bodies see $DIR (the folder), $LAST (the last argument) and the usual "$@".
class FakeTools {
public:
    struct Call {
        QString tool; // "ffmpeg" or "ffprobe"
        QStringList args;
    };

    FakeTools();

    QString directory() const { return dir_.path(); }

    // Replaces a tool's script body (sh syntax). The recording prologue stays.
    void setBody(const QString &tool, const QString &body);
    // Convenience: a body that sleeps for the given seconds first (e.g. "0.5"), then does the
    // default work. The sleep lets tests cancel or supersede an operation while a tool runs.
    void setDelay(const QString &tool, const QString &seconds);
    // A body that runs the given shell text first, then does the default work (unless the text
    // exits), e.g. to fail one step: `case "$LAST" in *reference.mkv) exit 1 ;; esac`.
    void setPrelude(const QString &tool, const QString &shell);
    // The JSON the default ffprobe prints for a movie; defaults to a 100 s 1920x1080 25 fps h264.
    void setProbeJson(const QString &json);
    // Width and height the default ffprobe reports for reference.mkv; bitrate for encoded.mp4
    // (an empty text leaves "bit_rate" out).
    void setReferenceSize(int width, int height);
    void setEncodedBitrate(const QString &bitsPerSecond);
    void removeTool(const QString &tool);

    QList<Call> calls() const;
    void clearCalls();
    // Calls of one tool, in order.
    QList<Call> calls(const QString &tool) const;

    static QString defaultProbeJson();

private:
    void writeScript(const QString &tool, const QString &body);
    QString defaultBody(const QString &tool) const;
    void writeDefaults();

    QTemporaryDir dir_;
};
