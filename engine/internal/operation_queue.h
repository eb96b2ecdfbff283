#pragma once

#ifndef BITGLANCE_ENGINE_INTERNALS
#error "engine/internal/ is private to the engine; front ends include engine/preview_engine.h"
#endif

#include "engine/cancel_token.h"
#include "engine/cancelled_error.h"
#include "engine/internal/cancellation.h"

#include <QFuture>
#include <QPromise>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>

class QThread;

// The engine's strand: one worker thread that runs the submitted operations one at a time, in
// order. Each operation's result or exception goes into the QFuture that submit() returns.
//
// Every future is finished in the end. An operation that never ran (dropped by the destructor or
// by abortAll) fails with CancelledError like a cancelled one.
class OperationQueue {
public:
    OperationQueue();
    // Lets the running operation finish, fails the queued ones as cancelled and stops the thread.
    // Destroying the queue from one of its own operations aborts the program.
    ~OperationQueue();

    OperationQueue(const OperationQueue &) = delete;
    OperationQueue &operator=(const OperationQueue &) = delete;

    // Queues work(const Cancellation &) -> T. The Cancellation it gets combines the token, the
    // caller cancelling the returned future, and abortAll().
    template <typename T, typename Work> QFuture<T> submit(const CancelToken &token, Work work)
    {
        auto promise = std::make_shared<QPromise<T>>();
        // Started at once: a future that is not started counts as finished to a waiting caller.
        promise->start();
        QFuture<T> future = promise->future();
        Operation operation;
        operation.run = [promise, token, work = std::move(work)](const std::atomic<bool> &abort) {
            const Cancellation cancel(
                token, [p = promise.get()] { return p->isCanceled(); }, &abort);
            try {
                if constexpr (std::is_void_v<T>)
                    work(cancel);
                else
                    promise->addResult(work(cancel));
            } catch (...) {
                promise->setException(std::current_exception());
            }
            promise->finish();
        };
        operation.drop = [promise] {
            promise->setException(std::make_exception_ptr(CancelledError()));
            promise->finish();
        };
        enqueue(std::move(operation));
        return future;
    }

    // At program exit: aborts the operation each live queue is running (its tool is killed and it
    // fails as cancelled) and fails the queued ones as cancelled without running them. Operations
    // submitted later run normally. Thread-safe.
    static void abortAll();

private:
    struct Operation {
        std::function<void(const std::atomic<bool> &abort)> run;
        std::function<void()> drop; // fails the operation as cancelled without running it
    };

    void enqueue(Operation operation);
    void loop();
    std::deque<Operation> abortRunningAndTakeQueued();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Operation> queue_;
    bool stopping_ = false;
    bool running_ = false;
    std::atomic<bool> abort_ = false;
    QThread *thread_ = nullptr;
};
