#pragma once

// Small helpers shared by the engine's test programs.

#include "cancelled_error.h"
#include "error_description.h"
#include "platform_error.h"
#include "preview_error.h"

#include <QFuture>
#include <QTemporaryDir>

// What a future ends with, after waiting for it: "no failure", "PreviewError: <text>",
// "PlatformError: <text>", "CancelledError" or "other: <text>", so kind and message compare as one.
template <typename T> QString failureText(QFuture<T> future)
{
    try {
        future.waitForFinished();
        (void)future.result();
        return QStringLiteral("no failure");
    } catch (const PreviewError &) {
        return QStringLiteral("PreviewError: ") + errorDescription(std::current_exception());
    } catch (const PlatformError &) {
        return QStringLiteral("PlatformError: ") + errorDescription(std::current_exception());
    } catch (const CancelledError &) {
        return QStringLiteral("CancelledError");
    } catch (...) {
        return QStringLiteral("other: ") + errorDescription(std::current_exception());
    }
}

// The result of a future; on failure a default value and a warning that names the failure, so
// that a failed operation shows as a failed comparison with its reason, not as an exception.
template <typename T> T resultOrWarn(QFuture<T> future)
{
    const QString failure = failureText(future);
    if (failure == QLatin1String("no failure"))
        return future.result();
    qWarning("operation failed: %s", qPrintable(failure));
    return T();
}

inline QString previewError(const QString &message)
{
    return QStringLiteral("PreviewError: ") + message;
}

// Points TMPDIR at a fresh private folder for the lifetime of this object, so that work folders
// can be counted without seeing other programs' folders.
class PrivateTempDir {
public:
    PrivateTempDir() : previous_(qgetenv("TMPDIR")) { qputenv("TMPDIR", dir_.path().toLocal8Bit()); }
    ~PrivateTempDir() { previous_.isNull() ? (void)qunsetenv("TMPDIR") : (void)qputenv("TMPDIR", previous_); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};
