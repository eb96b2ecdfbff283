#pragma once

#include "engine/playback_clips.h"
#include "model/frame_pair.h"

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QTimer>

class FramePairReader;

// Shows every frame of a result's two clips: a frame asked for, the next or the previous one, or
// the clip played in a loop at its own frame rate (from the reference clip's timestamps). It
// hands on pairs only, so that both panes always show the same frame of their clip. Frames are
// decoded on a reader thread, ahead of the playhead while playing; a frame that is not ready when
// it is due is skipped rather than shown late. Decoded pairs are kept within a memory bound
// (fewer of them for larger frames): paused, the ones around the frame shown, at the clips' own
// size; playing, the ones coming up, at the playback size. Lives on the GUI thread.
class ClipPlayer : public QObject {
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY stateChanged)
    Q_PROPERTY(qint64 frame READ frame NOTIFY frameChanged)
    Q_PROPERTY(bool playing READ playing NOTIFY playingChanged)

public:
    // Closed: no clips. Failed: they could not be read (failure() says why); nothing is shown.
    enum class State { Closed, Opening, Ready, Failed };
    Q_ENUM(State)

    // The memory the decoded pairs may take, bytes.
    static constexpr qint64 defaultCacheBytes = qint64(240) << 20;

    explicit ClipPlayer(QObject *parent = nullptr);
    ~ClipPlayer() override;

    // Opens the clips (rotation as PreviewResult::rotation) and, once they are open, shows
    // startFrame (or the frame asked for meanwhile). Closes the clips open before.
    void open(const PlaybackClips &clips, int rotation, qint64 startFrame);
    void close();
    // The clips could not be made: closed, and failed for that reason.
    void setFailed(const QString &failure);

    State state() const { return state_; }
    const QString &failure() const { return failure_; }
    // The frame whose pair was handed on last; -1 before the first.
    qint64 frame() const { return shown_; }
    // The frame asked for last (the one shown, or on its way); -1 while none is open.
    qint64 target() const { return target_; }
    // The frames both clips have, once open.
    qint64 frameCount() const { return times_.size(); }
    // The reference clip's time of frame n in seconds (its container's).
    double seconds(qint64 n) const { return times_.value(n); }
    bool playing() const { return playing_; }

    // Shows frame n (within the clip), pausing. Asked for before the clips are open, it becomes
    // the frame they start on.
    void showFrame(qint64 n);
    // The frame delta frames from the one asked for last, within the clip; pauses.
    void step(qint64 delta);
    void play();
    void pause();
    void togglePlaying() { playing_ ? pause() : play(); }

    // The upright pixel size playback decodes at (the panes' picture size); invalid: the clips'.
    void setPlaybackSize(QSize size);
    // Whether each pair comes with its difference picture.
    void setDifferenceWanted(bool wanted);
    void setCacheBytes(qint64 bytes) { cacheBytes_ = bytes; }
    // The decoded pairs kept, by frame.
    const QMap<qint64, FramePair> &cache() const { return cache_; }

    // Since playback last started: frames that fell due, and those of them not shown.
    qint64 dueFrames() const { return due_; }
    qint64 skippedFrames() const { return due_ - playedShown_; }

signals:
    void stateChanged();
    void frameChanged();
    void playingChanged();
    // A pair to show: another frame, or the one shown in a better size or with its difference.
    void pairShown(const FramePair &pair);

private:
    void setState(State state, const QString &failure = {});
    void setPlaying(bool playing);
    void opened(const QList<double> &seconds, QSize size);
    void decoded(const FramePair &pair);
    void show(const FramePair &pair);
    // Whether the pair is what the player asks for now: big enough, with a difference if asked.
    bool suffices(const FramePair &pair) const;
    QSize wantedSize() const;
    // The frame the playback clock has reached.
    qint64 dueFrame() const;
    double loopSeconds() const;
    void tick();
    // Shows the frame wanted if it is kept, and tells the reader what to decode next.
    void request();
    void trimCache();

    QPointer<FramePairReader> reader_;
    State state_ = State::Closed;
    QString failure_;
    QList<double> times_; // from the first frame
    QSize size_;          // the clips' upright size
    qint64 target_ = -1;
    qint64 shown_ = -1;
    QMap<qint64, FramePair> cache_;
    qint64 cacheBytes_ = defaultCacheBytes;
    QSize playbackSize_;
    bool difference_ = false;

    bool playing_ = false;
    QTimer timer_;
    QElapsedTimer clock_;
    double startSeconds_ = 0; // the clip time at which the clock started
    qint64 lastDue_ = -1;
    qint64 due_ = 0;
    qint64 playedShown_ = 0;
};
