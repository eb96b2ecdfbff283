#pragma once

#include "engine/playback_clips.h"
#include "model/frame_pair.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <memory>
#include <thread>

// Reads frame pairs of a result's two playback clips on a thread of its own, so that decoding
// never holds up the window. It opens both clips there and reports their frames, then decodes
// what it was last asked for, the most urgent first. A new wish replaces the old one: pairs not
// yet started are dropped, so that it never works on frames no longer wanted.
class FramePairReader : public QObject {
    Q_OBJECT
public:
    struct Request {
        qint64 index = 0;
        QSize size; // the upright pixel size to scale down to; invalid: the clips' own
        bool difference = false;

        friend bool operator==(const Request &, const Request &) = default;
    };

    explicit FramePairReader(QObject *parent = nullptr);
    // Stops the reading at once (a frame's decode at the most) and ends the thread.
    ~FramePairReader() override;

    // Opens the clips on the reader's thread (rotation: the movie's, as PreviewResult::rotation,
    // for frames that stand upright). Once only, after connecting to the signals.
    void start(const PlaybackClips &clips, int rotation);
    void setWanted(const QList<Request> &wanted);

signals:
    // These come from the reader's thread: receivers get them queued on their own.
    // The clips are open: the time of each frame both have, in seconds as the reference clip
    // keeps it, and the upright pixel size of the frames.
    void opened(const QList<double> &seconds, QSize size);
    // A clip could not be opened or a frame not decoded; nothing more comes.
    void failed(const QString &message);
    void decoded(const FramePair &pair);

private:
    struct Shared;
    void run(const PlaybackClips &clips, int rotation);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};
