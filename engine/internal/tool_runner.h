#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/internal/cancellation.h"
#include "engine/internal/work_folder.h"
#include "engine/preview_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Runs one tool as a child process: the program and its arguments unchanged (no shell), standard
// input from the null device, standard error into the work folder's "process.log" (emptied first),
// standard output read while the tool runs. The child starts with no blocked signals and the
// default handling of SIGPIPE, SIGINT, SIGTERM and SIGHUP, whatever this program set for itself.
// The cancellation is looked at before the start and every few milliseconds while the tool runs:
// a tool whose result is no longer wanted is killed and reaped at once.
class ToolRunner {
public:
    // Called with the frames done at the end of each block of ffmpeg's "-progress pipe:1" output.
    using FramesDone = std::function<void(qint64 frames)>;

    explicit ToolRunner(const WorkFolder &folder);

    // Returns the whole standard output. Throws CancelledError when cancelled, a system PreviewError when
    // the log cannot be emptied or the tool not started, and PreviewError when the tool ends with
    // another status than 0 or by a signal: the no-space text when the log or the disk says so;
    // for a signal the tool's name and the signal number, then the log tail on the next lines;
    // otherwise the log tail, the unknown-failure text when the log is not UTF-8, or the tool's
    // name and its status when the log is empty.
    // The tool runs in workingDirectory when one is given, otherwise in this program's folder.
    QByteArray run(const QString &executable, const QStringList &arguments, const Cancellation &cancel,
                   const FramesDone &framesDone = {}, const QString &workingDirectory = QString()) const;

    // The latest run's log as failures quote it: its last 2,500 user-perceived characters, with
    // the memory addresses taken out of ffmpeg's line prefixes ("[mov,mp4 @ 0x55d4…]" reads
    // "[mov,mp4]"); empty when the log holds no text or is not UTF-8.
    QString logTail() const;

private:
    std::optional<QString> readLog() const;
    PreviewError failureText(const QString &executable, bool crashed, int exitCode) const;

    const WorkFolder &folder_;
    QString logPath_;
};
