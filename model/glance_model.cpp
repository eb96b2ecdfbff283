#include "glance_model.h"

#include "cancelled_error.h"
#include "comparison_limits.h"
#include "comparison_texts.h"
#include "error_description.h"
#include "preview_engine.h"

#include <QFuture>
#include <QGuiApplication>
#include <QScreen>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The status texts of the work in progress and of failures; the start text is startStatus().
QString readingStatus()
{
    return QStringLiteral("Videodaten werden gelesen …");
}
QString updatingStatus()
{
    return QStringLiteral("Vorschau wird aktualisiert …");
}
QString openFailedStatus()
{
    return QStringLiteral("Datei konnte nicht geöffnet werden.");
}
QString previewFailedStatus()
{
    return QStringLiteral("Vorschau fehlgeschlagen.");
}

// Stores the value and tells whether it really changed: doubles compare exactly (QSizeF's own
// comparison is fuzzy), and not-a-number equals itself.
bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}
bool same(QSizeF a, QSizeF b)
{
    return same(a.width(), b.width()) && same(a.height(), b.height());
}
template <typename T> bool same(const T &a, const T &b)
{
    return a == b;
}

template <typename T> bool change(T &field, T value)
{
    if (same(field, value))
        return false;
    field = std::move(value);
    return true;
}

// Calls done(value, failure) on the context's thread once the engine's future has finished: with
// the value on success, otherwise with the stored failure (a future cancelled without one counts
// as the engine's cancellation).
template <typename T, typename Done> void whenFinished(QFuture<T> future, QObject *context, Done done)
{
    future
        .then(context,
              [done](QFuture<T> finished) mutable {
                  std::optional<T> value;
                  std::exception_ptr failure;
                  try {
                      value = finished.result();
                  } catch (...) {
                      failure = std::current_exception();
                  }
                  done(std::move(value), failure);
              })
        // Runs where the continuation above finished, on the context's thread. Without a context of
        // its own: the model may be gone by then.
        .onCanceled([done]() mutable { done(std::nullopt, std::make_exception_ptr(CancelledError())); });
}

// A finished comparison with its two frames already decoded. Decoding two 4K PNG files takes a
// good part of a second, so it happens on a pool thread, not where the window draws.
struct DecodedResult {
    PreviewResult result;
    QImage original;
    QImage encoded;
};

DecodedResult decoded(PreviewResult result)
{
    DecodedResult frames{std::move(result), {}, {}};
    frames.original = QImage::fromData(frames.result.original);
    frames.encoded = QImage::fromData(frames.result.encoded);
    return frames;
}

double primaryScreenScale()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

} // namespace

// One open or preview job. It holds the model (and with it the engine) from its start until it
// ends; task_ holds the current job, so the pair forms a cycle that ending the job breaks.
struct GlanceModel::Job {
    explicit Job(std::shared_ptr<GlanceModel> owner) : model(std::move(owner)), engine(model->engine_) {}

    std::shared_ptr<GlanceModel> model;
    // The preview job's inputs, copied when it is scheduled.
    std::shared_ptr<PreviewEngine> engine;
    MovieInfo movie;
    double seconds = 0;
    double mbps = 0;
    qint64 maxHeight = 0;

    CancelToken token;
    std::unique_ptr<QTimer> pause;

    // A job cancelled during its pause ends at once; one that awaits the engine ends when the
    // engine lets go of it.
    void cancel()
    {
        token.cancel();
        if (pause && pause->isActive()) {
            pause->stop();
            end();
        }
    }

    // Lets go of the engine and the model; returns the model for the job's last steps.
    std::shared_ptr<GlanceModel> end()
    {
        engine.reset();
        return std::exchange(model, nullptr);
    }

    // Only the current job writes, whatever its ending: a superseded one ends silently.
    static std::shared_ptr<GlanceModel> endAsCurrent(const std::shared_ptr<Job> &job)
    {
        std::shared_ptr<GlanceModel> owner = job->end();
        if (!owner || owner->task_ != job)
            return nullptr;
        return owner;
    }

    static void applyProbe(GlanceModel &model, std::optional<MovieInfo> movie, const std::exception_ptr &failure)
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
        model.setSeconds(std::min(std::max(duration * 0.5, 0.0), 60.0));
        model.setZoom(1);
        model.setPan(QSizeF(0, 0));
        model.schedulePreview(true);
    }

    static void applyPreview(GlanceModel &model, double targetMbps, std::optional<DecodedResult> frames,
                             const std::exception_ptr &failure)
    {
        if (failure) {
            if (isCancellation(failure))
                return;
            model.setError(errorDescription(failure));
            model.setBusy(false);
            model.setStatus(previewFailedStatus());
            return;
        }
        const PreviewResult &result = frames->result;
        model.setOriginal(std::move(frames->original));
        model.setEncoded(std::move(frames->encoded));
        model.setPixelSize(QSizeF(result.width, result.height));
        model.setMeasurement(measurementText(targetMbps, result));
        model.setStatus(comparisonStatusText(result));
        model.setBusy(false);
    }

    static void probe(const std::shared_ptr<Job> &job, const QString &path)
    {
        GlanceModel *context = job->model.get();
        whenFinished(job->engine->probe(QUrl::fromLocalFile(path), job->token), context,
                     [job](std::optional<MovieInfo> movie, std::exception_ptr failure) {
                         if (const auto model = endAsCurrent(job))
                             applyProbe(*model, std::move(movie), failure);
                     });
    }

    static void render(const std::shared_ptr<Job> &job)
    {
        GlanceModel *context = job->model.get();
        QFuture<DecodedResult> frames =
            job->engine->render(job->movie, job->seconds, job->mbps, job->maxHeight, job->token)
                .then(QThreadPool::globalInstance(),
                      [](QFuture<PreviewResult> rendered) { return decoded(rendered.result()); });
        whenFinished(frames, context, [job](std::optional<DecodedResult> result, std::exception_ptr failure) {
            if (const auto model = endAsCurrent(job))
                applyPreview(*model, job->mbps, std::move(result), failure);
        });
    }
};

std::shared_ptr<GlanceModel> GlanceModel::create(const QString &toolsDirectory)
{
    return std::shared_ptr<GlanceModel>(new GlanceModel(toolsDirectory));
}

GlanceModel::GlanceModel(const QString &toolsDirectory) : status_(startStatus())
{
    try {
        engine_ = std::make_shared<PreviewEngine>(toolsDirectory.isEmpty() ? PreviewEngine::defaultToolsDirectory()
                                                                           : toolsDirectory);
    } catch (...) {
        error_ = errorDescription(std::current_exception());
    }
}

// Only an ended job (or none) is left here: a running one would still hold the model.
GlanceModel::~GlanceModel() = default;

QString GlanceModel::startStatus()
{
    return QStringLiteral("Film öffnen und eine Szene auswählen.");
}

QString GlanceModel::workDirectory() const
{
    return engine_ ? engine_->directory() : QString();
}

void GlanceModel::setSeconds(double seconds)
{
    if (change(seconds_, seconds))
        emit secondsChanged();
}

void GlanceModel::setMbps(double mbps)
{
    if (change(mbps_, mbps))
        emit mbpsChanged();
}

void GlanceModel::setMaxHeight(qint64 maxHeight)
{
    if (change(maxHeight_, maxHeight))
        emit maxHeightChanged();
}

void GlanceModel::setZoom(double zoom)
{
    if (change(zoom_, zoom))
        emit zoomChanged();
}

void GlanceModel::setPan(QSizeF pan)
{
    if (change(pan_, pan))
        emit panChanged();
}

void GlanceModel::setPreviewSize(QSizeF size)
{
    if (change(previewSize_, size))
        emit previewSizeChanged();
}

void GlanceModel::setMovie(std::optional<MovieInfo> movie)
{
    if (change(movie_, std::move(movie)))
        emit movieChanged();
}

void GlanceModel::setOriginal(QImage image)
{
    if (change(original_, std::move(image)))
        emit originalChanged();
}

void GlanceModel::setEncoded(QImage image)
{
    if (change(encoded_, std::move(image)))
        emit encodedChanged();
}

void GlanceModel::setBusy(bool busy)
{
    if (change(busy_, busy))
        emit busyChanged();
}

void GlanceModel::setStatus(QString status)
{
    if (change(status_, std::move(status)))
        emit statusChanged();
}

void GlanceModel::setMeasurement(QString text)
{
    if (change(measurement_, std::move(text)))
        emit measurementChanged();
}

void GlanceModel::setError(std::optional<QString> error)
{
    if (change(error_, std::move(error)))
        emit errorChanged();
}

void GlanceModel::setPixelSize(QSizeF size)
{
    if (change(pixelSize_, size))
        emit pixelSizeChanged();
}

void GlanceModel::cancelCurrentJob()
{
    if (task_)
        task_->cancel();
}

void GlanceModel::openMovie()
{
    if (!chooser_)
        return;
    const std::optional<QString> path = chooser_();
    if (path && !path->isEmpty())
        openMovie(*path);
}

void GlanceModel::openMovie(const QString &path)
{
    if (!engine_)
        return;
    cancelCurrentJob();
    const auto job = std::make_shared<Job>(shared_from_this());
    task_ = job;
    setMovie(std::nullopt);
    setOriginal(QImage());
    setEncoded(QImage());
    setMeasurement(QString());
    setError(std::nullopt);
    setBusy(true);
    setStatus(readingStatus());
    Job::probe(job, path);
}

void GlanceModel::schedulePreview(bool immediate)
{
    if (!movie_ || !engine_)
        return;
    cancelCurrentJob();
    const auto job = std::make_shared<Job>(shared_from_this());
    job->movie = *movie_;
    job->seconds = seconds_;
    job->mbps = mbps_;
    job->maxHeight = maxHeight_;
    task_ = job;
    setBusy(true);
    setError(std::nullopt);
    setStatus(updatingStatus());
    if (immediate) {
        Job::render(job);
        return;
    }
    job->pause = std::make_unique<QTimer>();
    job->pause->setSingleShot(true);
    job->pause->setTimerType(Qt::PreciseTimer); // never before the pause is over
    job->pause->setInterval(pauseMs_);
    connect(job->pause.get(), &QTimer::timeout, job->pause.get(), [weak = std::weak_ptr<Job>(job)] {
        if (const auto pausedJob = weak.lock(); pausedJob && pausedJob->model)
            Job::render(pausedJob);
    });
    job->pause->start();
}

void GlanceModel::zoomToActualPixels()
{
    if (!(previewSize_.width() > 0) || !(pixelSize_.width() > 0))
        return;
    const double fit = std::min(previewSize_.width() / pixelSize_.width(), previewSize_.height() / pixelSize_.height());
    const double scale = screenScale_ ? screenScale_() : primaryScreenScale();
    setZoom(std::clamp(1 / (fit * scale), ComparisonLimits::minZoom, ComparisonLimits::maxZoom));
    setPan(QSizeF(0, 0));
}
