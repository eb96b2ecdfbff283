#include "model/clip_player.h"

#include "model/frame_pair_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

using Request = FramePairReader::Request;

// Playing, the reader decodes at most this many frames ahead; paused, this many on each side of
// the frame shown, so that a step finds its frame ready.
constexpr qint64 maxLookahead = 16;
constexpr qint64 maxAround = 2;

} // namespace

ClipPlayer::ClipPlayer(QObject *parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &ClipPlayer::tick);
}

ClipPlayer::~ClipPlayer()
{
    delete reader_;
}

void ClipPlayer::open(const PlaybackClips &clips, int rotation, qint64 startFrame)
{
    close();
    target_ = startFrame;
    auto *reader = new FramePairReader(this);
    reader_ = reader;
    // What an earlier reader still had on its way is dropped with it.
    const QPointer<FramePairReader> from(reader);
    const auto current = [this, from] { return from && from == reader_; };
    connect(reader, &FramePairReader::opened, this, [this, current](const QList<double> &seconds, QSize size) {
        if (current())
            opened(seconds, size);
    });
    connect(reader, &FramePairReader::decoded, this, [this, current](const FramePair &pair) {
        if (current())
            decoded(pair);
    });
    connect(reader, &FramePairReader::failed, this, [this, current](const QString &message) {
        if (current())
            setState(State::Failed, message);
    });
    setState(State::Opening);
    reader->start(clips, rotation);
}

void ClipPlayer::close()
{
    setPlaying(false);
    delete reader_;
    cache_.clear();
    times_.clear();
    size_ = QSize();
    target_ = -1;
    const bool hadFrame = shown_ >= 0;
    shown_ = -1;
    setState(State::Closed);
    if (hadFrame)
        emit frameChanged();
}

void ClipPlayer::setFailed(const QString &failure)
{
    close();
    setState(State::Failed, failure);
}

void ClipPlayer::setState(State state, const QString &failure)
{
    failure_ = failure;
    if (state == State::Failed)
        setPlaying(false);
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

void ClipPlayer::setPlaying(bool playing)
{
    if (!playing)
        timer_.stop();
    if (playing_ == playing)
        return;
    playing_ = playing;
    emit playingChanged();
}

void ClipPlayer::opened(const QList<double> &seconds, QSize size)
{
    times_.clear();
    // A clip whose timestamps do not advance plays at 25 frames a second.
    const bool timed = seconds.constLast() > seconds.constFirst();
    for (qsizetype n = 0; n < seconds.size(); ++n)
        times_ << (timed ? seconds.at(n) - seconds.constFirst() : double(n) / 25);
    size_ = size;
    target_ = std::clamp<qint64>(target_, 0, frameCount() - 1);
    setState(State::Ready);
    request();
}

void ClipPlayer::showFrame(qint64 n)
{
    const bool wasPlaying = playing_;
    setPlaying(false);
    if (state_ == State::Opening)
        target_ = n;
    if (state_ != State::Ready)
        return;
    target_ = std::clamp<qint64>(n, 0, frameCount() - 1);
    if (wasPlaying || target_ != shown_)
        request();
}

void ClipPlayer::step(qint64 delta)
{
    if (state_ == State::Ready)
        showFrame(target_ + delta);
}

void ClipPlayer::play()
{
    if (state_ != State::Ready || frameCount() < 2 || playing_)
        return;
    startSeconds_ = times_.at(target_);
    clock_.start();
    lastDue_ = target_;
    due_ = 1;
    playedShown_ = shown_ == target_ ? 1 : 0;
    setPlaying(true);
    tick();
}

void ClipPlayer::pause()
{
    if (!playing_)
        return;
    setPlaying(false);
    request(); // the frame shown at the clips' own size
}

void ClipPlayer::setPlaybackSize(QSize size)
{
    if (playbackSize_ == size)
        return;
    playbackSize_ = size;
    if (playing_)
        request();
}

void ClipPlayer::setDifferenceWanted(bool wanted)
{
    if (std::exchange(difference_, wanted) != wanted)
        request();
}

double ClipPlayer::loopSeconds() const
{
    // The last frame lasts as long as the frames do on average.
    const qint64 last = frameCount() - 1;
    return last > 0 ? times_.at(last) * (last + 1) / last : 0;
}

qint64 ClipPlayer::dueFrame() const
{
    const double loop = loopSeconds();
    const double position = std::fmod(startSeconds_ + double(clock_.nsecsElapsed()) / 1e9, loop);
    const auto after = std::upper_bound(times_.cbegin(), times_.cend(), position);
    return std::max<qint64>(0, after - times_.cbegin() - 1);
}

void ClipPlayer::tick()
{
    if (!playing_)
        return;
    const qint64 count = frameCount();
    const qint64 due = dueFrame();
    if (due != lastDue_) {
        due_ += (due - lastDue_ + count) % count;
        lastDue_ = due;
        target_ = due;
    }
    request();
    const double loop = loopSeconds();
    const double position = std::fmod(startSeconds_ + double(clock_.nsecsElapsed()) / 1e9, loop);
    const double next = due + 1 < count ? times_.at(due + 1) : loop;
    timer_.start(std::max(1, int(std::ceil((next - position) * 1000))));
}

QSize ClipPlayer::wantedSize() const
{
    const bool smaller = playbackSize_.isValid() && playbackSize_.width() < size_.width();
    return playing_ && smaller ? playbackSize_ : size_;
}

bool ClipPlayer::suffices(const FramePair &pair) const
{
    return pair.original.width() >= wantedSize().width() && (!difference_ || !pair.difference.isNull());
}

void ClipPlayer::request()
{
    if (state_ != State::Ready)
        return;
    if (const auto kept = cache_.constFind(target_); kept != cache_.cend() && kept->index != shown_)
        show(*kept);
    const QSize size = wantedSize();
    const qint64 count = frameCount();
    const qint64 pairBytes = qint64(size.width()) * size.height() * (difference_ ? 9 : 8);
    const qint64 capacity = std::max<qint64>(2, cacheBytes_ / std::max<qint64>(1, pairBytes));
    QList<Request> wanted;
    const auto want = [&](qint64 n) {
        const auto kept = cache_.constFind(n);
        if (kept == cache_.cend() || !suffices(*kept))
            wanted << Request{n, size == size_ ? QSize() : size, difference_};
    };
    want(target_);
    if (playing_) {
        for (qint64 ahead = 1; ahead < std::min({capacity - 1, maxLookahead, count}); ++ahead)
            want((target_ + ahead) % count);
    } else {
        for (qint64 d = 1; d <= std::min(maxAround, (capacity - 1) / 2); ++d)
            for (const qint64 n : {target_ + d, target_ - d})
                if (n >= 0 && n < count)
                    want(n);
    }
    reader_->setWanted(wanted);
}

void ClipPlayer::decoded(const FramePair &pair)
{
    cache_.insert(pair.index, pair);
    trimCache();
    if (pair.index == target_ && (pair.index != shown_ || suffices(pair)))
        show(pair);
}

void ClipPlayer::show(const FramePair &pair)
{
    const bool moved = pair.index != shown_;
    if (playing_ && moved)
        ++playedShown_;
    shown_ = pair.index;
    emit pairShown(pair);
    if (moved)
        emit frameChanged();
}

void ClipPlayer::trimCache()
{
    const qint64 count = frameCount();
    // How soon a frame may be wanted: playing, the frames coming up; paused, the nearest ones.
    const auto distance = [&](qint64 n) { return playing_ ? (n - target_ + count) % count : std::abs(n - target_); };
    qint64 total = 0;
    for (const FramePair &pair : std::as_const(cache_))
        total += pair.bytes();
    while (total > cacheBytes_ && cache_.size() > 1) {
        qint64 farthest = -1;
        for (auto it = cache_.cbegin(); it != cache_.cend(); ++it)
            if (it.key() != target_ && (farthest < 0 || distance(it.key()) > distance(farthest)))
                farthest = it.key();
        total -= cache_.value(farthest).bytes();
        cache_.remove(farthest);
    }
}
