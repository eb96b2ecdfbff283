#include "engine/internal/comparison_renderer.h"

#include "engine/cancelled_error.h"
#include "engine/comparison_limits.h"
#include "engine/internal/clip_plan.h"
#include "engine/internal/ffmpeg_commands.h"
#include "engine/internal/movie_file.h"
#include "engine/internal/movie_probe.h"
#include "engine/internal/quality_log.h"
#include "engine/internal/step_progress.h"
#include "engine/number_text.h"
#include "engine/preview_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace {

// How far before a clip the cut starts to read when the fast seek started it late or not at all:
// more than the keyframe interval of the movies that need it (5 s in broadcast recordings).
constexpr double kCutLeadSeconds = 10;

// The per-frame values of a quality measurement, named relative to the work folder.
const QString kSsimStats = QStringLiteral("ssim.log");
const QString kPsnrStats = QStringLiteral("psnr.log");

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PreviewError::system(file.errorString());
    return file.readAll();
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

ComparisonRenderer::ComparisonRenderer(QString ffmpeg, QString ffprobe, const ToolRunner &runner,
                                       const WorkFolder &folder, EncodeCache &cache)
    : ffmpeg_(std::move(ffmpeg)), ffprobe_(std::move(ffprobe)), runner_(runner), folder_(folder), cache_(cache)
{}

PreviewResult ComparisonRenderer::render(const MovieInfo &movie, const ComparisonSettings &settings,
                                         const Cancellation &cancel, const ProgressCallback &progress)
{
    const auto &[seconds, mbps, maxHeight, encoder] = settings;
    if (!(mbps >= ComparisonLimits::minMbps && mbps <= ComparisonLimits::maxEngineMbps))
        throw PreviewError::invalidBitrate();
    if (!std::isfinite(seconds))
        throw PreviewError::invalidSceneTime();

    const MovieFile file(movie.url, folder_);
    const QString clipKey = ReferenceClip::keyFor(file.key(), seconds, maxHeight);
    const qint64 bitsPerSecond = static_cast<qint64>(mbps * 1000000.0);
    const QString key = EncodeCache::entryKey(clipKey, bitsPerSecond, encoder);
    if (cache_.find(key))
        return resultOf(key, mbps, movie.rotation);
    if (!cache_.holdsReference(clipKey))
        cutReference(file.toolPath(), movie, seconds, maxHeight, clipKey, cancel, progress);
    const ReferenceClip clip = *cache_.clip(clipKey);

    try {
        const QString encoded = cache_.startEncode(key);
        StepProgress encoding(RenderProgress::Step::Encode, clip.frames, progress);
        runner_.run(ffmpeg_, FfmpegCommands::encode(folder_.file(ReferenceClip::clipFile()), encoded, bitsPerSecond, encoder),
                    cancel, [&encoding](qint64 frames) { encoding.report(frames); });

        const QList<QJsonObject> streams = probeStreams(probe(encoded, cancel));
        const QJsonValue bitRate = streams.isEmpty() ? QJsonValue() : streams.first().value(QLatin1String("bit_rate"));
        const std::optional<double> measured = parseNumber(bitRate.isString() ? bitRate.toString() : QString());

        extractFrame(encoded, clip.frame, QDir(folder_.path()).relativeFilePath(cache_.encodedFrame(key)), cancel,
                     encoder.depth);

        EncodeCache::Entry entry;
        entry.clipKey = clipKey;
        entry.bitsPerSecond = bitsPerSecond;
        entry.encoder = encoder;
        entry.actualMbps = measured ? *measured / 1000000.0 : 0.0;
        cache_.add(key, entry);
    } catch (...) {
        cache_.remove(key);
        throw;
    }
    return resultOf(key, mbps, movie.rotation);
}

QualityNumbers ComparisonRenderer::measure(const PreviewResult &result, const Cancellation &cancel)
{
    if (cancel.requested())
        throw CancelledError();
    const EncodeCache::Entry *known = cache_.find(result.cacheKey);
    if (!known)
        throw PreviewError::resultGone();
    if (known->quality)
        return *known->quality;
    const QString clipKey = withReference(result, cancel).clipKey;

    for (const QString &name : {kSsimStats, kPsnrStats})
        QFile::remove(folder_.file(name));
    runner_.run(ffmpeg_,
                FfmpegCommands::quality(cache_.encodedClip(result.cacheKey), folder_.file(ReferenceClip::clipFile()),
                                        kSsimStats, kPsnrStats),
                cancel, {}, folder_.path());
    const std::optional<QualityNumbers> numbers =
        QualityLog::parse(readText(folder_.file(QStringLiteral("process.log"))), readText(folder_.file(kSsimStats)),
                          readText(folder_.file(kPsnrStats)), cache_.clip(clipKey)->frame);
    if (!numbers)
        throw PreviewError::qualityNotMeasured();
    cache_.setQuality(result.cacheKey, *numbers);
    return *numbers;
}

PreviewResult ComparisonRenderer::atFrame(const PreviewResult &result, qint64 frame, const Cancellation &cancel)
{
    if (cancel.requested())
        throw CancelledError();
    if (!cache_.find(result.cacheKey))
        throw PreviewError::resultGone();
    PreviewResult shown = resultOf(result.cacheKey, result.targetMbps, result.rotation);
    if (frame != shown.frame) {
        if (frame < 0)
            throw PreviewError::frameNotExtracted();
        withReference(result, cancel);
        const QString original = QStringLiteral("frame-original.png");
        const QString encoded = QStringLiteral("frame-encoded.png");
        extractFrame(folder_.file(ReferenceClip::clipFile()), frame, original, cancel);
        extractFrame(cache_.encodedClip(result.cacheKey), frame, encoded, cancel, shown.encoder.depth);
        shown.original = readWholeFile(folder_.file(original));
        shown.encoded = readWholeFile(folder_.file(encoded));
        shown.seconds = shown.secondsOf(frame);
        shown.frame = frame;
    }
    if (shown.quality && frame < shown.quality->frames.size()) {
        shown.quality->ssimFrame = shown.quality->frames.at(frame).ssim;
        shown.quality->psnrFrame = shown.quality->frames.at(frame).psnr;
    }
    return shown;
}

PlaybackClips ComparisonRenderer::playbackClips(const PreviewResult &result, const Cancellation &cancel)
{
    if (cancel.requested())
        throw CancelledError();
    if (!cache_.find(result.cacheKey))
        throw PreviewError::resultGone();
    const PlaybackClips clips{folder_.file(QStringLiteral("playback-reference.mkv")),
                              folder_.file(QStringLiteral("playback-encoded.mkv"))};
    if (playbackKey_ == result.cacheKey && QFileInfo::exists(clips.reference) && QFileInfo::exists(clips.encoded))
        return clips;
    playbackKey_.clear();
    withReference(result, cancel);
    for (const QString &path : {clips.reference, clips.encoded})
        QFile::remove(path); // a reader that has it open keeps it
    // A second name for the clip, so that the next cut's "reference.mkv" leaves it alone.
    if (::link(QFile::encodeName(folder_.file(ReferenceClip::clipFile())).constData(),
               QFile::encodeName(clips.reference).constData())
        != 0)
        throw PreviewError::system(QString::fromLocal8Bit(std::strerror(errno)));
    runner_.run(ffmpeg_, FfmpegCommands::decodedCopy(cache_.encodedClip(result.cacheKey), clips.encoded), cancel);
    playbackKey_ = result.cacheKey;
    return clips;
}

const EncodeCache::Entry &ComparisonRenderer::withReference(const PreviewResult &result, const Cancellation &cancel)
{
    const EncodeCache::Entry *entry = cache_.find(result.cacheKey);
    if (!entry)
        throw PreviewError::resultGone();
    const QString clipKey = entry->clipKey;
    if (!cache_.holdsReference(clipKey)) {
        const ReferenceClip clip = *cache_.clip(clipKey);
        cutReference(MovieFile(clip.movie.url, folder_).toolPath(), clip.movie, clip.seconds, clip.maxHeight, clipKey,
                     cancel, {});
        entry = cache_.find(result.cacheKey);
        if (!entry) // the bound made room for the clip
            throw PreviewError::resultGone();
    }
    return *entry;
}

PreviewResult ComparisonRenderer::resultOf(const QString &key, double mbps, int rotation) const
{
    const EncodeCache::Entry entry = *cache_.entry(key);
    const ReferenceClip &clip = *cache_.clip(entry.clipKey);
    PreviewResult result;
    result.original = readWholeFile(cache_.originalFrame(entry.clipKey));
    result.encoded = readWholeFile(cache_.encodedFrame(key));
    result.width = clip.width;
    result.height = clip.height;
    result.actualMbps = entry.actualMbps;
    result.seconds = clip.time;
    result.sampleSeconds = clip.duration;
    result.targetMbps = mbps;
    result.encoder = entry.encoder;
    result.frame = clip.frame;
    result.sceneFrame = clip.frame;
    result.frameCount = clip.frames;
    // The movie's rate; for a nonsense one the clip's average.
    result.frameRate = clip.movie.fps > 0 && std::isfinite(clip.movie.fps) ? clip.movie.fps
        : clip.duration > 0 && clip.frames > 0                             ? double(clip.frames) / clip.duration
                                                                           : 1.0;
    result.rotation = rotation;
    result.cacheKey = key;
    result.quality = entry.quality;
    return result;
}

// Cuts the reference clip. A clip cut before keeps its size and its compared frame (they come with
// the cut); a new one is measured and its frame taken out of it.
void ComparisonRenderer::cutReference(const QString &moviePath, const MovieInfo &movie, double seconds,
                                      qint64 maxHeight, const QString &clipKey, const Cancellation &cancel,
                                      const ProgressCallback &progress)
{
    const ClipPlan plan = ClipPlan::compute(movie, seconds, maxHeight);
    const QString frame = cache_.startCut(clipKey);
    const std::optional<ReferenceClip> known =
        cache_.clip(clipKey) && QFileInfo::exists(frame) ? std::optional(*cache_.clip(clipKey)) : std::nullopt;
    try {
        const QString reference = folder_.file(ReferenceClip::clipFile());
        QFile::remove(reference);
        const double planned = plan.clipLength * movie.fps;
        const qint64 plannedFrames = planned < 1e12 ? std::llround(planned) : 0; // a nonsense rate counts none
        StepProgress cutting(RenderProgress::Step::Cut, plannedFrames, progress);
        qint64 cutFrames = -1; // as ffmpeg counts them; unknown without its progress report
        runner_.run(ffmpeg_, FfmpegCommands::referenceCut(moviePath, plan, reference), cancel,
                    [&cutting, &cutFrames](qint64 frames) { cutting.report(cutFrames = frames); });
        // The fast seek may land where the decoder cannot start: the clip then begins at the next
        // keyframe, late and short (or empty when that lies after the clip), and its frames are
        // not the planned ones. Cut again, reading from earlier. One frame less is only rounding.
        if (cutFrames >= 0 && cutFrames + 1 < plannedFrames) {
            cutFrames = -1;
            runner_.run(ffmpeg_, FfmpegCommands::referenceCutFromEarlier(moviePath, plan, kCutLeadSeconds, reference),
                        cancel, [&cutting, &cutFrames](qint64 frames) { cutting.report(cutFrames = frames); });
        }
        // A still picture, or a movie whose data ends before the scene: ffmpeg succeeds with an empty
        // clip, whose probe would only complain about the internal file. Its own lines tell why.
        if (cutFrames == 0) {
            throw PreviewError::noFramesRead().withDetail(runner_.logTail());
        }

        ReferenceClip clip = known ? *known : newClip(plan, QDir(folder_.path()).relativeFilePath(frame), cancel);
        clip.key = clipKey;
        clip.movie = movie;
        clip.seconds = seconds;
        clip.maxHeight = maxHeight;
        clip.frames = cutFrames > 0 ? cutFrames : plannedFrames;
        cache_.clipCut(clip);
    } catch (...) {
        cache_.cutFailed(clipKey);
        throw;
    }
}

// Measures a clip just cut and takes the compared frame out of it.
ReferenceClip ComparisonRenderer::newClip(const ClipPlan &plan, const QString &frameName,
                                          const Cancellation &cancel) const
{
    const QString reference = folder_.file(ReferenceClip::clipFile());
    const QList<QJsonObject> streams = probeStreams(probe(reference, cancel));
    const std::optional<qint64> width =
        streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("width")));
    const std::optional<qint64> height =
        streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("height")));
    if (!width || !height)
        throw PreviewError::referenceNotCreated();

    extractFrame(reference, plan.frame, frameName, cancel);

    ReferenceClip clip;
    clip.width = *width;
    clip.height = *height;
    clip.frame = plan.frame;
    clip.time = plan.frameTime;
    clip.duration = plan.clipLength;
    return clip;
}

// The output is removed first: ffmpeg succeeds without writing anything when the clip has no such
// frame, and an older picture must not pass for the new one.
void ComparisonRenderer::extractFrame(const QString &clip, qint64 frame, const QString &pngName,
                                      const Cancellation &cancel, int depth) const
{
    const QString png = folder_.file(pngName);
    QFile::remove(png);
    runner_.run(ffmpeg_, FfmpegCommands::frameExtraction(clip, frame, pngName, depth), cancel, {}, folder_.path());
    if (!QFileInfo::exists(png))
        throw PreviewError::frameNotExtracted();
}

QJsonObject ComparisonRenderer::probe(const QString &path, const Cancellation &cancel) const
{
    return parseProbeOutput(runner_.run(ffprobe_, FfmpegCommands::probe(path), cancel));
}
