#include "engine/internal/operation_queue.h"

#include <QThread>

#include <iterator>
#include <set>

namespace {

std::mutex registryMutex;
std::set<OperationQueue *> registry;

} // namespace

OperationQueue::OperationQueue()
{
    thread_ = QThread::create([this] { loop(); });
    thread_->setObjectName(QStringLiteral("PreviewEngine"));
    thread_->start();
    std::lock_guard lock(registryMutex);
    registry.insert(this);
}

OperationQueue::~OperationQueue()
{
    {
        std::lock_guard lock(registryMutex);
        registry.erase(this);
    }
    if (QThread::currentThread() == thread_)
        qFatal("PreviewEngine destroyed from one of its own operations");
    std::deque<Operation> dropped;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        dropped.swap(queue_);
    }
    wake_.notify_all();
    for (Operation &operation : dropped)
        operation.drop();
    thread_->wait();
    delete thread_;
}

void OperationQueue::enqueue(Operation operation)
{
    {
        std::lock_guard lock(mutex_);
        if (!stopping_) {
            queue_.push_back(std::move(operation));
            wake_.notify_one();
            return;
        }
    }
    operation.drop();
}

void OperationQueue::loop()
{
    for (;;) {
        Operation operation;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            operation = std::move(queue_.front());
            queue_.pop_front();
            abort_ = false;
            running_ = true;
        }
        operation.run(abort_);
        std::lock_guard lock(mutex_);
        running_ = false;
    }
}

// The caller fails the returned operations outside every lock: their continuations may run there.
std::deque<OperationQueue::Operation> OperationQueue::abortRunningAndTakeQueued()
{
    std::lock_guard lock(mutex_);
    std::deque<Operation> dropped;
    dropped.swap(queue_);
    if (running_)
        abort_ = true;
    return dropped;
}

void OperationQueue::abortAll()
{
    std::deque<Operation> dropped;
    {
        std::lock_guard lock(registryMutex);
        for (OperationQueue *queue : registry) {
            std::deque<Operation> queued = queue->abortRunningAndTakeQueued();
            std::move(queued.begin(), queued.end(), std::back_inserter(dropped));
        }
    }
    for (Operation &operation : dropped)
        operation.drop();
}
