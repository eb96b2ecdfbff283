#pragma once

#include "analysis/bitrate_search.h"
#include "analysis/finder_result.h"
#include "analysis/scan_progress.h"
#include "analysis/scene_result.h"
#include "analysis/scene_scan.h"
#include "engine/cancel_token.h"
#include "engine/movie_info.h"
#include "engine/remaining_time.h"

#include <QFuture>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPromise>
#include <memory>

class PreviewEngine;

// The bitrate finder: scans the movie at ComparisonLimits::finderScanMbps, then searches
// (BitrateSearch) the lowest bitrate at which every scanned scene reaches the target, rendering and
// measuring what the search asks for. The scenes of one bitrate run on the engines side by side, as
// many at once as there are engines. Runs on the scan's terms: answers on this object's thread.
class BitrateFinder : public QObject {
    Q_OBJECT
public:
    // The engines (at least one) must outlive the finder.
    explicit BitrateFinder(QList<PreviewEngine *> engines, QObject *parent = nullptr);
    // Cancels a run: its future fails with CancelledError.
    ~BitrateFinder() override;

    // One run at a time. The future fails as the scans fail: CancelledError once the token is
    // cancelled. Every scene is rendered with the encoder setting.
    QFuture<FinderResult> start(const MovieInfo &movie, int scenes, qint64 maxHeight, double targetSsim,
                                const CancelToken &token, const EncoderSetting &encoder = {});
    bool running() const { return run_ != nullptr; }

    // "Auch 20 Mbit/s erreichen SSIM 0.9800 nicht.": the run found no bitrate.
    static QString unreachableText(double targetSsim);
    // "Schon 0.3 Mbit/s erreichen SSIM 0.96.": the run found the lowest bitrate there is.
    static QString lowestReachesText(double targetSsim);

signals:
    // Over the scan and the search together; the total grows or shrinks as the search narrows.
    void progressChanged(const ScanProgress &progress);
    // The scan's scenes, at the scan's bitrate, as they finish.
    void scanSceneFinished(const SceneResult &scene);

private:
    struct Run;

    void scanned(const QList<SceneResult> &scenes);
    void renderNext();
    void rendered(double mbps, const QList<SceneResult> &scenes);
    void noteWorst(double mbps, const SceneResult &scene);
    void forward(const ScanProgress &step);
    void finish(const std::exception_ptr &failure);

    qsizetype lanes_;
    // The run outlives the scan: the scan's cancelled future, which the scan's destructor
    // finishes, still reaches this finder then and must find the run gone (null), not destroyed.
    std::unique_ptr<Run> run_;
    SceneScan scan_;
};
