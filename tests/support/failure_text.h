#pragma once

#include "engine/cancelled_error.h"
#include "engine/preview_error.h"

#include <QFuture>

// How work ends: "no failure", "CancelledError", "PreviewError: <text>" or, with the system's own text, "SystemError:
// <text>".
template <typename Work> QString failureOf(Work &&work)
{
    try {
        work();
        return "no failure";
    } catch (const CancelledError &) {
        return "CancelledError";
    } catch (const PreviewError &error) {
        return (error.kind() == PreviewError::Kind::System ? "SystemError: " : "PreviewError: ") + error.message();
    }
}
template <typename T> QString failureText(QFuture<T> future)
{
    if constexpr (std::is_void_v<T>)
        return failureOf([&future] { future.waitForFinished(); });
    else
        return failureOf([&future] { (void)future.result(); });
}
inline QString previewError(const QString &message)
{
    return "PreviewError: " + message;
}

// A future's result; on failure a default value and a warning that names the failure, so that a
// failed operation shows as a failed comparison with its reason instead of ending the program.
template <typename T> T resultOrWarn(QFuture<T> future)
{
    const QString failure = failureText(future);
    if (failure != "no failure")
        qWarning("operation failed: %s", qPrintable(failure));
    return failure == "no failure" ? future.result() : T();
}
