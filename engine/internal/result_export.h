#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/internal/cancellation.h"
#include "engine/internal/encode_cache.h"
#include "engine/internal/tool_runner.h"
#include "engine/internal/work_folder.h"
#include "engine/preview_result.h"

#include <QString>
#include <QStringList>
#include <functional>

// Writes what a comparison showed to a file of the user's choice: one of its clips, copied from
// the work folder, or the picture of both frames with a caption, composed by ffmpeg (so that the
// command-line front end, which has no image library, writes the same picture as the window).
// The destination is written only at the end and only when all went well: a cancelled or failed
// save leaves it as it was. Runs on the engine's worker thread only.
class ResultExport {
public:
    ResultExport(QString ffmpeg, const ToolRunner &runner, const WorkFolder &folder, EncodeCache &cache);

    // Throws PreviewError::resultGone() when the clip is no longer in the work folder, the failures
    // of OutputFile for the destination (a link, a full disk), a system PreviewError, CancelledError.
    void saveClip(const PreviewResult &result, bool reference, const QString &destination,
                  const Cancellation &cancel) const;
    // Throws PreviewError (ffmpeg's failure, a full disk, a link as destination), a system
    // PreviewError, CancelledError.
    void saveComparisonPicture(const PreviewResult &result, const QStringList &captionLines, const QString &destination,
                               const Cancellation &cancel) const;
    // The same picture's PNG bytes.
    QByteArray comparisonPicture(const PreviewResult &result, const QStringList &captionLines,
                                 const Cancellation &cancel) const;

    // The caption's font size in pixels for frames of that upright size: a thirtieth of their
    // height (at least 12, at most 64 pixels), smaller where the longest line would not fit the
    // width of both frames.
    static int captionFontSize(qint64 width, qint64 height, const QStringList &captionLines);

private:
    // Composes the picture in the work folder and hands its file to use before removing it.
    void composePicture(const PreviewResult &result, const QStringList &captionLines, const Cancellation &cancel,
                        const std::function<void(const QString &)> &use) const;

    QString ffmpeg_;
    const ToolRunner &runner_;
    const WorkFolder &folder_;
    EncodeCache &cache_;
};
