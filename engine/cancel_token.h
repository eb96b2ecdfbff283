#pragma once

#include <atomic>
#include <memory>

// A cooperative cancellation flag shared between a job and the engine operation it awaits.
// Copies share one flag. The engine looks at it before each tool run and while the tool runs.
class CancelToken {
public:
    CancelToken() : flag_(std::make_shared<std::atomic<bool>>(false)) {}

    void cancel() const { flag_->store(true, std::memory_order_release); }
    bool isCancelled() const { return flag_->load(std::memory_order_acquire); }

private:
    std::shared_ptr<std::atomic<bool>> flag_;
};
