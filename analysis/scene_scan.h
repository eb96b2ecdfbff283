#pragma once

#include "analysis/scan_progress.h"
#include "analysis/scene_result.h"
#include "engine/cancel_token.h"
#include "engine/movie_info.h"
#include "engine/preview_result.h"
#include "engine/remaining_time.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <exception>
#include <functional>
#include <memory>

class PreviewEngine;

// Renders and measures scenes of a movie at one bitrate and height limit, each as a normal
// comparison (the same clip window, cut, encode and measured bitrate, then SSIM and PSNR), on one
// or more engines: each engine takes the next scene not yet started, so the scenes finish in no
// fixed order. A scene an engine rendered before at that bitrate and height costs no tool (the
// engine's cache). The engines answer on the scan's own thread, which needs an event loop.
class SceneScan : public QObject {
    Q_OBJECT
public:
    // The engines must outlive the scan.
    explicit SceneScan(QList<PreviewEngine *> engines, QObject *parent = nullptr);
    // Cancels the scenes still running; the future of a scan that has not ended is cancelled.
    ~SceneScan() override;

    // Starts a scan of the scenes at `times` (one scan at a time: start again once the previous
    // future has finished). The future holds the scenes in the order they finished, or the
    // failure: CancelledError once the token is cancelled, otherwise the first scene's failure,
    // which cancels the scenes still running. It finishes only when no engine works for it any
    // more. Every scene is rendered with the encoder setting.
    QFuture<QList<SceneResult>> start(const MovieInfo &movie, const QList<double> &times, double mbps, qint64 maxHeight,
                                      const CancelToken &token, const EncoderSetting &encoder = {});
    bool running() const { return run_ != nullptr; }

signals:
    // Each scene as it finishes, before the progress that counts it. Do not delete the scan from
    // a slot (deleteLater is fine).
    void sceneFinished(const SceneResult &scene);
    void progressChanged(const ScanProgress &progress);

private:
    struct Lane {
        PreviewEngine *engine = nullptr;
        bool busy = false;
        double share = 0;             // of its scene done, 0 to 1
        std::function<void()> cancel; // cancels the engine operation it waits for
    };
    struct Run;

    void startNext(int lane);
    void measure(int lane, SceneResult scene, const PreviewResult &result);
    void sceneDone(int lane, const SceneResult &scene);
    void laneFailed(int lane, const std::exception_ptr &failure);
    void setShare(int lane, double share);
    void emitProgress();
    void finishWhenIdle();

    QList<Lane> lanes_;
    std::unique_ptr<Run> run_;
    quint64 generation_ = 0; // counts the scans, so that a late progress report of one is dropped
};
