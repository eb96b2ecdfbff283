#pragma once

// Small helpers shared by the engine's test programs.

#include "cancelled_error.h"
#include "error_description.h"
#include "platform_error.h"
#include "preview_error.h"

#include <QFuture>
#include <QTemporaryDir>

// How work ends: "no failure", "PreviewError: <text>", "PlatformError: <text>", "CancelledError"
// or "other: <text>", so that kind and message compare as one.
template <typename Work> QString failureOf(Work &&work)
{
    try {
        work();
        return QStringLiteral("no failure");
    } catch (const CancelledError &) {
        return QStringLiteral("CancelledError");
    } catch (const std::exception &error) {
        const QString kind = dynamic_cast<const PreviewError *>(&error) ? QStringLiteral("PreviewError: ")
            : dynamic_cast<const PlatformError *>(&error)               ? QStringLiteral("PlatformError: ")
                                                                        : QStringLiteral("other: ");
        return kind + errorDescription(std::current_exception());
    }
}
template <typename T> QString failureText(QFuture<T> future)
{
    return failureOf([&future] { (void)future.result(); });
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

// Points TMPDIR at a fresh private folder while it lives, so that work folders can be counted
// without seeing other programs' folders.
class PrivateTempDir {
public:
    PrivateTempDir() : previous_(qgetenv("TMPDIR")) { qputenv("TMPDIR", dir_.path().toLocal8Bit()); }
    ~PrivateTempDir() { previous_.isNull() ? (void)qunsetenv("TMPDIR") : (void)qputenv("TMPDIR", previous_); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};
