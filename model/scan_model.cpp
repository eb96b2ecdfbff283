#include "model/scan_model.h"

#include "analysis/bitrate_finder.h"
#include "analysis/scene_plan.h"
#include "analysis/scene_scan.h"
#include "engine/error_description.h"
#include "engine/preview_engine.h"
#include "engine/when_finished.h"
#include "model/glance_model.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <utility>

ScanModel::ScanModel(GlanceModel *model, QObject *parent)
    : QObject(parent), model_(model), engineCount_(QThread::idealThreadCount() >= 4 ? 2 : 1)
{
    makeWorkers(1); // another engine only once a run needs it
    connect(model_, &GlanceModel::movieChanged, this, &ScanModel::reset);
}

ScanModel::~ScanModel()
{
    token_.cancel();
    // Before the engines they render on.
    delete finder_;
    delete scan_;
}

void ScanModel::setEngineCount(int count)
{
    engineCount_ = std::max(count, 1);
}

void ScanModel::makeWorkers(int engines)
{
    delete finder_;
    delete scan_;
    finder_ = nullptr;
    scan_ = nullptr;
    PreviewEngine *engine = model_->engine().get();
    if (!engine)
        return;
    moreEngines_.resize(std::min(moreEngines_.size(), size_t(engines - 1)));
    try {
        while (int(moreEngines_.size()) < engines - 1)
            moreEngines_.push_back(std::make_unique<PreviewEngine>(QFileInfo(engine->ffmpeg()).path()));
    } catch (...) {
        qWarning("bitglance: scenes are rendered on fewer engines: %s",
                 qUtf8Printable(errorDescription(std::current_exception())));
        engineCount_ = int(moreEngines_.size()) + 1;
    }
    QList<PreviewEngine *> lanes{engine};
    for (const std::unique_ptr<PreviewEngine> &more : moreEngines_)
        lanes.append(more.get());
    scan_ = new SceneScan(lanes, this);
    finder_ = new BitrateFinder(lanes, this);
    const auto forward = [this](const ScanProgress &progress) { setProgress(progress); };
    connect(scan_, &SceneScan::progressChanged, this, forward);
    connect(scan_, &SceneScan::sceneFinished, this, [this](const SceneResult &scene) {
        // A scene that finished while its scan was being cancelled belongs to other settings.
        if (token_.isCancelled())
            return;
        state_.scenes.append(scene);
        emit scenesChanged();
    });
    connect(finder_, &BitrateFinder::progressChanged, this, forward);
}

bool ScanModel::begin(Activity activity)
{
    if (running() || !scan_ || !model_->movie())
        return false;
    if (int(moreEngines_.size()) + 1 != engineCount_)
        makeWorkers(engineCount_);
    token_ = CancelToken();
    runMbps_ = model_->mbps();
    runMaxHeight_ = model_->maxHeight();
    runEncoder_ = model_->encoder();
    setError(std::nullopt);
    setProgress({});
    setActivity(activity);
    model_->setComparisonsHeld(true);
    return true;
}

void ScanModel::scan(int scenes)
{
    if (!begin(Activity::Scanning))
        return;
    // A new scan replaces the last one's scenes.
    state_.scenes.clear();
    state_.scenesMbps = runMbps_;
    state_.scenesMaxHeight = runMaxHeight_;
    state_.scenesEncoder = runEncoder_;
    emit scenesChanged();
    const MovieInfo &movie = *model_->movie();
    whenFinished(scan_->start(movie, ScenePlan::sceneTimes(movie.duration, scenes), runMbps_, runMaxHeight_, token_,
                              runEncoder_),
                 this, [this](std::optional<QList<SceneResult>>, const std::exception_ptr &failure) { end(failure); });
}

void ScanModel::findBitrate(double targetSsim, int scenes)
{
    if (!begin(Activity::Finding))
        return;
    whenFinished(finder_->start(*model_->movie(), scenes, runMaxHeight_, targetSsim, token_, runEncoder_), this,
                 [this](std::optional<FinderResult> found, const std::exception_ptr &failure) {
                     if (found && !token_.isCancelled()) {
                         state_.finderResult = found;
                         state_.finderMaxHeight = runMaxHeight_;
                         state_.finderEncoder = runEncoder_;
                         emit finderResultChanged();
                         if (!found->mbps) {
                             setError(BitrateFinder::unreachableText(found->targetSsim));
                         } else {
                             // Made while the comparisons wait: the end of the run renders them.
                             model_->setMbps(*found->mbps);
                             model_->setSeconds(found->worstSceneSeconds);
                             model_->schedulePreview(true);
                         }
                     }
                     end(failure);
                 });
}

void ScanModel::end(const std::exception_ptr &failure)
{
    if (failure && !isCancellation(failure))
        setError(errorDescription(failure));
    setActivity(Activity::Idle);
    model_->setComparisonsHeld(false);
}

void ScanModel::cancel()
{
    token_.cancel();
}

void ScanModel::showScene(double seconds)
{
    QList<SceneResult> found = state_.scenes;
    if (state_.finderResult)
        found += state_.finderResult->worstTried;
    const auto scene = std::find_if(found.cbegin(), found.cend(),
                                    [seconds](const SceneResult &result) { return result.seconds == seconds; });
    if (scene == found.cend())
        return;
    model_->showSceneOnWorstFrame(scene->sceneSeconds);
}

bool ScanModel::scenesCurrent() const
{
    return state_.scenesMbps == model_->mbps() && state_.scenesMaxHeight == model_->maxHeight()
        && state_.scenesEncoder == model_->encoder();
}

void ScanModel::setState(const ScanState &state)
{
    cancel();
    setError(std::nullopt);
    const bool scenes = state.scenes != state_.scenes || state.scenesMbps != state_.scenesMbps
        || state.scenesMaxHeight != state_.scenesMaxHeight || state.scenesEncoder != state_.scenesEncoder;
    const bool finder = state.finderResult != state_.finderResult || state.finderMaxHeight != state_.finderMaxHeight
        || state.finderEncoder != state_.finderEncoder;
    state_ = state;
    if (scenes)
        emit scenesChanged();
    if (finder)
        emit finderResultChanged();
}

void ScanModel::reset()
{
    setState({});
}

void ScanModel::setActivity(Activity activity)
{
    if (std::exchange(activity_, activity) != activity)
        emit activityChanged();
}

void ScanModel::setProgress(const ScanProgress &progress)
{
    if (std::exchange(progress_, progress) != progress)
        emit progressChanged();
}

void ScanModel::setError(std::optional<QString> error)
{
    if (std::exchange(error_, error) != error)
        emit errorChanged();
}
