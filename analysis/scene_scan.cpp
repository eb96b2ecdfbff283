#include "analysis/scene_scan.h"

#include "analysis/scene_texts.h"
#include "engine/cancelled_error.h"
#include "engine/error_description.h"
#include "engine/preview_engine.h"
#include "engine/preview_error.h"
#include "engine/render_progress.h"
#include "engine/when_finished.h"

#include <QCoreApplication>
#include <QPointer>
#include <QPromise>

#include <algorithm>

namespace {

// The rough shares of a scene's time: the cut, then the encode; the rest is the probes, the frames
// and the measurement.
constexpr double cutShare = 0.3;
constexpr double encodeShare = 0.55;

double shareDone(const RenderProgress &progress)
{
    const double frames =
        progress.totalFrames > 0 ? std::clamp(double(progress.frames) / double(progress.totalFrames), 0.0, 1.0) : 0.0;
    return progress.step == RenderProgress::Step::Cut ? cutShare * frames : cutShare + encodeShare * frames;
}

// A scene's failure names the scene, so that a movie whose data ends early shows where.
std::exception_ptr namingScene(double sceneSeconds, const QList<double> &times, const std::exception_ptr &failure)
{
    if (!failure || isCancellation(failure))
        return failure;
    try {
        std::rethrow_exception(failure);
    } catch (const PreviewError &error) {
        return std::make_exception_ptr(
            PreviewError(sceneFailureText(sceneSeconds, times, error.message()), error.kind()));
    } catch (...) {
        return std::make_exception_ptr(PreviewError(sceneFailureText(sceneSeconds, times, errorDescription(failure))));
    }
}

} // namespace

struct SceneScan::Run {
    MovieInfo movie;
    QList<double> times;
    double mbps = 0;
    qint64 maxHeight = 0;
    EncoderSetting encoder;
    CancelToken token;
    int next = 0;
    QList<SceneResult> results;
    std::exception_ptr failure;
    QPromise<QList<SceneResult>> promise;
    RemainingTime clock;
};

SceneScan::SceneScan(QList<PreviewEngine *> engines, QObject *parent) : QObject(parent)
{
    for (PreviewEngine *engine : engines)
        lanes_.append(Lane{engine, false, 0, {}});
}

SceneScan::~SceneScan()
{
    for (Lane &lane : lanes_) {
        if (lane.busy && lane.cancel)
            lane.cancel();
    }
}

QFuture<QList<SceneResult>> SceneScan::start(const MovieInfo &movie, const QList<double> &times, double mbps,
                                             qint64 maxHeight, const CancelToken &token,
                                             const EncoderSetting &encoder)
{
    Q_ASSERT(!run_);
    ++generation_;
    run_ = std::make_unique<Run>();
    run_->movie = movie;
    run_->times = times;
    run_->mbps = mbps;
    run_->maxHeight = maxHeight;
    run_->encoder = encoder;
    run_->token = token;
    run_->promise.start();
    run_->clock.start();
    QFuture<QList<SceneResult>> future = run_->promise.future();
    emitProgress();
    for (int lane = 0; lane < lanes_.size() && run_; ++lane)
        startNext(lane);
    finishWhenIdle(); // no engines, or no scenes
    return future;
}

void SceneScan::startNext(int lane)
{
    Run &run = *run_;
    Lane &worker = lanes_[lane];
    worker.busy = false;
    worker.share = 0;
    worker.cancel = nullptr;
    if (run.failure || run.token.isCancelled() || run.next >= run.times.size())
        return;
    const int index = run.next++;
    worker.busy = true;

    // Called on the engine's thread; brought over through the application object, which outlives
    // the scan, and dropped there once the scan is gone or scans something else.
    ProgressCallback progress = [self = QPointer<SceneScan>(this), generation = generation_,
                                 lane](const RenderProgress &step) {
        const double share = shareDone(step);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, generation, lane, share] {
                if (self && self->run_ && self->generation_ == generation)
                    self->setShare(lane, share);
            },
            Qt::QueuedConnection);
    };
    QFuture<PreviewResult> rendered =
        worker.engine->render(run.movie, {run.times[index], run.mbps, run.maxHeight, run.encoder}, run.token, std::move(progress));
    worker.cancel = [rendered]() mutable { rendered.cancel(); };
    const double sceneSeconds = run.times[index];
    whenFinished(rendered, this,
                 [this, lane, sceneSeconds](std::optional<PreviewResult> result, const std::exception_ptr &failure) {
                     if (failure || !result)
                         return laneFailed(lane, namingScene(sceneSeconds, run_->times, failure));
                     SceneResult scene;
                     scene.seconds = result->seconds;
                     scene.sampleSeconds = result->sampleSeconds;
                     scene.actualMbps = result->actualMbps;
                     scene.sceneSeconds = sceneSeconds;
                     if (result->quality) {
                         scene.quality = *result->quality;
                         return sceneDone(lane, scene);
                     }
                     measure(lane, scene, *result);
                 });
}

void SceneScan::measure(int lane, SceneResult scene, const PreviewResult &result)
{
    Lane &worker = lanes_[lane];
    if (run_->failure || run_->token.isCancelled())
        return laneFailed(lane, std::make_exception_ptr(CancelledError()));
    QFuture<QualityNumbers> measured = worker.engine->measure(result, run_->token);
    worker.cancel = [measured]() mutable { measured.cancel(); };
    whenFinished(measured, this,
                 [this, lane, scene](std::optional<QualityNumbers> quality, const std::exception_ptr &failure) mutable {
                     if (failure || !quality)
                         return laneFailed(lane, namingScene(scene.sceneSeconds, run_->times, failure));
                     scene.quality = *quality;
                     sceneDone(lane, scene);
                 });
}

void SceneScan::sceneDone(int lane, const SceneResult &scene)
{
    run_->results.append(scene);
    lanes_[lane].share = 0;
    emit sceneFinished(scene);
    emitProgress();
    startNext(lane);
    finishWhenIdle();
}

void SceneScan::laneFailed(int lane, const std::exception_ptr &failure)
{
    Run &run = *run_;
    // A real failure is worth more than the cancellations it causes in the other lanes.
    if (!run.failure || (isCancellation(run.failure) && !isCancellation(failure)))
        run.failure = failure;
    lanes_[lane].busy = false;
    lanes_[lane].cancel = nullptr;
    for (Lane &other : lanes_) {
        if (other.busy && other.cancel)
            other.cancel();
    }
    finishWhenIdle();
}

void SceneScan::setShare(int lane, double share)
{
    if (!lanes_[lane].busy)
        return;
    lanes_[lane].share = share;
    emitProgress();
}

void SceneScan::emitProgress()
{
    ScanProgress progress;
    progress.done = int(run_->results.size());
    progress.total = int(run_->times.size());
    progress.work = progress.done;
    for (const Lane &lane : std::as_const(lanes_))
        progress.work += lane.busy ? lane.share : 0;
    progress.remainingSeconds = run_->clock.estimate(progress.work, progress.total);
    emit progressChanged(progress);
}

void SceneScan::finishWhenIdle()
{
    if (!run_ || std::any_of(lanes_.cbegin(), lanes_.cend(), [](const Lane &lane) { return lane.busy; }))
        return;
    // The run is taken apart first: whoever the future tells may start the next scan at once.
    const std::unique_ptr<Run> run = std::move(run_);
    if (!run->failure && run->token.isCancelled())
        run->failure = std::make_exception_ptr(CancelledError());
    if (run->failure)
        run->promise.setException(run->failure);
    else
        run->promise.addResult(run->results);
    run->promise.finish();
}
