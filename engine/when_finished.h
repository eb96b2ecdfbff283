#pragma once

#include "cancelled_error.h"

#include <QFuture>
#include <QObject>
#include <exception>
#include <optional>
#include <utility>

// Calls done(value, failure) on the context's thread once the engine's future has finished: with
// the value on success, otherwise with the stored failure (a future cancelled without one counts
// as the engine's cancellation). Once the context is destroyed, done is never called.
template <typename T, typename Done> void whenFinished(QFuture<T> future, QObject *context, Done done)
{
    future
        .then(context,
              [done](QFuture<T> finished) mutable {
                  std::optional<T> value;
                  std::exception_ptr failure;
                  try {
                      value = finished.result();
                  } catch (...) {
                      failure = std::current_exception();
                  }
                  done(std::move(value), failure);
              })
        .onCanceled(context, [done]() mutable { done(std::nullopt, std::make_exception_ptr(CancelledError())); });
}
