#include "engine/preview_engine.h"

#include "engine/internal/comparison_renderer.h"
#include "engine/internal/ffmpeg_commands.h"
#include "engine/internal/hardware_encoder_test.h"
#include "engine/internal/movie_file.h"
#include "engine/internal/movie_probe.h"
#include "engine/internal/operation_queue.h"
#include "engine/internal/result_export.h"
#include "engine/internal/tool_runner.h"
#include "engine/internal/work_folder.h"
#include "engine/preview_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <mutex>
#include <vector>

#include <unistd.h>

namespace {

// The engines alive in this process, and the loops of waitForAll() that wait for none.
std::mutex liveMutex;
int live = 0;
std::vector<QEventLoop *> waiting;

bool isExecutableFile(const QString &path)
{
    return QFileInfo(path).isFile() && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

QString checkedTool(const QString &toolsDirectory, const QString &name)
{
    const QString path = QDir(toolsDirectory).absoluteFilePath(name);
    if (!isExecutableFile(path))
        throw PreviewError::toolsMissing();
    return path;
}

} // namespace

// In the order of creation; the queue goes first, so no operation outlives what it uses.
struct PreviewEngine::Parts {
    Parts(const QString &tools)
        : ffmpeg(checkedTool(tools, QStringLiteral("ffmpeg"))), ffprobe(checkedTool(tools, QStringLiteral("ffprobe"))),
          runner(folder), cache(folder), renderer(ffmpeg, ffprobe, runner, folder, cache),
          exporter(ffmpeg, runner, folder, cache), hardware(ffmpeg, runner, folder.path())
    {}

    QString ffmpeg;
    QString ffprobe;
    WorkFolder folder; // the last thing a failed creation could leave behind
    ToolRunner runner;
    EncodeCache cache;
    ComparisonRenderer renderer;
    ResultExport exporter;
    HardwareEncoderTest hardware;
    OperationQueue queue;
};

PreviewEngine::PreviewEngine(const QString &toolsDirectory) : parts_(std::make_unique<Parts>(toolsDirectory))
{
    std::lock_guard lock(liveMutex);
    ++live;
}

PreviewEngine::~PreviewEngine()
{
    parts_.reset(); // the worker thread ends, the work folder goes
    std::lock_guard lock(liveMutex);
    if (--live == 0)
        for (QEventLoop *loop : waiting)
            QMetaObject::invokeMethod(loop, &QEventLoop::quit, Qt::QueuedConnection);
}

QString PreviewEngine::defaultToolsDirectory()
{
    const QString own =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/bitglance/Tools"));
    return QFileInfo(own).isDir() ? own : QStringLiteral(BITGLANCE_SYSTEM_TOOLS_DIR);
}

QString PreviewEngine::ffmpeg() const
{
    return parts_->ffmpeg;
}

QString PreviewEngine::directory() const
{
    return parts_->folder.path();
}

QFuture<MovieInfo> PreviewEngine::probe(const QUrl &url, CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<MovieInfo>(token, [parts, url](const Cancellation &cancel) {
        const MovieFile file(url, parts->folder);
        const QByteArray output = parts->runner.run(parts->ffprobe, FfmpegCommands::probe(file.toolPath()), cancel);
        return movieInfoFromProbe(parseProbeOutput(output), url);
    });
}

QFuture<PreviewResult> PreviewEngine::render(const MovieInfo &movie, const ComparisonSettings &settings,
                                             CancelToken token, ProgressCallback progress)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<PreviewResult>(
        token, [parts, movie, settings, progress = std::move(progress)](const Cancellation &c) {
            return parts->renderer.render(movie, settings, c, progress);
        });
}

QFuture<QualityNumbers> PreviewEngine::measure(const PreviewResult &result, CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<QualityNumbers>(
        token, [parts, result](const Cancellation &cancel) { return parts->renderer.measure(result, cancel); });
}

QFuture<PreviewResult> PreviewEngine::atFrame(const PreviewResult &result, qint64 frame, CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<PreviewResult>(token, [parts, result, frame](const Cancellation &cancel) {
        return parts->renderer.atFrame(result, frame, cancel);
    });
}

QFuture<QList<EncoderSetting>> PreviewEngine::hardwareEncoders(CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<QList<EncoderSetting>>(
        token, [parts](const Cancellation &cancel) { return parts->hardware.run(cancel); });
}

QFuture<PlaybackClips> PreviewEngine::playbackClips(const PreviewResult &result, CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<PlaybackClips>(
        token, [parts, result](const Cancellation &cancel) { return parts->renderer.playbackClips(result, cancel); });
}

QFuture<void> PreviewEngine::saveClip(const PreviewResult &result, ClipKind kind, const QString &destination,
                                      CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<void>(token, [parts, result, kind, destination](const Cancellation &cancel) {
        parts->exporter.saveClip(result, kind == ClipKind::Reference, destination, cancel);
    });
}

QFuture<void> PreviewEngine::saveComparisonPicture(const PreviewResult &result, const QStringList &captionLines,
                                                   const QString &destination, CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<void>(token, [parts, result, captionLines, destination](const Cancellation &cancel) {
        parts->exporter.saveComparisonPicture(result, captionLines, destination, cancel);
    });
}

QFuture<QByteArray> PreviewEngine::comparisonPicture(const PreviewResult &result, const QStringList &captionLines,
                                                     CancelToken token)
{
    Parts *parts = parts_.get();
    return parts->queue.submit<QByteArray>(token, [parts, result, captionLines](const Cancellation &cancel) {
        return parts->exporter.comparisonPicture(result, captionLines, cancel);
    });
}

void PreviewEngine::abortAllRunningTools()
{
    OperationQueue::abortAll();
}

int PreviewEngine::liveCount()
{
    std::lock_guard lock(liveMutex);
    return live;
}

bool PreviewEngine::waitForAll(QDeadlineTimer deadline)
{
    QEventLoop loop;
    {
        std::lock_guard lock(liveMutex);
        if (live == 0)
            return true;
        waiting.push_back(&loop);
    }
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (!deadline.isForever())
        timer.start(std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())));
    loop.exec();
    std::lock_guard lock(liveMutex);
    waiting.erase(std::find(waiting.begin(), waiting.end(), &loop));
    return live == 0;
}
