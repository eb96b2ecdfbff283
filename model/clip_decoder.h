#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <memory>

// One lossless, intra-only clip (as PlaybackClips holds them) read in process with FFmpeg's
// libraries. Opening indexes the video packets with their timestamps without decoding any: frame
// n is the n-th packet of the video stream, counted from 0, whatever its timestamp says (Matroska
// keeps milliseconds only, and two frames may carry the same one). Reading the frames in order
// costs no seek. Used by one thread at a time.
class ClipDecoder {
public:
    // Opens and indexes the clip. Throws PreviewError when it is no clip with video frames. While
    // stop, when given, is set, every read of the file fails at once.
    explicit ClipDecoder(const QString &path, const std::atomic<bool> *stop = nullptr);
    ~ClipDecoder();

    ClipDecoder(const ClipDecoder &) = delete;
    ClipDecoder &operator=(const ClipDecoder &) = delete;

    qint64 frameCount() const;
    // The container's time of frame n in seconds (its presentation time, else its decoding time).
    double seconds(qint64 frame) const;
    // The frames' pixel size as stored.
    QSize size() const;

    // Frame n (0 <= n < frameCount) as an RGB32 image, scaled to size when that is valid and
    // smaller than the clip's own. Throws PreviewError when it cannot be read or decoded.
    QImage frame(qint64 n, QSize size = QSize());

    // The failure of a clip that cannot be shown, with FFmpeg's own words below it.
    static QString unreadableText();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};
