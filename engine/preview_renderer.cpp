#include "preview_renderer.h"

#include "clip_plan.h"
#include "comparison_limits.h"
#include "ffmpeg_commands.h"
#include "movie_probe.h"
#include "number_text.h"
#include "platform_error.h"
#include "preview_error.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

const QString kEncodedClip = QStringLiteral("encoded.mp4");
const QString kEncodedFrame = QStringLiteral("encoded.png");

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError(file.errorString());
    return file.readAll();
}

} // namespace

PreviewRenderer::PreviewRenderer(QString ffmpeg, QString ffprobe, const ToolRunner &runner, const WorkFolder &folder)
    : ffmpeg_(std::move(ffmpeg)), ffprobe_(std::move(ffprobe)), runner_(runner), folder_(folder)
{}

PreviewResult PreviewRenderer::render(const MovieInfo &movie, double seconds, double mbps, qint64 maxHeight,
                                      const Cancellation &cancel, const ProgressCallback &progress)
{
    Q_UNUSED(progress) // reported from the cut and the encode in a later step
    if (!(mbps >= ComparisonLimits::minMbps && mbps <= ComparisonLimits::maxEngineMbps))
        throw PreviewError(PreviewError::invalidBitrate());
    if (!std::isfinite(seconds))
        throw PreviewError(PreviewError::invalidSceneTime());

    const QString path = FfmpegCommands::moviePath(movie.url);
    const QString key = ReferenceClip::keyFor(path, seconds, maxHeight);
    if (!clip_ || !clip_->isFor(key, folder_)) {
        clip_.reset();
        clip_ = cutReference(path, movie, seconds, maxHeight, cancel);
        clip_->key = key;
    }

    const QString encoded = folder_.file(kEncodedClip);
    QFile::remove(encoded);
    runner_.run(
        ffmpeg_,
        FfmpegCommands::encode(folder_.file(ReferenceClip::clipFile()), encoded, static_cast<qint64>(mbps * 1000000.0)),
        cancel);

    const QList<QJsonObject> streams = probeStreams(probe(encoded, cancel));
    const QJsonValue bitRate = streams.isEmpty() ? QJsonValue() : streams.first().value(QLatin1String("bit_rate"));
    const std::optional<double> bitsPerSecond = parseNumber(bitRate.isString() ? bitRate.toString() : QString());

    extractFrame(encoded, clip_->frame, folder_.file(kEncodedFrame), cancel);

    PreviewResult result;
    result.original = readWholeFile(folder_.file(ReferenceClip::frameFile()));
    result.encoded = readWholeFile(folder_.file(kEncodedFrame));
    result.width = clip_->width;
    result.height = clip_->height;
    result.actualMbps = bitsPerSecond ? *bitsPerSecond / 1000000.0 : 0.0;
    result.seconds = clip_->time;
    result.sampleSeconds = clip_->duration;
    return result;
}

// Cuts the reference clip, measures it and takes the compared frame out of it.
ReferenceClip PreviewRenderer::cutReference(const QString &moviePath, const MovieInfo &movie, double seconds,
                                            qint64 maxHeight, const Cancellation &cancel) const
{
    const ClipPlan plan = ClipPlan::compute(movie, seconds, maxHeight);
    const QString reference = folder_.file(ReferenceClip::clipFile());
    QFile::remove(reference);
    runner_.run(ffmpeg_, FfmpegCommands::referenceCut(moviePath, plan, reference), cancel);

    const QList<QJsonObject> streams = probeStreams(probe(reference, cancel));
    const std::optional<qint64> width =
        streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("width")));
    const std::optional<qint64> height =
        streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("height")));
    if (!width || !height)
        throw PreviewError(PreviewError::referenceNotCreated());

    extractFrame(reference, plan.frame, folder_.file(ReferenceClip::frameFile()), cancel);

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
void PreviewRenderer::extractFrame(const QString &clip, qint64 frame, const QString &png,
                                   const Cancellation &cancel) const
{
    QFile::remove(png);
    runner_.run(ffmpeg_, FfmpegCommands::frameExtraction(clip, frame, png), cancel);
    if (!QFileInfo::exists(png))
        throw PreviewError(PreviewError::frameNotExtracted());
}

QJsonObject PreviewRenderer::probe(const QString &path, const Cancellation &cancel) const
{
    return parseProbeOutput(runner_.run(ffprobe_, FfmpegCommands::probe(path), cancel));
}
