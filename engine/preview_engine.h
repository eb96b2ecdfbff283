#pragma once

#include "engine/cancel_token.h"
#include "engine/comparison_settings.h"
#include "engine/encoder_setting.h"
#include "engine/movie_info.h"
#include "engine/playback_clips.h"
#include "engine/preview_result.h"
#include "engine/quality_numbers.h"
#include "engine/render_progress.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFuture>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

// The only component that touches ffmpeg, ffprobe and the file system. Its operations run one
// at a time on the engine's own worker thread; each returns a QFuture that is fulfilled from
// there (attach continuations with a context object to get back to the GUI thread). A failed
// operation stores its exception in the future: PreviewError (German text), a system PreviewError
// (the system's text) or CancelledError (the caller's token was set).
//
// The cancel token is looked at before each tool run and while the tool runs: the tool of an
// operation that is cancelled is killed at once. Cancelling the returned future itself counts
// like the token.
//
// Every future is finished in the end. An operation that never ran (dropped by the destructor or
// by abortAllRunningTools) fails with CancelledError like a cancelled one, so continuations that
// take the QFuture see the failure in result().
//
// Movies travel as file URLs whose encoded path holds the name's bytes (movieUrl); a name that is
// not valid UTF-8 reaches the tools unchanged. A relative path is made absolute against the
// current folder (or kept behind "./" where that folder cannot be named), so that a name like
// "-x.mp4" is never read as an option. A URL that is not a local file fails with PreviewError;
// a name that is no regular file (a FIFO, a folder, a device) fails before any tool runs.
//
// Do not destroy the engine from inside a continuation that runs on its worker thread (one
// attached without a context object): that is a programming error and aborts the program.
class PreviewEngine {
public:
    // Throws PreviewError when ffmpeg or ffprobe is missing or not executable, a system PreviewError
    // when the work folder cannot be created. The work folder is created last, mode 0700.
    explicit PreviewEngine(const QString &toolsDirectory);
    // Stops the worker thread (after the operation that is running, if any) and removes the
    // work folder with everything in it.
    ~PreviewEngine();

    PreviewEngine(const PreviewEngine &) = delete;
    PreviewEngine &operator=(const PreviewEngine &) = delete;

    // The program's own Tools folder, <dir of the executable>/../share/bitglance/Tools, where the
    // build and a program of one's own put links to the tools; without that folder (an installed
    // package) the folder of the system's ffmpeg and ffprobe named at build time, /usr/bin.
    static QString defaultToolsDirectory();

    QString ffmpeg() const;    // toolsDirectory + "/ffmpeg"
    QString directory() const; // the work folder, <temp>/Bitglance-<UUID>

    QFuture<MovieInfo> probe(const QUrl &url, CancelToken token = {});
    // Keeps the reference clip while movie, scene time and height limit stay: a new bitrate alone
    // runs only the encode, its probe and one frame extraction. progress, when given, is called on
    // the worker thread as the cut and the encode go on.
    // A movie, scene time, height limit and bitrate rendered before answer from the engine's cache of
    // results without running any tool (EncodeCache: at most 16 results and 400 MB).
    QFuture<PreviewResult> render(const MovieInfo &movie, const ComparisonSettings &settings, CancelToken token = {},
                                  ProgressCallback progress = {});

    // The clips of a result in the work folder: the lossless reference clip (Ut Video in Matroska) and
    // the encoded clip (HEVC in MP4).
    enum class ClipKind { Reference, Encoded };

    // SSIM and PSNR of the result's encoded clip against its reference clip, in one ffmpeg run of
    // its own after the render. Kept with the result in the cache: a second call, and a render that
    // answers from the cache, give them without running a tool. When the result's reference clip
    // was replaced by another one meanwhile, it is cut again first. Fails with
    // PreviewError::resultGone() when the result has left the cache.
    QFuture<QualityNumbers> measure(const PreviewResult &result, CancelToken token = {});
    // The result at another frame of its clip (0 <= frame < frameCount): both pictures, frame and
    // seconds (its movie time) of that frame, and, once measured, ssimFrame and psnrFrame of it; the
    // rest as in result. Saving and copying the comparison of it show that frame. Runs two frame
    // extractions (the reference clip is cut again first when another took its place); frame ==
    // result.sceneFrame answers from the cache. Fails with PreviewError::resultGone() when the
    // result has left the cache, and with PreviewError::frameNotExtracted() for a frame the clips
    // do not have.
    QFuture<PreviewResult> atFrame(const PreviewResult &result, qint64 frame, CancelToken token = {});
    // The result's two clips as PlaybackClips, for showing every frame in a window: the encoded clip
    // is decoded once into a lossless intra-only copy (one ffmpeg run), the reference clip is cut
    // again when another took its place. Fails like atFrame().
    QFuture<PlaybackClips> playbackClips(const PreviewResult &result, CancelToken token = {});
    // The HEVC encoders of graphics cards that work on this machine: VAAPI, NVENC and QSV are each
    // asked to encode one small frame at 8 and at 10 bit, a try that hangs ended after 10 s. One
    // setting per API and depth that worked (the card's default preset), VAAPI first; empty on a
    // machine without one. Fails only when cancelled. Takes the engine's turn while it runs: an
    // engine of its own keeps it from holding up comparisons.
    QFuture<QList<EncoderSetting>> hardwareEncoders(CancelToken token = {});
    // Copies the result's clip to destination, replacing a file there. Fails with
    // PreviewError::resultGone() when that clip is no longer in the work folder (the reference clip
    // of a scene is kept only until another scene or height limit is cut).
    QFuture<void> saveClip(const PreviewResult &result, ClipKind kind, const QString &destination,
                           CancelToken token = {});
    // Writes a PNG to destination: the result's two frames side by side at video resolution, turned
    // upright, and below them a strip with the caption lines.
    QFuture<void> saveComparisonPicture(const PreviewResult &result, const QStringList &captionLines,
                                        const QString &destination, CancelToken token = {});
    // The same picture as PNG bytes, for the clipboard.
    QFuture<QByteArray> comparisonPicture(const PreviewResult &result, const QStringList &captionLines,
                                          CancelToken token = {});

    // At program exit: kill the tool each live engine is running right now and fail its
    // operation as cancelled; operations queued behind it fail as cancelled without running.
    // Quitting thus never waits for an encode. Later operations run normally. Thread-safe.
    static void abortAllRunningTools();
    // Number of engines alive in this process.
    static int liveCount();
    // At program exit, after abortAllRunningTools(): runs this thread's event loop, where the jobs
    // let go of their engines, until every engine of the process is gone (and with it its work
    // folder) or the deadline has passed. Returns whether all are gone.
    static bool waitForAll(QDeadlineTimer deadline);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};
