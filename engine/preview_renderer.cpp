#include "preview_renderer.h"

#include "clip_plan.h"
#include "comparison_limits.h"
#include "ffmpeg_commands.h"
#include "film_file.h"
#include "movie_probe.h"
#include "number_text.h"
#include "platform_error.h"
#include "preview_error.h"
#include "step_progress.h"

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
    if (!(mbps >= ComparisonLimits::minMbps && mbps <= ComparisonLimits::maxEngineMbps))
        throw PreviewError(PreviewError::invalidBitrate());
    if (!std::isfinite(seconds))
        throw PreviewError(PreviewError::invalidSceneTime());

    const FilmFile film(movie.url, folder_);
    const QString key = ReferenceClip::keyFor(film.key(), seconds, maxHeight);
    if (!clip_ || !clip_->isFor(key, folder_)) {
        clip_.reset();
        clip_ = cutReference(film.toolPath(), movie, seconds, maxHeight, cancel, progress);
        clip_->key = key;
    }

    const QString encoded = folder_.file(kEncodedClip);
    QFile::remove(encoded);
    StepProgress encoding(RenderProgress::Step::Encode, clip_->frames, progress);
    runner_.run(
        ffmpeg_,
        FfmpegCommands::encode(folder_.file(ReferenceClip::clipFile()), encoded, static_cast<qint64>(mbps * 1000000.0)),
        cancel, [&encoding](qint64 frames) { encoding.report(frames); });

    const QList<QJsonObject> streams = probeStreams(probe(encoded, cancel));
    const QJsonValue bitRate = streams.isEmpty() ? QJsonValue() : streams.first().value(QLatin1String("bit_rate"));
    const std::optional<double> bitsPerSecond = parseNumber(bitRate.isString() ? bitRate.toString() : QString());

    extractFrame(encoded, clip_->frame, kEncodedFrame, cancel);

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
                                            qint64 maxHeight, const Cancellation &cancel,
                                            const ProgressCallback &progress) const
{
    const ClipPlan plan = ClipPlan::compute(movie, seconds, maxHeight);
    const QString reference = folder_.file(ReferenceClip::clipFile());
    QFile::remove(reference);
    const double planned = plan.clipLength * movie.fps;
    const qint64 plannedFrames = planned < 1e12 ? std::llround(planned) : 0; // a nonsense rate counts none
    StepProgress cutting(RenderProgress::Step::Cut, plannedFrames, progress);
    qint64 cutFrames = -1; // as ffmpeg counts them; unknown without its progress report
    runner_.run(ffmpeg_, FfmpegCommands::referenceCut(moviePath, plan, reference), cancel,
                [&cutting, &cutFrames](qint64 frames) { cutting.report(cutFrames = frames); });
    // A still picture, or a film whose data ends before the scene: ffmpeg succeeds with an empty
    // clip, whose probe would only complain about the internal file. Its own lines tell why.
    if (cutFrames == 0) {
        const QString lines = runner_.logTail();
        throw PreviewError(PreviewError::noFramesRead() + (lines.isEmpty() ? QString() : QLatin1Char('\n') + lines));
    }

    const QList<QJsonObject> streams = probeStreams(probe(reference, cancel));
    const std::optional<qint64> width =
        streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("width")));
    const std::optional<qint64> height =
        streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("height")));
    if (!width || !height)
        throw PreviewError(PreviewError::referenceNotCreated());

    extractFrame(reference, plan.frame, ReferenceClip::frameFile(), cancel);

    ReferenceClip clip;
    clip.width = *width;
    clip.height = *height;
    clip.frame = plan.frame;
    clip.time = plan.frameTime;
    clip.duration = plan.clipLength;
    clip.frames = cutFrames > 0 ? cutFrames : plannedFrames;
    return clip;
}

// The output is removed first: ffmpeg succeeds without writing anything when the clip has no such
// frame, and an older picture must not pass for the new one.
void PreviewRenderer::extractFrame(const QString &clip, qint64 frame, const QString &pngName,
                                   const Cancellation &cancel) const
{
    const QString png = folder_.file(pngName);
    QFile::remove(png);
    runner_.run(ffmpeg_, FfmpegCommands::frameExtraction(clip, frame, pngName), cancel, {}, folder_.path());
    if (!QFileInfo::exists(png))
        throw PreviewError(PreviewError::frameNotExtracted());
}

QJsonObject PreviewRenderer::probe(const QString &path, const Cancellation &cancel) const
{
    return parseProbeOutput(runner_.run(ffprobe_, FfmpegCommands::probe(path), cancel));
}
