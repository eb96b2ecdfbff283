#pragma once

#include "engine/cancelled_error.h"

#include <QFuture>
#include <QObject>
#include <exception>
#include <optional>
#include <utility>

// What becomes of done when the context is destroyed before the future has finished.
enum class WhenContextGone {
    Skip,            // done is never called
    ReportCancelled, // done is called with the cancellation, on the thread that dropped the step
};

// Calls done(value, failure) on the context's thread once the engine's future has finished: with
// the value on success, otherwise with the stored failure (a future cancelled without one counts
// as the engine's cancellation).
template <typename T, typename Done>
void whenFinished(QFuture<T> future, QObject *context, Done done, WhenContextGone gone = WhenContextGone::Skip)
{
    QFuture<void> continued = future.then(context, [done](QFuture<T> finished) mutable {
        std::optional<T> value;
        std::exception_ptr failure;
        try {
            value = finished.result();
        } catch (...) {
            failure = std::current_exception();
        }
        done(std::move(value), failure);
    });
    auto cancelled = [done]() mutable { done(std::nullopt, std::make_exception_ptr(CancelledError())); };
    if (gone == WhenContextGone::Skip)
        continued.onCanceled(context, std::move(cancelled));
    else
        continued.onCanceled(std::move(cancelled));
}
