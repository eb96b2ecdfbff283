#pragma once

#include "engine/cancelled_error.h"

#include <QFuture>
#include <QObject>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

// What becomes of done when the context is destroyed before the future has finished.
enum class WhenContextGone {
    Skip,            // done is never called
    ReportCancelled, // done is called with the cancellation, on the thread that dropped the step
};

// Calls done(value, failure) on the context's thread once the engine's future has finished: with
// the value on success, otherwise with the stored failure (a future cancelled without one counts
// as the engine's cancellation). For a QFuture<void>, done takes the failure alone.
template <typename T, typename Done>
void whenFinished(QFuture<T> future, QObject *context, Done done, WhenContextGone gone = WhenContextGone::Skip)
{
    QFuture<void> continued = future.then(context, [done](QFuture<T> finished) mutable {
        std::optional<std::conditional_t<std::is_void_v<T>, bool, T>> value;
        std::exception_ptr failure;
        try {
            if constexpr (std::is_void_v<T>)
                finished.waitForFinished(); // throws the stored failure
            else
                value = finished.result();
        } catch (...) {
            failure = std::current_exception();
        }
        if constexpr (std::is_void_v<T>)
            done(failure);
        else
            done(std::move(value), failure);
    });
    auto cancelled = [done]() mutable {
        if constexpr (std::is_void_v<T>)
            done(std::make_exception_ptr(CancelledError()));
        else
            done(std::nullopt, std::make_exception_ptr(CancelledError()));
    };
    if (gone == WhenContextGone::Skip)
        continued.onCanceled(context, std::move(cancelled));
    else
        continued.onCanceled(std::move(cancelled));
}
