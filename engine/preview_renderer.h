#pragma once

#include "cancellation.h"
#include "movie_info.h"
#include "preview_result.h"
#include "reference_clip.h"
#include "render_progress.h"
#include "tool_runner.h"
#include "work_folder.h"

#include <QJsonObject>
#include <QString>
#include <optional>

// The steps of one comparison: the reference clip (cut, measured and its frame taken, or reused),
// the encode, the measurement of its bitrate and the same frame taken from the encoded clip. Runs
// on the engine's worker thread only.
class PreviewRenderer {
public:
    PreviewRenderer(QString ffmpeg, QString ffprobe, const ToolRunner &runner, const WorkFolder &folder);

    // Throws PreviewError (refused input, a tool's failure, a missing frame), PlatformError or
    // CancelledError.
    PreviewResult render(const MovieInfo &movie, double seconds, double mbps, qint64 maxHeight,
                         const Cancellation &cancel, const ProgressCallback &progress = {});

private:
    ReferenceClip cutReference(const QString &moviePath, const MovieInfo &movie, double seconds, qint64 maxHeight,
                               const Cancellation &cancel, const ProgressCallback &progress) const;
    // pngName: a file in the work folder.
    void extractFrame(const QString &clip, qint64 frame, const QString &pngName, const Cancellation &cancel) const;
    QJsonObject probe(const QString &path, const Cancellation &cancel) const;

    QString ffmpeg_;
    QString ffprobe_;
    const ToolRunner &runner_;
    const WorkFolder &folder_;
    std::optional<ReferenceClip> clip_; // empty from the start of a cut until its frame exists
};
