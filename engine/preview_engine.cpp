#include "preview_engine.h"

#include "cancelled_error.h"
#include "clip_plan.h"
#include "comparison_limits.h"
#include "hevc_encoder.h"
#include "movie_probe.h"
#include "number_text.h"
#include "platform_error.h"
#include "preview_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QProcess>
#include <QPromise>
#include <QStringDecoder>
#include <QTextBoundaryFinder>
#include <QThread>
#include <QUuid>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kLogTailCharacters = 2500;
// How often a waiting tool run looks whether the program wants to quit.
constexpr int kAbortPollMs = 50;

// The last `count` user-perceived characters (grapheme clusters) of text, or all of it.
QString lastCharacters(const QString &text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.toEnd();
    for (int i = 0; i < count; ++i) {
        if (finder.toPreviousBoundary() <= 0)
            return text;
    }
    return text.mid(finder.position());
}

QString toolFailureText(const QString &logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return PreviewError::unknownToolFailure();
    const QByteArray bytes = log.readAll();
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return PreviewError::unknownToolFailure();
    return lastCharacters(text, kLogTailCharacters);
}

bool isExecutableFile(const QString &path)
{
    return QFileInfo(path).isFile() && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

// A file path as the tools get it: always absolute, so that a name starting with "-" cannot be
// read as an option, "-" not as standard input and a name like "http:x" not as a protocol.
QString toolPath(const QString &path)
{
    if (path.isEmpty())
        throw PlatformError(QStringLiteral("No file given"));
    return QFileInfo(path).absoluteFilePath();
}

QString moviePath(const QUrl &url)
{
    if (!url.isLocalFile())
        throw PlatformError(QStringLiteral("Not a local file: %1").arg(url.toDisplayString()));
    return toolPath(url.toLocalFile());
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError(file.errorString());
    return file.readAll();
}

// The cancellation state of one operation: its token, or the caller cancelling the future itself.
struct Cancel {
    CancelToken token;
    std::function<bool()> futureCancelled;

    bool requested() const { return token.isCancelled() || futureCancelled(); }
};

} // namespace

struct PreviewEngine::Worker {
    struct Operation {
        std::function<void()> run;
        std::function<void()> drop; // fails the operation as cancelled without running it
    };

    QString ffmpeg;
    QString ffprobe;
    QString directory;

    // The cache of the reference clip. Touched only on the worker thread; the key is also read
    // by cachedKey() from other threads, hence its mutex.
    mutable std::mutex keyMutex;
    std::optional<QString> cachedKey;
    qint64 cachedWidth = 0;
    qint64 cachedHeight = 0;
    qint64 cachedFrame = 0;
    double cachedTime = 0;
    double cachedDuration = 0;

    std::mutex queueMutex;
    std::condition_variable wake;
    std::deque<Operation> queue;
    bool stopping = false;
    bool running = false;
    std::atomic<bool> abortRequested = false; // kill the running tool, fail the running operation
    QThread *thread = nullptr;

    static std::mutex registryMutex;
    static std::set<Worker *> registry;

    QString file(const QString &name) const { return directory + QLatin1Char('/') + name; }

    void setCachedKey(std::optional<QString> key)
    {
        std::lock_guard lock(keyMutex);
        cachedKey = std::move(key);
    }

    template <typename T, typename Work> QFuture<T> submit(const CancelToken &token, Work work)
    {
        auto promise = std::make_shared<QPromise<T>>();
        // Started at once: a future that is not started counts as finished to a waiting caller.
        promise->start();
        QFuture<T> future = promise->future();
        Operation operation;
        operation.run = [promise, token, work = std::move(work)] {
            const Cancel cancel{token, [p = promise.get()] { return p->isCanceled(); }};
            try {
                promise->addResult(work(cancel));
            } catch (...) {
                promise->setException(std::current_exception());
            }
            promise->finish();
        };
        operation.drop = [promise] {
            promise->setException(std::make_exception_ptr(CancelledError()));
            promise->finish();
        };
        bool queued = false;
        {
            std::lock_guard lock(queueMutex);
            if (!stopping) {
                queue.push_back(std::move(operation));
                queued = true;
            }
        }
        if (queued)
            wake.notify_one();
        else
            operation.drop();
        return future;
    }

    void loop()
    {
        for (;;) {
            Operation operation;
            {
                std::unique_lock lock(queueMutex);
                wake.wait(lock, [this] { return stopping || !queue.empty(); });
                if (stopping)
                    return;
                operation = std::move(queue.front());
                queue.pop_front();
                abortRequested = false;
                running = true;
            }
            operation.run();
            std::lock_guard lock(queueMutex);
            running = false;
        }
    }

    // Takes the queued operations away and marks the running one for abortion. The caller fails
    // the returned operations outside every lock (their continuations may run right there).
    std::deque<Operation> abort()
    {
        std::lock_guard lock(queueMutex);
        std::deque<Operation> dropped;
        dropped.swap(queue);
        if (running)
            abortRequested = true;
        return dropped;
    }

    QByteArray runTool(const QString &executable, const QStringList &arguments, const Cancel &cancel)
    {
        if (cancel.requested() || abortRequested)
            throw CancelledError();

        const QString logPath = file(QStringLiteral("process.log"));
        {
            QFile log(logPath);
            if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
                throw PlatformError(log.errorString());
        }

        QProcess process;
        process.setProgram(executable);
        process.setArguments(arguments);
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardErrorFile(logPath, QIODevice::Append);
        process.start(QIODevice::ReadOnly);
        if (!process.waitForStarted(-1))
            throw PlatformError(process.errorString());

        // QProcess keeps reading standard output into its buffer while it waits, so the child
        // never blocks on a full pipe; the poll only lets a quitting program end the tool.
        while (process.state() != QProcess::NotRunning) {
            if (abortRequested) {
                process.kill();
                process.waitForFinished(-1);
                throw CancelledError();
            }
            process.waitForFinished(kAbortPollMs);
        }
        QByteArray output = process.readAllStandardOutput();

        if (cancel.requested() || abortRequested)
            throw CancelledError();
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            throw PreviewError(toolFailureText(logPath));
        return output;
    }

    QJsonObject probeJSON(const QString &path, const Cancel &cancel)
    {
        const QByteArray output =
            runTool(ffprobe,
                    {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_format"),
                     QStringLiteral("-show_streams"), QStringLiteral("-of"), QStringLiteral("json"), path},
                    cancel);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(output, &error);
        if (error.error != QJsonParseError::NoError)
            throw PlatformError(error.errorString());
        if (!document.isObject())
            throw PreviewError(PreviewError::unreadableMovieData());
        return document.object();
    }

    // ffmpeg's frame extraction: the frame with the given index of input into a PNG at output.
    // The output is removed first: ffmpeg succeeds without writing anything when the clip has
    // no such frame, and an older picture must not pass for the new one.
    void extractFrame(const QString &input, qint64 frame, const QString &output, const Cancel &cancel)
    {
        QFile::remove(output);
        runTool(ffmpeg,
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y"),
                 QStringLiteral("-i"), input, QStringLiteral("-vf"), QStringLiteral("select=eq(n\\,%1)").arg(frame),
                 QStringLiteral("-frames:v"), QStringLiteral("1"), output},
                cancel);
        if (!QFileInfo::exists(output))
            throw PreviewError(PreviewError::frameNotExtracted());
    }

    // Cuts the reference clip, measures it and takes the compared frame out of it; fills the cache.
    void makeReference(const QString &path, const MovieInfo &movie, double seconds, qint64 maxHeight,
                       const QString &key, const Cancel &cancel)
    {
        setCachedKey(std::nullopt);
        const ClipPlan plan = ClipPlan::compute(movie, seconds, maxHeight);

        const QString reference = file(QStringLiteral("reference.mkv"));
        QFile::remove(reference);
        runTool(ffmpeg,
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-nostdin"), QStringLiteral("-y"),
                 QStringLiteral("-ss"), doubleText(plan.start), QStringLiteral("-noautorotate"), QStringLiteral("-i"),
                 path, QStringLiteral("-t"), doubleText(plan.clipLength),
                 // "V", not "v": the first video stream that is not a cover picture, the one the
                 // probe chose.
                 QStringLiteral("-map"), QStringLiteral("0:V:0"), QStringLiteral("-an"), QStringLiteral("-sn"),
                 QStringLiteral("-dn"), QStringLiteral("-vf"),
                 QStringLiteral("scale=-2:min(ih\\,%1),setsar=1,format=yuv420p").arg(plan.outputHeight),
                 QStringLiteral("-c:v"), QStringLiteral("ffv1"), QStringLiteral("-level"), QStringLiteral("3"),
                 reference},
                cancel);

        const QList<QJsonObject> streams = probeStreams(probeJSON(reference, cancel));
        const std::optional<qint64> width =
            streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("width")));
        const std::optional<qint64> height =
            streams.isEmpty() ? std::nullopt : jsonInteger(streams.first().value(QLatin1String("height")));
        if (!width || !height)
            throw PreviewError(PreviewError::referenceNotCreated());

        extractFrame(reference, plan.frame, file(QStringLiteral("original.png")), cancel);

        cachedWidth = *width;
        cachedHeight = *height;
        cachedFrame = plan.frame;
        cachedTime = plan.frameTime;
        cachedDuration = plan.clipLength;
        setCachedKey(key);
    }

    PreviewResult render(const MovieInfo &movie, double seconds, double mbps, qint64 maxHeight, const Cancel &cancel)
    {
        if (!(mbps >= ComparisonLimits::minMbps && mbps <= ComparisonLimits::maxEngineMbps))
            throw PreviewError(PreviewError::invalidBitrate());
        if (!std::isfinite(seconds))
            throw PreviewError(PreviewError::invalidSceneTime());

        const QString path = moviePath(movie.url);
        const QString key =
            path + QLatin1Char('|') + doubleText(seconds) + QLatin1Char('|') + QString::number(maxHeight);
        bool cached;
        {
            std::lock_guard lock(keyMutex);
            cached = cachedKey == key;
        }
        // The cached clip is only as good as its files: one that vanished is cut again.
        cached = cached && QFileInfo::exists(file(QStringLiteral("reference.mkv")))
            && QFileInfo::exists(file(QStringLiteral("original.png")));
        if (!cached)
            makeReference(path, movie, seconds, maxHeight, key, cancel);

        const QString encoded = file(QStringLiteral("encoded.mp4"));
        QFile::remove(encoded);
        runTool(
            ffmpeg,
            hevcEncodeArguments(file(QStringLiteral("reference.mkv")), encoded, static_cast<qint64>(mbps * 1000000.0)),
            cancel);

        const QList<QJsonObject> streams = probeStreams(probeJSON(encoded, cancel));
        const QJsonValue bitRate = streams.isEmpty() ? QJsonValue() : streams.first().value(QLatin1String("bit_rate"));
        const std::optional<double> bitsPerSecond = parseNumber(bitRate.isString() ? bitRate.toString() : QString());

        extractFrame(encoded, cachedFrame, file(QStringLiteral("encoded.png")), cancel);

        PreviewResult result;
        result.original = readWholeFile(file(QStringLiteral("original.png")));
        result.encoded = readWholeFile(file(QStringLiteral("encoded.png")));
        result.width = cachedWidth;
        result.height = cachedHeight;
        result.actualMbps = bitsPerSecond ? *bitsPerSecond / 1000000.0 : 0.0;
        result.seconds = cachedTime;
        result.sampleSeconds = cachedDuration;
        return result;
    }
};

std::mutex PreviewEngine::Worker::registryMutex;
std::set<PreviewEngine::Worker *> PreviewEngine::Worker::registry;

PreviewEngine::PreviewEngine(const QString &toolsDirectory) : worker_(std::make_unique<Worker>())
{
    const QDir tools(toolsDirectory);
    worker_->ffmpeg = tools.absoluteFilePath(QStringLiteral("ffmpeg"));
    worker_->ffprobe = tools.absoluteFilePath(QStringLiteral("ffprobe"));
    if (!isExecutableFile(worker_->ffmpeg) || !isExecutableFile(worker_->ffprobe))
        throw PreviewError(PreviewError::toolsMissing());

    const QString temporary = QDir::tempPath();
    QDir().mkpath(temporary);
    const QString directory = QDir(temporary).absoluteFilePath(
        QStringLiteral("Bitglance-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    const QByteArray encoded = QFile::encodeName(directory);
    // Frames of the user's film land here: readable by the owner only, whatever the umask.
    const auto failure = [&directory] {
        return PlatformError(QStringLiteral("%1: %2").arg(directory, QString::fromLocal8Bit(std::strerror(errno))));
    };
    if (::mkdir(encoded.constData(), 0700) != 0)
        throw failure();
    if (::chmod(encoded.constData(), 0700) != 0) {
        const PlatformError error = failure();
        ::rmdir(encoded.constData());
        throw error;
    }
    worker_->directory = directory;

    Worker *worker = worker_.get();
    worker->thread = QThread::create([worker] { worker->loop(); });
    worker->thread->setObjectName(QStringLiteral("PreviewEngine"));
    worker->thread->start();

    // A program that ends through exit() (Qt does so when the display connection breaks, for
    // instance at a logout) never destroys the engines its windows own; their folders of film
    // frames still go.
    struct RemoveFoldersAtExit {
        ~RemoveFoldersAtExit()
        {
            std::lock_guard lock(Worker::registryMutex);
            for (const Worker *live : Worker::registry)
                QDir(live->directory).removeRecursively();
        }
    };
    static const RemoveFoldersAtExit removeFoldersAtExit;

    std::lock_guard lock(Worker::registryMutex);
    Worker::registry.insert(worker);
}

PreviewEngine::~PreviewEngine()
{
    {
        std::lock_guard lock(Worker::registryMutex);
        Worker::registry.erase(worker_.get());
    }
    if (QThread::currentThread() == worker_->thread)
        qFatal("PreviewEngine destroyed from one of its own operations");
    std::deque<Worker::Operation> dropped;
    {
        std::lock_guard lock(worker_->queueMutex);
        worker_->stopping = true;
        dropped.swap(worker_->queue);
    }
    worker_->wake.notify_all();
    for (Worker::Operation &operation : dropped)
        operation.drop();
    worker_->thread->wait();
    delete worker_->thread;
    QDir(worker_->directory).removeRecursively();
}

QString PreviewEngine::defaultToolsDirectory()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/bitglance/Tools"));
}

QString PreviewEngine::ffmpeg() const
{
    return worker_->ffmpeg;
}

QString PreviewEngine::ffprobe() const
{
    return worker_->ffprobe;
}

QString PreviewEngine::directory() const
{
    return worker_->directory;
}

QFuture<QByteArray> PreviewEngine::run(const QString &executable, const QStringList &arguments, CancelToken token)
{
    Worker *worker = worker_.get();
    return worker->submit<QByteArray>(token, [worker, executable, arguments](const Cancel &cancel) {
        return worker->runTool(executable, arguments, cancel);
    });
}

QFuture<QJsonObject> PreviewEngine::probeJSON(const QString &path, CancelToken token)
{
    Worker *worker = worker_.get();
    return worker->submit<QJsonObject>(
        token, [worker, path](const Cancel &cancel) { return worker->probeJSON(toolPath(path), cancel); });
}

QFuture<MovieInfo> PreviewEngine::probe(const QUrl &url, CancelToken token)
{
    Worker *worker = worker_.get();
    return worker->submit<MovieInfo>(token, [worker, url](const Cancel &cancel) {
        return movieInfoFromProbe(worker->probeJSON(moviePath(url), cancel), url);
    });
}

QFuture<PreviewResult> PreviewEngine::render(const MovieInfo &movie, double seconds, double mbps, qint64 maxHeight,
                                             CancelToken token)
{
    Worker *worker = worker_.get();
    return worker->submit<PreviewResult>(token, [worker, movie, seconds, mbps, maxHeight](const Cancel &cancel) {
        return worker->render(movie, seconds, mbps, maxHeight, cancel);
    });
}

std::optional<QString> PreviewEngine::cachedKey() const
{
    std::lock_guard lock(worker_->keyMutex);
    return worker_->cachedKey;
}

void PreviewEngine::abortAllRunningTools()
{
    std::deque<Worker::Operation> dropped;
    {
        std::lock_guard lock(Worker::registryMutex);
        for (Worker *worker : Worker::registry) {
            std::deque<Worker::Operation> queued = worker->abort();
            std::move(queued.begin(), queued.end(), std::back_inserter(dropped));
        }
    }
    for (Worker::Operation &operation : dropped)
        operation.drop();
}

int PreviewEngine::liveCount()
{
    std::lock_guard lock(Worker::registryMutex);
    return int(Worker::registry.size());
}
