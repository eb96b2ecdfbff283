#pragma once

#include "analysis/finder_result.h"
#include "analysis/scan_progress.h"
#include "analysis/scene_result.h"
#include "engine/cancel_token.h"
#include "engine/comparison_limits.h"
#include "model/scan_state.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class BitrateFinder;
class GlanceModel;
class PreviewEngine;
class SceneScan;

// The scene scan and the bitrate finder of one window, on the engine of the window's model and, on a
// machine with four cores or more, on one more engine of its own (in a work folder of its own, made
// at the first run), which renders a scene beside it. While either runs, the model's comparisons
// wait (GlanceModel::setComparisonsHeld); a request made meanwhile is rendered once the run has
// ended. A run keeps the bitrate, height limit and encoder setting it started with: another one chosen meanwhile is
// compared once it has ended. What a run found stays, with the settings it was made at, until a run
// of the same kind replaces it (a failed one replaces nothing) or another movie clears it; another
// movie cancels a run. Lives on the GUI thread.
class ScanModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(Activity activity READ activity NOTIFY activityChanged)
    Q_PROPERTY(ScanProgress progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(QList<SceneResult> scenes READ scenes NOTIFY scenesChanged)
    Q_PROPERTY(std::optional<FinderResult> finderResult READ finderResult NOTIFY finderResultChanged)
    Q_PROPERTY(std::optional<QString> error READ error NOTIFY errorChanged)

public:
    enum class Activity { Idle, Scanning, Finding };
    Q_ENUM(Activity)

    explicit ScanModel(GlanceModel *model, QObject *parent = nullptr);
    // Cancels a run; the model stays held, as it is going away with the window.
    ~ScanModel() override;

    Activity activity() const { return activity_; }
    bool running() const { return activity_ != Activity::Idle; }
    const ScanProgress &progress() const { return progress_; }
    // The scenes of the last scan, in the order they finished, and the bitrate and height limit
    // they were rendered at.
    const QList<SceneResult> &scenes() const { return state_.scenes; }
    double scenesMbps() const { return state_.scenesMbps; }
    qint64 scenesMaxHeight() const { return state_.scenesMaxHeight; }
    const EncoderSetting &scenesEncoder() const { return state_.scenesEncoder; }
    // Whether the scenes were rendered at the model's bitrate, height limit and encoder setting.
    bool scenesCurrent() const;
    const std::optional<FinderResult> &finderResult() const { return state_.finderResult; }
    // All of it, for keeping it. Setting it cancels a run and shows what it holds, as found.
    const ScanState &state() const { return state_; }
    void setState(const ScanState &state);
    // The bitrate, height limit and encoder setting of the run going on (or of the last one).
    double runMbps() const { return runMbps_; }
    qint64 runMaxHeight() const { return runMaxHeight_; }
    const EncoderSetting &runEncoder() const { return runEncoder_; }
    // Why the last run failed, or that the finder found no bitrate; empty otherwise.
    const std::optional<QString> &error() const { return error_; }

    // Scans the movie at the current bitrate and height limit. Nothing happens without a movie or
    // while a run goes on.
    void scan(int scenes = ComparisonLimits::defaultScanScenes);
    // Searches the lowest bitrate at which the worst scenes reach targetSsim; once found, sets the
    // bitrate to it and shows the worst scene's comparison.
    void findBitrate(double targetSsim, int scenes = ComparisonLimits::defaultScanScenes);
    void cancel();
    // The engines a run renders scenes on side by side, from the next run on: two where
    // QThread::idealThreadCount() is four or more, else one.
    int engineCount() const { return engineCount_; }
    void setEngineCount(int count);
    // Goes to a scanned scene (or the finder's worst at one of its bitrates), given by its compared
    // frame's time as the strip and the list give it, and shows its comparison on its worst frame
    // (from the engine's cache while the bitrate and height limit are those it was rendered at).
    void showScene(double seconds);

signals:
    void activityChanged();
    void progressChanged();
    void scenesChanged();
    void finderResultChanged();
    void errorChanged();

private:
    // The scan and the finder on the model's engine and engines - 1 more (fewer when one cannot be
    // made, which is said on standard error and lowers engineCount_).
    void makeWorkers(int engines);
    bool begin(Activity activity);
    void end(const std::exception_ptr &failure);
    // Cancels a run and forgets what the runs found.
    void reset();
    void setActivity(Activity activity);
    void setProgress(const ScanProgress &progress);
    void setError(std::optional<QString> error);

    GlanceModel *model_; // outlives the scan model
    int engineCount_;
    std::vector<std::unique_ptr<PreviewEngine>> moreEngines_; // outlive the scan and the finder
    SceneScan *scan_ = nullptr;
    BitrateFinder *finder_ = nullptr;
    CancelToken token_;
    Activity activity_ = Activity::Idle;
    ScanProgress progress_;
    double runMbps_ = 0;
    qint64 runMaxHeight_ = 0;
    EncoderSetting runEncoder_;
    ScanState state_;
    std::optional<QString> error_;
};
