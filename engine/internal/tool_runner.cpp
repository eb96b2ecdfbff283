#include "engine/internal/tool_runner.h"

#include "engine/cancelled_error.h"
#include "engine/preview_error.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kLogTailCharacters = 2500;
// How often a running tool's output is read and the cancellation looked at.
constexpr int kPollMs = 25;

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

// Runs in the child between fork and exec: async-signal-safe calls only. Children inherit the
// signal mask and ignored signals; a tool that cannot be ended by SIGTERM outlives its program.
// The tool is killed when the thread that started it ends, also by a kill -9 of this program; a
// parent that died before the request was made is seen as a new parent.
void resetSignals(pid_t parent)
{
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, SIG_DFL);
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
        ::_exit(127);
}

// Reads ffmpeg's progress blocks ("frame=N" ... "progress=continue" or "progress=end") from the
// standard output gathered so far.
class ProgressLines {
public:
    explicit ProgressLines(const ToolRunner::FramesDone &framesDone) : framesDone_(framesDone) {}

    void read(const QByteArray &output)
    {
        if (!framesDone_)
            return;
        for (qsizetype end = output.indexOf('\n', parsed_); end >= 0; end = output.indexOf('\n', parsed_)) {
            const QByteArray line = output.mid(parsed_, end - parsed_).trimmed();
            parsed_ = end + 1;
            bool isNumber = false;
            const qint64 value = line.startsWith("frame=") ? line.mid(6).toLongLong(&isNumber) : -1;
            if (isNumber && value >= 0)
                frames_ = value;
            else if (line.startsWith("progress=") && frames_ >= 0)
                framesDone_(frames_);
        }
    }

private:
    const ToolRunner::FramesDone &framesDone_;
    qsizetype parsed_ = 0;
    qint64 frames_ = -1;
};

} // namespace

ToolRunner::ToolRunner(const WorkFolder &folder) : folder_(folder), logPath_(folder.file(QStringLiteral("process.log")))
{}

QByteArray ToolRunner::run(const QString &executable, const QStringList &arguments, const Cancellation &cancel,
                           const FramesDone &framesDone, const QString &workingDirectory) const
{
    if (cancel.requested())
        throw CancelledError();
    const int log = ::open(QFile::encodeName(logPath_).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (log < 0)
        folder_.throwWriteFailure(logPath_, errno);
    ::close(log);

    QProcess process;
    process.setProgram(executable);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(logPath_, QIODevice::Append);
    process.setChildProcessModifier([parent = ::getpid()] { resetSignals(parent); });
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        throw PreviewError::system(process.errorString());

    // QProcess reads standard output into its buffer while it waits, so the child never blocks on
    // a full pipe.
    QByteArray output;
    ProgressLines progress(framesDone);
    while (process.state() != QProcess::NotRunning) {
        if (cancel.requested()) {
            process.kill();
            process.waitForFinished(-1);
            throw CancelledError();
        }
        process.waitForFinished(kPollMs);
        output += process.readAllStandardOutput();
        progress.read(output);
    }
    output += process.readAllStandardOutput();
    progress.read(output);

    if (cancel.requested())
        throw CancelledError();
    const bool crashed = process.exitStatus() != QProcess::NormalExit;
    if (crashed || process.exitCode() != 0)
        throw failureText(executable, crashed, process.exitCode());
    return output;
}

std::optional<QString> ToolRunner::readLog() const
{
    QFile log(logPath_);
    if (!log.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(log.readAll());
    if (decoder.hasError())
        return std::nullopt;
    static const QRegularExpression address(QStringLiteral(R"(\[([^\]\n]*) @ 0x[0-9A-Fa-f]+\])"));
    return lastCharacters(text.replace(address, QStringLiteral("[\\1]")), kLogTailCharacters);
}

QString ToolRunner::logTail() const
{
    const QString tail = readLog().value_or(QString());
    return tail.trimmed().isEmpty() ? QString() : tail;
}

// For a crash, exitCode is the signal's number.
PreviewError ToolRunner::failureText(const QString &executable, bool crashed, int exitCode) const
{
    QFile log(logPath_);
    if ((log.open(QIODevice::ReadOnly) && log.readAll().contains("No space left on device")) || folder_.isFull())
        return PreviewError::noSpace(folder_.temporaryFolder());
    const QString tool = QFileInfo(executable).fileName();
    const QString tail = logTail();
    if (crashed)
        return PreviewError::toolKilled(tool, exitCode).withDetail(tail);
    if (!tail.isEmpty())
        return PreviewError(tail);
    return readLog() ? PreviewError::toolFailed(tool, exitCode) : PreviewError::unknownToolFailure();
}
