#include "model/glance_model.h"

#include "engine/comparison_limits.h"
#include "engine/error_description.h"
#include "engine/preview_engine.h"
#include "model/clip_player.h"
#include "model/glance_model_clip.h"
#include "model/glance_model_export.h"
#include "model/glance_model_job.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The status texts before the first movie and of the work in progress.
QString startStatus()
{
    return QCoreApplication::translate("GlanceModel", "Film öffnen und eine Szene auswählen.");
}
QString readingStatus()
{
    return QCoreApplication::translate("GlanceModel", "Videodaten werden gelesen …");
}
QString updatingStatus()
{
    return QCoreApplication::translate("GlanceModel", "Vorschau wird aktualisiert …");
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

} // namespace

GlanceModel::GlanceModel(const QString &toolsDirectory, QObject *parent)
    : QObject(parent), status_(startStatus()), player_(new ClipPlayer(this))
{
    Clip::connect(*this);
    try {
        engine_ = std::make_shared<PreviewEngine>(toolsDirectory.isEmpty() ? PreviewEngine::defaultToolsDirectory()
                                                                           : toolsDirectory);
    } catch (...) {
        error_ = errorDescription(std::current_exception());
    }
}

// A running job ends silently: it writes nothing more and lets go of the engine, which removes
// the work folder once no job holds it.
GlanceModel::~GlanceModel()
{
    cancelCurrentJob();
}

QString GlanceModel::workDirectory() const
{
    return engine_ ? engine_->directory() : QString();
}

void GlanceModel::setSeconds(double seconds)
{
    if (!change(seconds_, seconds))
        return;
    emit secondsChanged();
    updateStale();
}

void GlanceModel::setMbps(double mbps)
{
    if (!change(mbps_, mbps))
        return;
    emit mbpsChanged();
    updateStale();
}

void GlanceModel::setMaxHeight(qint64 maxHeight)
{
    if (!change(maxHeight_, maxHeight))
        return;
    emit maxHeightChanged();
    updateStale();
}

void GlanceModel::setEncoder(const EncoderSetting &encoder)
{
    if (!change(encoder_, encoder))
        return;
    emit encoderChanged();
    updateStale();
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

void GlanceModel::setView(ComparisonView view)
{
    if (change(view_, view))
        emit viewChanged();
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
    setNotice(QString()); // said of what the status was
}

void GlanceModel::setNotice(QString notice)
{
    if (change(notice_, std::move(notice)))
        emit noticeChanged();
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

void GlanceModel::setDifference(QImage image)
{
    if (change(difference_, std::move(image)))
        emit differenceChanged();
}

void GlanceModel::setShownSettings(std::optional<ComparisonSettings> settings)
{
    shownSettings_ = settings;
    if (change(comparisonMbps_, settings ? settings->mbps : 0))
        emit comparisonMbpsChanged();
    updateStale();
}

void GlanceModel::updateStale()
{
    const bool stale = shownSettings_ && *shownSettings_ != settings();
    if (change(stale_, stale))
        emit staleChanged();
}

void GlanceModel::setProgress(std::optional<ComparisonProgress> progress)
{
    if (change(progress_, std::move(progress)))
        emit progressChanged();
}

void GlanceModel::setQuality(QString quality)
{
    if (change(quality_, std::move(quality)))
        emit qualityChanged();
}

void GlanceModel::cancelCurrentJob()
{
    if (task_)
        task_->cancel();
}

void GlanceModel::openMovie(const QString &path)
{
    openMovie(QUrl::fromLocalFile(path));
}

void GlanceModel::openMovie(const QUrl &url)
{
    if (!engine_)
        return;
    cancelCurrentJob();
    const auto job = std::make_shared<Job>(*this);
    task_ = job;
    setMovie(std::nullopt);
    setOriginal(QImage());
    setEncoded(QImage());
    setDifference(QImage());
    setShownSettings(std::nullopt);
    shown_.reset();
    Clip::reset(*this);
    setMeasurement(QString());
    setQuality(QString());
    setProgress(std::nullopt);
    setError(std::nullopt);
    setBusy(true);
    setStatus(readingStatus());
    Job::probe(job, url);
}

void GlanceModel::setComparisonsHeld(bool held)
{
    if (std::exchange(comparisonsHeld_, held) == held)
        return;
    if (held) {
        if (busy_ && movie_) {
            cancelCurrentJob();
            setProgress(std::nullopt);
            comparisonPending_ = true;
        }
        return;
    }
    if (std::exchange(comparisonPending_, false))
        schedulePreview(true);
}

void GlanceModel::schedulePreview(bool immediate)
{
    if (!movie_ || !engine_)
        return;
    if (comparisonsHeld_) {
        comparisonPending_ = true;
        return;
    }
    cancelCurrentJob();
    const auto job = std::make_shared<Job>(*this);
    job->movie = *movie_;
    job->settings = settings();
    task_ = job;
    setProgress(std::nullopt);
    if (quality_ == Job::measuringText()) // that measurement ends with the job it belongs to
        setQuality(QString());
    setBusy(true);
    setError(std::nullopt);
    setStatus(updatingStatus());
    if (immediate)
        Job::render(job);
    else
        Job::renderAfterPause(job, pauseMs_);
}

void GlanceModel::zoomToActualPixels()
{
    if (!(previewSize_.width() > 0) || !(pixelSize_.width() > 0))
        return;
    const double fit = std::min(previewSize_.width() / pixelSize_.width(), previewSize_.height() / pixelSize_.height());
    setZoom(std::clamp(1 / (fit * devicePixelRatio_), ComparisonLimits::minZoom, ComparisonLimits::maxZoom));
    setPan(QSizeF(0, 0));
}

void GlanceModel::zoomTowards(QPointF anchor, double factor)
{
    const double zoom = std::clamp(zoom_ * factor, ComparisonLimits::minZoom, ComparisonLimits::maxZoom);
    // The frame point under the anchor lies anchor - pan from the frame's centre, times the zoom.
    const double ratio = zoom_ > 0 ? zoom / zoom_ : 1;
    const QSizeF pan(anchor.x() - ratio * (anchor.x() - pan_.width()),
                     anchor.y() - ratio * (anchor.y() - pan_.height()));
    setZoom(zoom);
    setPan(pan);
}

QString GlanceModel::suggestedPath(const QString &extension, bool frame) const
{
    return Export::suggestedPath(*this, extension, frame);
}

void GlanceModel::saveComparisonPicture(const QString &destination)
{
    Export::saveComparisonPicture(*this, destination);
}

void GlanceModel::copyComparisonPicture()
{
    Export::copyComparisonPicture(*this);
}

void GlanceModel::saveEncodedClip(const QString &destination)
{
    Export::saveEncodedClip(*this, destination);
}
