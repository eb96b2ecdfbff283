#include "analysis/bitrate_finder.h"

#include "analysis/scene_plan.h"
#include "engine/cancelled_error.h"
#include "engine/comparison_limits.h"
#include "engine/number_text.h"
#include "engine/preview_error.h"
#include "engine/quality_texts.h"
#include "engine/when_finished.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

struct BitrateFinder::Run {
    MovieInfo movie;
    qint64 maxHeight = 0;
    EncoderSetting encoder;
    double target = 0;
    CancelToken token;
    QList<double> times;        // the scenes' times, in the movie's order: their index is the search's
    QList<SceneResult> scanned; // at the scan's bitrate, in that order
    std::optional<BitrateSearch> search;
    BitrateSearch::Step step;          // the one being rendered
    QMap<double, SceneResult> worstAt; // per bitrate rendered, its worst scene
    int renders = 0;                   // scenes finished before the running ones, the scan's included
    int expected = 0;                  // renders expected from the running ones on, as they started
    QPromise<FinderResult> promise;
    RemainingTime clock;
};

BitrateFinder::BitrateFinder(QList<PreviewEngine *> engines, QObject *parent)
    : QObject(parent), lanes_(engines.size()), scan_(engines)
{
    Q_ASSERT(lanes_ > 0);
    connect(&scan_, &SceneScan::progressChanged, this, &BitrateFinder::forward);
    connect(&scan_, &SceneScan::sceneFinished, this, [this](const SceneResult &scene) {
        if (run_ && !run_->search)
            emit scanSceneFinished(scene);
    });
}

BitrateFinder::~BitrateFinder()
{
    if (const std::unique_ptr<Run> run = std::move(run_)) {
        run->promise.setException(std::make_exception_ptr(CancelledError()));
        run->promise.finish();
    }
}

QString BitrateFinder::unreachableText(double targetSsim)
{
    return QCoreApplication::translate("BitrateFinder", "Auch %1 Mbit/s erreichen SSIM %2 nicht.")
        .arg(fixedText(ComparisonLimits::maxMbps, 0), ssimText(targetSsim));
}

QString BitrateFinder::lowestReachesText(double targetSsim)
{
    return QCoreApplication::translate("BitrateFinder", "Schon %1 erreichen SSIM %2.")
        .arg(mbpsText(ComparisonLimits::minMbps, 1), fixedText(targetSsim, 2));
}

QFuture<FinderResult> BitrateFinder::start(const MovieInfo &movie, int scenes, qint64 maxHeight, double targetSsim,
                                           const CancelToken &token, const EncoderSetting &encoder)
{
    Q_ASSERT(!run_);
    run_ = std::make_unique<Run>();
    run_->movie = movie;
    run_->maxHeight = maxHeight;
    run_->encoder = encoder;
    run_->target = targetSsim;
    run_->token = token;
    run_->times = ScenePlan::sceneTimes(movie.duration, scenes);
    run_->promise.start();
    run_->clock.start();
    QFuture<FinderResult> future = run_->promise.future();
    if (run_->times.isEmpty()) {
        finish(std::make_exception_ptr(PreviewError::noScenes()));
        return future;
    }
    whenFinished(scan_.start(movie, run_->times, ComparisonLimits::finderScanMbps, maxHeight, token, encoder), this,
                 [this](std::optional<QList<SceneResult>> found, const std::exception_ptr &failure) {
                     if (!run_) // the finder is going
                         return;
                     if (failure || !found)
                         return finish(failure);
                     scanned(*found);
                 });
    return future;
}

void BitrateFinder::scanned(const QList<SceneResult> &scenes)
{
    Run &run = *run_;
    QList<double> ssims;
    for (const double seconds : std::as_const(run.times)) {
        const auto scene = std::find_if(scenes.cbegin(), scenes.cend(),
                                        [seconds](const SceneResult &found) { return found.sceneSeconds == seconds; });
        Q_ASSERT(scene != scenes.cend());
        run.scanned.append(*scene);
        ssims.append(scene->quality.ssimClip);
        noteWorst(ComparisonLimits::finderScanMbps, *scene);
    }
    run.search.emplace(run.target, ComparisonLimits::finderScanMbps, ssims);
    run.renders = int(scenes.size());
    // The scan's scenes may have come from the cache (a scan at that bitrate shortly before); then
    // they say nothing about the time a render takes.
    run.clock.restart(run.renders);
    renderNext();
}

void BitrateFinder::renderNext()
{
    Run &run = *run_;
    const std::optional<BitrateSearch::Step> step = run.search->next();
    if (!step)
        return finish(nullptr);
    // As many as run at once: the search may want none of the others once one falls short.
    run.step = *step;
    const QList<int> scenes = step->scenes.mid(0, lanes_);
    run.expected = std::max(run.search->rendersLeft(), int(scenes.size()));
    QList<double> times;
    for (const int scene : scenes)
        times.append(run.times[scene]);
    whenFinished(scan_.start(run.movie, times, step->mbps, run.maxHeight, run.token, run.encoder), this,
                 [this, mbps = step->mbps](std::optional<QList<SceneResult>> found, const std::exception_ptr &failure) {
                     if (!run_)
                         return;
                     if (failure || !found)
                         return finish(failure);
                     rendered(mbps, *found);
                 });
}

void BitrateFinder::rendered(double mbps, const QList<SceneResult> &scenes)
{
    Run &run = *run_;
    for (const SceneResult &scene : scenes) {
        run.search->report(int(run.times.indexOf(scene.sceneSeconds)), mbps, scene.quality.ssimClip);
        noteWorst(mbps, scene);
    }
    run.renders += int(scenes.size());
    renderNext();
}

void BitrateFinder::noteWorst(double mbps, const SceneResult &scene)
{
    const auto worst = run_->worstAt.constFind(mbps);
    if (worst == run_->worstAt.cend() || ScenePlan::worseThan(scene, *worst))
        run_->worstAt.insert(mbps, scene);
}

void BitrateFinder::forward(const ScanProgress &step)
{
    if (!run_)
        return;
    const Run &run = *run_;
    ScanProgress progress;
    if (!run.search) {
        // The scan, then about a round of the scenes searched, a render below the result and every
        // scene at the result.
        const int scenes = int(run.times.size());
        progress.total = 2 * scenes + std::min(ComparisonLimits::finderScenes, scenes) + 1;
        progress.roundScenes = step.total;
    } else {
        progress.total = run.renders + run.expected;
        progress.round = run.step.round;
        progress.roundDone = run.step.roundDone;
        progress.roundScenes = run.step.roundScenes;
    }
    progress.done = run.renders + step.done;
    progress.work = run.renders + step.work;
    progress.roundDone += step.done;
    progress.remainingSeconds = run.clock.estimate(progress.work, progress.total);
    emit progressChanged(progress);
}

void BitrateFinder::finish(const std::exception_ptr &failure)
{
    const std::unique_ptr<Run> run = std::move(run_);
    if (failure) {
        run->promise.setException(failure);
        run->promise.finish();
        return;
    }
    const BitrateSearch &search = *run->search;
    FinderResult result;
    result.targetSsim = run->target;
    result.mbps = search.result();
    result.tried = search.tried();
    for (const BitrateSearch::Try &step : std::as_const(result.tried))
        result.worstTried.append(run->worstAt.value(step.mbps));
    const double at = result.mbps.value_or(ComparisonLimits::maxMbps);
    const SceneResult worst = run->worstAt.value(at);
    result.worstSsim = worst.quality.ssimClip;
    result.worstSeconds = worst.seconds;
    result.worstSceneSeconds = worst.sceneSeconds;
    result.scenesChecked = search.scenesAt(at);
    result.rounds = search.rounds();
    for (const int scene : search.searched())
        result.curves.append({run->scanned[scene].seconds, search.points(scene)});
    run->promise.addResult(result);
    run->promise.finish();
}
