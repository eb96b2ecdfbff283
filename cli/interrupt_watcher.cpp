#include "cli/interrupt_watcher.h"

#include "cli/json_output.h"
#include "engine/preview_engine.h"

#include <ctime>
#include <poll.h>
#include <pthread.h>

InterruptWatcher::InterruptWatcher(const CancelToken &token) : token_(token)
{
    sigemptyset(&signals_);
    for (const int blocked : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        sigaddset(&signals_, blocked);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    thread_ = std::thread([this] { watch(); });
}

InterruptWatcher::~InterruptWatcher()
{
    stopping_ = true;
    thread_.join();
}

void InterruptWatcher::interrupt(int signal)
{
    int none = 0;
    signal_.compare_exchange_strong(none, signal);
    token_.cancel();
    PreviewEngine::abortAllRunningTools();
}

void InterruptWatcher::watch()
{
    // A blocked SIGPIPE stays with the thread that wrote, so a reader that went away is noticed
    // here by polling standard output: a pipe without reader reports an error.
    const timespec tick{0, 100 * 1000 * 1000};
    while (!stopping_) {
        const int caught = sigtimedwait(&signals_, nullptr, &tick);
        if (caught > 0)
            interrupt(caught);
        // A signal ends the program also while it waits to write a line nobody reads.
        if (signal_ != 0)
            JsonOutput::interruptWriting();
        if (caught > 0)
            continue;
        pollfd output{STDOUT_FILENO, 0, 0};
        if (!outputComplete_ && signal_ == 0 && ::poll(&output, 1, 0) == 1 && (output.revents & POLLERR))
            interrupt(SIGPIPE);
    }
}
