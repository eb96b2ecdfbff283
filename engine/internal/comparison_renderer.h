#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/comparison_settings.h"
#include "engine/internal/cancellation.h"
#include "engine/internal/clip_plan.h"
#include "engine/internal/encode_cache.h"
#include "engine/internal/reference_clip.h"
#include "engine/internal/tool_runner.h"
#include "engine/internal/work_folder.h"
#include "engine/movie_info.h"
#include "engine/playback_clips.h"
#include "engine/preview_result.h"
#include "engine/render_progress.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// The steps of one comparison: the answer from the cache when movie, scene time, height limit and
// bitrate were rendered before; otherwise the reference clip (cut, measured and its frame taken, or
// reused), the encode, the measurement of its bitrate and the same frame taken from the encoded
// clip, kept in the cache. Also the quality measurement of a result. Runs on the engine's worker
// thread only.
class ComparisonRenderer {
public:
    ComparisonRenderer(QString ffmpeg, QString ffprobe, const ToolRunner &runner, const WorkFolder &folder,
                       EncodeCache &cache);

    // Throws PreviewError (refused input, a tool's failure, a missing frame), a system PreviewError or
    // CancelledError.
    PreviewResult render(const MovieInfo &movie, const ComparisonSettings &settings, const Cancellation &cancel,
                         const ProgressCallback &progress = {});
    // SSIM and PSNR of a result's encoded clip against its reference clip, kept in the cache. Cuts
    // the reference clip again when another one took its place. Throws PreviewError (the result
    // left the cache, a tool's failure, numbers missing from ffmpeg's report), a system PreviewError or
    // CancelledError.
    QualityNumbers measure(const PreviewResult &result, const Cancellation &cancel);
    // The result at another frame of its clip; PreviewEngine::atFrame().
    PreviewResult atFrame(const PreviewResult &result, qint64 frame, const Cancellation &cancel);
    // "playback-reference.mkv" (a link to the reference clip) and "playback-encoded.mkv" (the encoded
    // clip decoded) in the work folder, made again only for another result.
    PlaybackClips playbackClips(const PreviewResult &result, const Cancellation &cancel);

private:
    // The result's cache entry, its reference clip in "reference.mkv" (cut again when another clip
    // took its place).
    const EncodeCache::Entry &withReference(const PreviewResult &result, const Cancellation &cancel);
    void cutReference(const QString &moviePath, const MovieInfo &movie, double seconds, qint64 maxHeight,
                      const QString &clipKey, const Cancellation &cancel, const ProgressCallback &progress);
    ReferenceClip newClip(const ClipPlan &plan, const QString &frameName, const Cancellation &cancel) const;
    PreviewResult resultOf(const QString &key, double mbps, int rotation) const;
    // pngName: a file in the work folder.
    void extractFrame(const QString &clip, qint64 frame, const QString &pngName, const Cancellation &cancel,
                      int depth = 8) const;
    QJsonObject probe(const QString &path, const Cancellation &cancel) const;

    QString ffmpeg_;
    QString ffprobe_;
    const ToolRunner &runner_;
    const WorkFolder &folder_;
    EncodeCache &cache_;
    QString playbackKey_; // the result whose playback clips are in the folder
};
