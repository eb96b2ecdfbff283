#pragma once

#include "engine/cancel_token.h"

#include <atomic>
#include <csignal>
#include <thread>

// Ends the program's work cleanly on SIGINT, SIGTERM and SIGHUP, and when standard output is a
// pipe whose reader has gone (as SIGPIPE would): the signals are blocked in every thread and taken
// by one watcher thread, which cancels the token and ends the tool each engine runs. The engines
// then remove their work folders as the program unwinds normally. Create it before any other
// thread, so that every thread inherits the blocked signals.
class InterruptWatcher {
public:
    explicit InterruptWatcher(const CancelToken &token);
    ~InterruptWatcher();

    InterruptWatcher(const InterruptWatcher &) = delete;
    InterruptWatcher &operator=(const InterruptWatcher &) = delete;

    // The signal that ended the work, 0 while none did.
    int signal() const { return signal_.load(); }
    // Ends the work as the signal would (SIGPIPE when a write finds the pipe closed).
    void interrupt(int signal);
    // Once everything is written a reader that goes away is no reason to stop.
    void outputComplete() { outputComplete_ = true; }

private:
    void watch();

    CancelToken token_;
    sigset_t signals_;
    std::atomic<int> signal_{0};
    std::atomic<bool> outputComplete_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
