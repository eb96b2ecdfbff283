#include "analysis/bitrate_finder.h"

#include "analysis/scene_plan.h"
#include "engine/cancelled_error.h"
#include "engine/comparison_limits.h"
#include "engine/number_text.h"
#include "engine/preview_error.h"
#include "engine/quality_texts.h"
#include "engine/when_finished.h"

#include <algorithm>
#include <cmath>

namespace {

int toSteps(double mbps)
{
    return int(std::lround(mbps / ComparisonLimits::finderStepMbps));
}

const int minSteps = toSteps(ComparisonLimits::minMbps);
const int maxSteps = toSteps(ComparisonLimits::maxMbps);

// How many tries a bisection of the bracket between two grid steps still makes, about.
int bisections(int below, int reached)
{
    return reached - below <= 1 ? 0 : int(std::ceil(std::log2(double(reached - below))));
}

} // namespace

struct BitrateFinder::Run {
    MovieInfo movie;
    qint64 maxHeight = 0;
    double target = 0;
    CancelToken token;
    int scanScenes = 0;
    QList<SceneResult> chosen; // the worst scenes at the scan's bitrate, worst first
    std::optional<BitrateSearch> search;
    QMap<double, SceneResult> worstAt; // per bitrate reported, the worst of the chosen scenes
    QList<FinderResult::Curve> curves; // in the order of chosen
    int scenesBefore = 0;              // finished in the scan and the tries before the running one
    QPromise<FinderResult> promise;
    RemainingTime clock;
};

BitrateFinder::BitrateFinder(PreviewEngine *engine, QObject *parent) : QObject(parent), scan_({engine})
{
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
    return QStringLiteral("Auch %1 Mbit/s erreichen SSIM %2 nicht.")
        .arg(fixedText(ComparisonLimits::maxMbps, 0), ssimText(targetSsim));
}

QFuture<FinderResult> BitrateFinder::start(const MovieInfo &movie, int scenes, qint64 maxHeight, double targetSsim,
                                           const CancelToken &token)
{
    Q_ASSERT(!run_);
    run_ = std::make_unique<Run>();
    run_->movie = movie;
    run_->maxHeight = maxHeight;
    run_->target = targetSsim;
    run_->token = token;
    run_->scanScenes = scenes;
    run_->promise.start();
    run_->clock.start();
    QFuture<FinderResult> future = run_->promise.future();
    const QList<double> times = ScenePlan::sceneTimes(movie.duration, scenes);
    if (times.isEmpty()) {
        finish(std::make_exception_ptr(PreviewError::noScenes()));
        return future;
    }
    whenFinished(scan_.start(movie, times, ComparisonLimits::finderScanMbps, maxHeight, token), this,
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
    run.chosen = ScenePlan::summarize(scenes)->worstFirst.mid(0, ComparisonLimits::finderScenes);
    for (const SceneResult &scene : std::as_const(run.chosen))
        run.curves.append({scene.seconds, {QPointF(ComparisonLimits::finderScanMbps, scene.quality.ssimClip)}});
    run.scenesBefore = int(scenes.size());
    // The scan's scenes may have come from the cache (a scan at that bitrate shortly before); then
    // they say nothing about the time a try takes.
    run.clock.restart(run.scenesBefore);
    run.search.emplace(run.target);
    tryNext();
}

void BitrateFinder::tryNext()
{
    const std::optional<double> mbps = run_->search->next();
    if (!mbps)
        return finish(nullptr);
    QList<double> times;
    for (const SceneResult &scene : std::as_const(run_->chosen))
        times.append(scene.sceneSeconds);
    whenFinished(scan_.start(run_->movie, times, *mbps, run_->maxHeight, run_->token), this,
                 [this, mbps = *mbps](std::optional<QList<SceneResult>> found, const std::exception_ptr &failure) {
                     if (!run_)
                         return;
                     if (failure || !found)
                         return finish(failure);
                     tried(mbps, *found);
                 });
}

void BitrateFinder::tried(double mbps, const QList<SceneResult> &scenes)
{
    Run &run = *run_;
    const bool first = run.search->tried().isEmpty();
    for (const SceneResult &scene : scenes) {
        for (int i = 0; i < run.chosen.size(); ++i) {
            if (run.chosen[i].sceneSeconds == scene.sceneSeconds)
                run.curves[i].points.append(QPointF(mbps, scene.quality.ssimClip));
        }
    }
    report(mbps, scenes);
    run.scenesBefore += int(scenes.size());
    // The scan has measured the chosen scenes at its own bitrate already: after the maximum, that
    // bitrate counts as tried and narrows the search at no cost.
    const double scanMbps = ComparisonLimits::finderScanMbps;
    if (first && run.search->next() && mbps != scanMbps && scanMbps >= ComparisonLimits::minMbps
        && scanMbps <= ComparisonLimits::maxMbps)
        report(scanMbps, run.chosen);
    tryNext();
}

void BitrateFinder::report(double mbps, const QList<SceneResult> &scenes)
{
    const SceneResult worst = *std::min_element(scenes.cbegin(), scenes.cend(), ScenePlan::worseThan);
    run_->worstAt.insert(mbps, worst);
    run_->search->report(mbps, worst.quality.ssimClip);
}

int BitrateFinder::triesLeft() const
{
    if (!run_->search)
        return 1 + bisections(minSteps - 1, maxSteps); // the maximum, then the whole range
    int below = minSteps - 1;
    std::optional<int> reached;
    for (const BitrateSearch::Try &tried : run_->search->tried()) {
        if (tried.worstSsim >= run_->target)
            reached = reached ? std::min(*reached, toSteps(tried.mbps)) : toSteps(tried.mbps);
        else
            below = std::max(below, toSteps(tried.mbps));
    }
    if (run_->search->tried().isEmpty())
        return 1 + bisections(below, maxSteps);
    return reached ? bisections(below, *reached) : 0;
}

void BitrateFinder::forward(const ScanProgress &step)
{
    if (!run_)
        return;
    const Run &run = *run_;
    // The scenes of the tries still to come after the running scan.
    const int chosen = run.search ? int(run.chosen.size()) : std::min(ComparisonLimits::finderScenes, run.scanScenes);
    const int later = run.search ? std::max(triesLeft() - 1, 0) : triesLeft();
    ScanProgress progress;
    progress.done = run.scenesBefore + step.done;
    progress.total = run.scenesBefore + step.total + chosen * later;
    progress.work = run.scenesBefore + step.work;
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
    FinderResult result;
    result.targetSsim = run->target;
    result.mbps = run->search->result();
    result.tried = run->search->tried();
    const SceneResult worst = run->worstAt.value(result.mbps.value_or(ComparisonLimits::maxMbps));
    result.worstSsim = worst.quality.ssimClip;
    result.worstSeconds = worst.seconds;
    result.worstSceneSeconds = worst.sceneSeconds;
    for (FinderResult::Curve curve : std::as_const(run->curves)) {
        std::sort(curve.points.begin(), curve.points.end(),
                  [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
        result.curves.append(curve);
    }
    run->promise.addResult(result);
    run->promise.finish();
}
