#pragma once

#include "cancellation.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs one tool as a child process: the program and its arguments unchanged (no shell), standard
// input from the null device, standard error into the log file (emptied first), standard output
// read whole. The cancellation is looked at right before the start and right after the end; a tool
// that has started is killed only when the program quits (Cancellation::aborted).
class ToolRunner {
public:
    explicit ToolRunner(QString logPath);

    // Returns the whole standard output. Throws CancelledError when cancelled, PlatformError when
    // the log cannot be emptied or the tool not started, and PreviewError when the tool ends with
    // another status than 0 or by a signal: its text is the last 2,500 user-perceived characters
    // of the log, or the unknown-failure text when the log is not UTF-8.
    QByteArray run(const QString &executable, const QStringList &arguments, const Cancellation &cancel) const;

private:
    QString logPath_;
};
