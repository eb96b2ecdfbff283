#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/cancel_token.h"

#include <atomic>
#include <functional>

// What one engine operation looks at between its steps and while a tool runs: the caller's token,
// the caller cancelling the operation's future, and the program ending the running tool because
// it quits.
class Cancellation {
public:
    explicit Cancellation(CancelToken token = {}, std::function<bool()> futureCancelled = {},
                          const std::atomic<bool> *abort = nullptr)
        : token_(std::move(token)), futureCancelled_(std::move(futureCancelled)), abort_(abort)
    {}

    // The result is no longer wanted: the running tool is ended at once and the operation stops.
    bool requested() const
    {
        return token_.isCancelled() || (futureCancelled_ && futureCancelled_()) || (abort_ && abort_->load());
    }

private:
    CancelToken token_;
    std::function<bool()> futureCancelled_;
    const std::atomic<bool> *abort_;
};
