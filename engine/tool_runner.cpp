#include "tool_runner.h"

#include "cancelled_error.h"
#include "platform_error.h"
#include "preview_error.h"

#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTextBoundaryFinder>

namespace {

constexpr int kLogTailCharacters = 2500;
// How often a waiting run looks whether the program quits.
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

QString failureText(const QString &logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return PreviewError::unknownToolFailure();
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(log.readAll());
    if (decoder.hasError())
        return PreviewError::unknownToolFailure();
    return lastCharacters(text, kLogTailCharacters);
}

} // namespace

ToolRunner::ToolRunner(QString logPath) : logPath_(std::move(logPath))
{}

QByteArray ToolRunner::run(const QString &executable, const QStringList &arguments, const Cancellation &cancel) const
{
    if (cancel.requested())
        throw CancelledError();
    {
        QFile log(logPath_);
        if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw PlatformError(log.errorString());
    }

    QProcess process;
    process.setProgram(executable);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(logPath_, QIODevice::Append);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        throw PlatformError(process.errorString());

    // QProcess keeps reading standard output into its buffer while it waits, so the child never
    // blocks on a full pipe; the poll only lets a quitting program end the tool.
    while (process.state() != QProcess::NotRunning) {
        if (cancel.aborted()) {
            process.kill();
            process.waitForFinished(-1);
            throw CancelledError();
        }
        process.waitForFinished(kAbortPollMs);
    }
    QByteArray output = process.readAllStandardOutput();

    if (cancel.requested())
        throw CancelledError();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw PreviewError(failureText(logPath_));
    return output;
}
