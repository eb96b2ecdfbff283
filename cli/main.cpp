// bitglance-cli: the preview engine without a window, for scripts and for trying Bitglance on a
// machine without a display. It prints the same texts the window shows.

#include "cli_arguments.h"
#include "comparison_texts.h"
#include "error_description.h"
#include "preview_engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QSaveFile>
#include <QUrl>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>
#include <pthread.h>
#include <thread>

namespace {

std::atomic<int> interruptedBy{0};

// SIGINT and SIGTERM are blocked in every thread and taken by one watcher thread, which cancels
// the running operation and ends the tool it runs. The engine then removes its work folder as
// the program unwinds normally.
class InterruptWatcher {
public:
    explicit InterruptWatcher(const CancelToken &token) : token_(token)
    {
        sigemptyset(&signals_);
        sigaddset(&signals_, SIGINT);
        sigaddset(&signals_, SIGTERM);
        sigaddset(&signals_, SIGUSR1);
        pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
        thread_ = std::thread([this] {
            for (;;) {
                int signal = 0;
                if (sigwait(&signals_, &signal) != 0 || signal == SIGUSR1)
                    return;
                interruptedBy = signal;
                token_.cancel();
                PreviewEngine::abortAllRunningTools();
            }
        });
    }

    ~InterruptWatcher()
    {
        pthread_kill(thread_.native_handle(), SIGUSR1);
        thread_.join();
    }

private:
    CancelToken token_;
    sigset_t signals_;
    std::thread thread_;
};

// One JSON value in its compact text form.
QByteArray json(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// A JSON object whose keys keep the given order.
QByteArray jsonObject(const QList<std::pair<const char *, QJsonValue>> &members)
{
    QByteArray text = "{";
    for (const auto &[key, value] : members) {
        if (text.size() > 1)
            text += ',';
        text += json(QString::fromLatin1(key)) + ':' + json(value);
    }
    return text + '}';
}

void printLine(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printError(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(QStringLiteral("%1: %2").arg(path, file.errorString()).toStdString());
}

QJsonValue optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

int probeCommand(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token)
{
    const MovieInfo movie = engine.probe(QUrl::fromLocalFile(arguments.film), token).result();
    printLine(jsonObject({{"path", movie.path()},
                          {"duration", movie.duration},
                          {"width", double(movie.width)},
                          {"height", double(movie.height)},
                          {"fps", movie.fps},
                          {"codec", movie.codec},
                          {"bitrate", optionalNumber(movie.bitrate)}}));
    return 0;
}

int renderCommand(PreviewEngine &engine, const CliArguments &arguments, const CancelToken &token)
{
    const MovieInfo movie = engine.probe(QUrl::fromLocalFile(arguments.film), token).result();
    if (!QDir().mkpath(arguments.outDirectory))
        throw std::runtime_error(QStringLiteral("%1: cannot create folder").arg(arguments.outDirectory).toStdString());
    const QDir out(arguments.outDirectory);
    const QString originalPath = out.filePath(QStringLiteral("original.png"));
    const bool several = arguments.mbps.size() > 1;

    bool originalWritten = false;
    for (const double mbps : arguments.mbps) {
        const PreviewResult result = engine.render(movie, arguments.seconds, mbps, arguments.maxHeight, token).result();
        if (!originalWritten) {
            // The reference frame is the same for every bitrate of one run.
            writeFile(originalPath, result.original);
            originalWritten = true;
        }
        const QString encodedPath =
            out.filePath(several ? QStringLiteral("encoded-%1.png").arg(QString::asprintf("%.2f", mbps))
                                 : QStringLiteral("encoded.png"));
        writeFile(encodedPath, result.encoded);
        printLine(jsonObject({{"mbps", mbps},
                              {"width", double(result.width)},
                              {"height", double(result.height)},
                              {"actualMbps", result.actualMbps},
                              {"seconds", result.seconds},
                              {"sampleSeconds", result.sampleSeconds},
                              {"measurement", measurementText(mbps, result)},
                              {"status", comparisonStatusText(result)},
                              {"original", originalPath},
                              {"encoded", encodedPath}}));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    CancelToken token;
    InterruptWatcher watcher(token);
    QCoreApplication app(argc, argv);

    QString problem;
    const std::optional<CliArguments> arguments = CliArguments::parse(app.arguments().mid(1), &problem);
    if (!arguments) {
        printError(QStringLiteral("bitglance-cli: %1").arg(problem));
        std::fputs(CliArguments::usage().toUtf8().constData(), stderr);
        return 2;
    }

    int status = 1;
    try {
        // The engine is destroyed (and its work folder removed) before main returns, on every path.
        PreviewEngine engine(arguments->toolsDirectory.isEmpty() ? PreviewEngine::defaultToolsDirectory()
                                                                 : arguments->toolsDirectory);
        status = arguments->command == CliArguments::Command::Probe ? probeCommand(engine, *arguments, token)
                                                                    : renderCommand(engine, *arguments, token);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (isCancellation(error) || interruptedBy != 0)
            return 128 + (interruptedBy != 0 ? interruptedBy.load() : SIGINT);
        printError(errorDescription(error));
        return 1;
    }
    return status;
}
