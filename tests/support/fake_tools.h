#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A Tools folder with shell scripts in place of ffmpeg and ffprobe that record every call (tool and
// exact arguments, which must not contain line breaks) before their body runs. By default ffprobe
// prints defaultProbeJson() for a movie, the reference size for "*reference.mkv" and a bit_rate of
// 2370000 for "*encoded.mp4"; ffmpeg writes a small PNG (one for original.png, another for
// encoded.png) or an empty file to its last argument; for a quality measurement (ssim and psnr
// stats files) it writes the stats qualityBody() describes into its working folder and the
// summary lines to standard error. Bodies see $DIR (this folder) and $LAST.
class FakeTools {
public:
    struct Call {
        QString tool; // "ffmpeg" or "ffprobe"
        QStringList args;
    };

    FakeTools();

    QString directory() const { return dir_.path(); }
    // Replaces a tool's body (sh); the recording stays.
    void setBody(const QString &tool, const QString &body);
    // The default work after the shell text (which may end a step early:
    // `case "$LAST" in *reference.mkv) exit 1 ;; esac`), or after a sleep of some seconds ("0.5").
    void setPrelude(const QString &tool, const QString &shell) { setBody(tool, shell + '\n' + defaultBody(tool)); }
    void setDelay(const QString &tool, const QString &seconds) { setPrelude(tool, "sleep " + seconds); }
    // What the default ffprobe reports for a movie (defaultProbeJson(): 100 s of 1920×1080 h264 at
    // 25 fps) and for reference.mkv (1920×1080).
    void setProbeJson(const QString &json) { write("movie.json", json.toUtf8()); }
    void setReferenceSize(int width, int height);
    // ffmpeg copies this clip to the reference clip and to the playback copy of the encoded clip,
    // so that every frame of a comparison can be shown (a default ffmpeg writes empty clips).
    void useClip(const QString &clip)
    {
        setPrelude("ffmpeg",
                   R"(case "$LAST" in *reference.mkv|*playback-encoded.mkv) cp ')" + clip
                       + R"(' "$LAST"; exit 0 ;; esac)");
    }
    void removeTool(const QString &tool) { QFile::remove(dir_.filePath(tool)); }

    QList<Call> calls(const QString &tool = QString()) const; // all, or one tool's, in order
    void clearCalls() { QFile::remove(dir_.filePath("calls.log")); }
    // A letter a call: ffmpeg to reference.mkv (c), ffprobe of it (p), ffmpeg to original.png (o),
    // to encoded.mp4 (e), ffprobe of it (m), ffmpeg to encoded.png (x), a quality measurement (q).
    QString callLetters() const;
    // The value after an option (such as "-b:v") in each ffmpeg call that has it, in order.
    QStringList values(const QString &option) const;

    static QString defaultProbeJson();
    // The fake measurement: frame n of the clip (from 0) has SSIM 0.9 + (n + 1) / 10000 and PSNR
    // 30.<n + 1> dB; over the clip SSIM 0.951 and an infinite PSNR.
    static QString qualityBody();

private:
    QString defaultBody(const QString &tool) const;
    void write(const QString &name, const QByteArray &content);

    QTemporaryDir dir_;
};
