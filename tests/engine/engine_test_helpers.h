#pragma once

#include "cancelled_error.h"
#include "error_description.h"
#include "platform_error.h"
#include "preview_error.h"

#include <QDir>
#include <QFuture>
#include <QString>
#include <QTemporaryDir>

#include <exception>

// Small helpers shared by the engine's test programs.

// The failure a finished future holds, or null when it holds a result. Waits for it.
template <typename T>
std::exception_ptr failureOf(QFuture<T> future)
{
    try {
        future.waitForFinished();
        (void)future.result();
    } catch (...) {
        return std::current_exception();
    }
    return {};
}

template <typename Error>
bool holds(const std::exception_ptr &failure)
{
    try {
        if (failure)
            std::rethrow_exception(failure);
    } catch (const Error &) {
        return true;
    } catch (...) {
    }
    return false;
}

// "PreviewError: <text>", "PlatformError: <text>", "CancelledError", "no failure" or "other: <text>":
// one comparable text that names the kind of a failure as well as its message.
inline QString failureText(const std::exception_ptr &failure)
{
    if (!failure)
        return QStringLiteral("no failure");
    if (holds<PreviewError>(failure))
        return QStringLiteral("PreviewError: ") + errorDescription(failure);
    if (holds<PlatformError>(failure))
        return QStringLiteral("PlatformError: ") + errorDescription(failure);
    if (holds<CancelledError>(failure))
        return QStringLiteral("CancelledError");
    return QStringLiteral("other: ") + errorDescription(failure);
}

template <typename T>
QString failureText(QFuture<T> future)
{
    return failureText(failureOf(future));
}

// The result of a future; on failure a default value and a warning that names the failure, so
// that a failed operation shows as a failed comparison with its reason, not as an exception.
template <typename T>
T resultOrWarn(QFuture<T> future)
{
    const std::exception_ptr failure = failureOf(future);
    if (failure) {
        qWarning("operation failed: %s", qPrintable(failureText(failure)));
        return T();
    }
    return future.result();
}

inline QString previewError(const QString &message)
{
    return QStringLiteral("PreviewError: ") + message;
}

// The engines' work folders now under the temporary directory.
inline QStringList workFolders()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("Bitglance-*")}, QDir::Dirs | QDir::Hidden);
}

// Points the process's temporary directory (TMPDIR) at a fresh private folder for the lifetime of
// this object, so that work folders can be counted without seeing other programs' folders.
class PrivateTempDir {
public:
    PrivateTempDir() : hadPrevious_(qEnvironmentVariableIsSet("TMPDIR")), previous_(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", dir_.path().toLocal8Bit());
    }
    ~PrivateTempDir()
    {
        if (hadPrevious_)
            qputenv("TMPDIR", previous_);
        else
            qunsetenv("TMPDIR");
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    bool hadPrevious_;
    QByteArray previous_;
};
