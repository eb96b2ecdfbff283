#include "model/glance_model_job.h"

#include "engine/cancelled_error.h"
#include "engine/comparison_texts.h"
#include "engine/encoder_catalogue.h"
#include "engine/error_description.h"
#include "engine/preview_engine.h"
#include "engine/when_finished.h"
#include "model/difference_image.h"
#include "model/glance_model_clip.h"

#include <QCoreApplication>
#include <QFuture>
#include <QThreadPool>
#include <QTransform>
#include <QUrl>
#include <algorithm>
#include <utility>

namespace {

QString openFailedStatus()
{
    return QCoreApplication::translate("GlanceModel", "Datei konnte nicht geöffnet werden.");
}
QString comparisonFailedStatus()
{
    return QCoreApplication::translate("GlanceModel", "Vorschau fehlgeschlagen.");
}
QString cardFailedText()
{
    return QCoreApplication::translate("GlanceModel",
                                       "Die Grafikkarte konnte den Ausschnitt nicht kodieren; "
                                       "Bitglance vergleicht stattdessen mit HEVC (x265).");
}

// The frame turned as the movie asks, so that it stands upright.
QImage upright(const QImage &frame, int rotation)
{
    if (rotation % 360 == 0 || frame.isNull())
        return frame;
    return frame.transformed(QTransform().rotate(rotation));
}

} // namespace

// A finished comparison with its two frames already decoded, turned upright, and their
// difference computed. Decoding two 4K PNG files takes a good part of a second, so it happens on a
// pool thread, not where the window draws.
struct GlanceModel::Job::Frames {
    PreviewResult result;
    QImage original;
    QImage encoded;
    QImage difference;
};

GlanceModel::Job::Job(GlanceModel &owner) : model(&owner), engine(owner.engine_)
{
    context.setObjectName(QStringLiteral("GlanceModel::Job"));
}

QString GlanceModel::Job::measuringText()
{
    return QCoreApplication::translate("GlanceModel", "Qualität wird gemessen …");
}

void GlanceModel::Job::cancel()
{
    token.cancel();
    if (pause && pause->isActive()) {
        pause->stop();
        end();
    }
}

bool GlanceModel::Job::isCurrent() const
{
    return model && model->task_.get() == this && !token.isCancelled();
}

GlanceModel *GlanceModel::Job::end()
{
    engine.reset();
    GlanceModel *owner = model;
    model = nullptr;
    return owner;
}

GlanceModel *GlanceModel::Job::endAsCurrent(const std::shared_ptr<Job> &job)
{
    // Cancelled without being replaced (the window closes): the engine may have finished before
    // the cancellation, but the outcome is dropped all the same and nothing new starts.
    const bool current = job->isCurrent();
    GlanceModel *owner = job->end();
    return current ? owner : nullptr;
}

void GlanceModel::Job::applyProbe(GlanceModel &model, std::optional<MovieInfo> movie, const std::exception_ptr &failure)
{
    if (failure) {
        if (isCancellation(failure))
            return;
        model.setError(errorDescription(failure));
        model.setBusy(false);
        model.setStatus(openFailedStatus());
        return;
    }
    const double duration = movie->duration;
    model.setMovie(std::move(movie));
    // The window answers a new scene time with a request after the pause. An observer sees the
    // change after this step, so that request would replace the one made here: it stands instead.
    const std::shared_ptr<Job> before = model.task_;
    model.setSeconds(std::min(std::max(duration * 0.5, 0.0), 60.0));
    const bool requested = model.task_ != before;
    model.setZoom(1);
    model.setPan(QSizeF(0, 0));
    if (!requested)
        model.schedulePreview(true);
}

bool GlanceModel::Job::applyComparison(std::optional<Frames> frames, const std::exception_ptr &failure)
{
    model->setProgress(std::nullopt);
    if (failure) {
        if (isCancellation(failure))
            return false;
        if (settings.encoder.encoder == VideoEncoder::HevcHardware) {
            // The card passed its test at start-up but fails on the film: compare with x265
            // instead, and say so.
            EncoderSetting software = EncoderCatalogue::defaultSetting(VideoEncoder::X265);
            software.depth = settings.encoder.depth;
            if (!std::exchange(model->cardFailed_, true))
                emit model->cardFailedChanged();
            model->setEncoder(software);
            model->schedulePreview(true);
            model->setError(cardFailedText() + QLatin1Char('\n') + errorDescription(failure));
            return false;
        }
        model->setError(errorDescription(failure));
        model->setBusy(false);
        model->setStatus(comparisonFailedStatus());
        return false;
    }
    const PreviewResult &result = frames->result;
    model->shown_ = result;
    model->setOriginal(std::move(frames->original));
    model->setEncoded(std::move(frames->encoded));
    model->setDifference(std::move(frames->difference));
    model->setShownSettings(settings);
    // The frames' size as they stand upright; the measurement keeps the clip's own.
    const bool turned = result.rotation % 180 != 0;
    model->setPixelSize(turned ? QSizeF(result.height, result.width) : QSizeF(result.width, result.height));
    model->setMeasurement(measurementText(settings.mbps, result));
    Clip::reset(*model); // at the comparison's own frame, with its quality when measured
    if (!result.quality)
        model->setQuality(measuringText());
    model->setStatus(comparisonStatusText(result));
    model->setBusy(false);
    return true;
}

void GlanceModel::Job::probe(const std::shared_ptr<Job> &job, const QUrl &url)
{
    whenFinished(job->engine->probe(url, job->token), &job->context,
                 [job](std::optional<MovieInfo> movie, std::exception_ptr failure) {
                     if (const auto model = endAsCurrent(job))
                         applyProbe(*model, std::move(movie), failure);
                 });
}

void GlanceModel::Job::render(const std::shared_ptr<Job> &job)
{
    // Called on the engine's thread while the job exists; shown only while it is the current one.
    // The cut and the encode go on one bar, timed from here.
    job->clock.start();
    ProgressCallback progress = [job = job.get()](const RenderProgress &step) {
        const double elapsedSeconds = double(job->clock.elapsed()) / 1000;
        QMetaObject::invokeMethod(
            &job->progressReceiver,
            [job, step, elapsedSeconds] {
                if (!job->isCurrent())
                    return;
                ComparisonProgress next = job->model->progress().value_or(ComparisonProgress());
                next.add(step, elapsedSeconds);
                job->model->setProgress(next);
            },
            Qt::QueuedConnection);
    };
    // Every bitrate of one clip has the same reference frame: the one shown is not decoded again
    // (while it is on screen, not another frame of its clip).
    QByteArray shownBytes;
    QImage shownOriginal;
    if (const std::optional<PreviewResult> &shown = job->model->shownResult();
        shown && job->model->shownFrame() == shown->frame) {
        shownBytes = shown->original;
        shownOriginal = job->model->original();
    }
    QFuture<Frames> frames =
        job->engine->render(job->movie, job->settings, job->token, std::move(progress))
            .then(QThreadPool::globalInstance(), [shownBytes, shownOriginal](QFuture<PreviewResult> rendered) {
                Frames decoded{rendered.result(), {}, {}, {}};
                const bool sameReference = !shownOriginal.isNull() && decoded.result.original == shownBytes;
                decoded.original = sameReference
                    ? shownOriginal
                    : upright(QImage::fromData(decoded.result.original), decoded.result.rotation);
                decoded.encoded = upright(QImage::fromData(decoded.result.encoded), decoded.result.rotation);
                decoded.difference = differenceImage(decoded.original, decoded.encoded);
                return decoded;
            });
    whenFinished(frames, &job->context, [job](std::optional<Frames> result, std::exception_ptr failure) {
        if (!job->isCurrent() || !job->applyComparison(std::move(result), failure) || !job->isCurrent())
            job->end();
        else
            job->model->shown_->quality ? playback(job) : measure(job);
    });
}

void GlanceModel::Job::measure(const std::shared_ptr<Job> &job)
{
    whenFinished(job->engine->measure(*job->model->shown_, job->token), &job->context,
                 [job](std::optional<QualityNumbers> quality, std::exception_ptr failure) {
                     if (!job->isCurrent() || (failure && isCancellation(failure)))
                         return void(job->end());
                     GlanceModel &model = *job->model;
                     if (failure) {
                         model.setQuality(QString());
                         model.setError(errorDescription(failure));
                     } else {
                         model.shown_->quality = quality;
                         Clip::updateTexts(model);
                     }
                     playback(job); // the frames can be shown without their numbers, too
                 });
}

void GlanceModel::Job::playback(const std::shared_ptr<Job> &job)
{
    whenFinished(job->engine->playbackClips(*job->model->shown_, job->token), &job->context,
                 [job](std::optional<PlaybackClips> clips, std::exception_ptr failure) {
                     const auto model = endAsCurrent(job);
                     if (!model || (failure && isCancellation(failure)))
                         return;
                     failure ? Clip::failed(*model, errorDescription(failure)) : Clip::open(*model, *clips);
                 });
}

void GlanceModel::Job::renderAfterPause(const std::shared_ptr<Job> &job, int pauseMs)
{
    job->pause = std::make_unique<QTimer>();
    job->pause->setSingleShot(true);
    job->pause->setTimerType(Qt::PreciseTimer); // never before the pause is over
    job->pause->setInterval(pauseMs);
    QObject::connect(job->pause.get(), &QTimer::timeout, job->pause.get(), [weak = std::weak_ptr<Job>(job)] {
        if (const auto pausedJob = weak.lock(); pausedJob && pausedJob->model)
            render(pausedJob);
    });
    job->pause->start();
}
