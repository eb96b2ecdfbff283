#include "model/frame_pair_reader.h"

#include "engine/error_description.h"
#include "model/clip_decoder.h"
#include "model/difference_image.h"

#include <QTransform>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <future>
#include <mutex>

struct FramePairReader::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    QList<Request> wanted;
    std::atomic<bool> stop = false;
};

FramePairReader::FramePairReader(QObject *parent) : QObject(parent), shared_(std::make_shared<Shared>())
{}

void FramePairReader::start(const PlaybackClips &clips, int rotation)
{
    thread_ = std::thread([this, clips, rotation] { run(clips, rotation); });
}

FramePairReader::~FramePairReader()
{
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->changed.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void FramePairReader::setWanted(const QList<Request> &wanted)
{
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->wanted = wanted;
    }
    shared_->changed.notify_one();
}

void FramePairReader::run(const PlaybackClips &clips, int rotation)
{
    Shared &shared = *shared_;
    const bool turned = rotation % 180 != 0;
    const auto upright = [rotation](QImage frame) {
        return rotation % 360 == 0 ? frame : frame.transformed(QTransform().rotate(rotation));
    };
    try {
        ClipDecoder reference(clips.reference, &shared.stop);
        ClipDecoder encoded(clips.encoded, &shared.stop);
        const qint64 count = std::min(reference.frameCount(), encoded.frameCount());
        QList<double> seconds;
        for (qint64 n = 0; n < count; ++n)
            seconds << reference.seconds(n);
        const QSize size = reference.size();
        emit opened(seconds, turned ? size.transposed() : size);
        for (;;) {
            Request request;
            {
                std::unique_lock lock(shared.mutex);
                shared.changed.wait(lock, [&] { return shared.stop || !shared.wanted.isEmpty(); });
                if (shared.stop)
                    return;
                request = shared.wanted.takeFirst();
            }
            if (request.index < 0 || request.index >= count)
                continue;
            const QSize stored = request.size.isValid() && turned ? request.size.transposed() : request.size;
            // Both clips at once, one on a thread of its own (each decoder is used by one thread).
            auto other = std::async(std::launch::async, [&] { return upright(encoded.frame(request.index, stored)); });
            FramePair pair{request.index, upright(reference.frame(request.index, stored)), other.get(), {}};
            if (request.difference)
                pair.difference = differenceImage(pair.original, pair.encoded);
            emit decoded(pair);
        }
    } catch (...) {
        if (!shared.stop)
            emit failed(errorDescription(std::current_exception()));
    }
}
