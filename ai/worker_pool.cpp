#include "worker_pool.h"

#include <algorithm>

namespace velnora::ai {

WorkerPool::WorkerPool(int workers) {
    for (int i = 0; i < workers; ++i)
        workers_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(m_);
        stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

WorkerPool& WorkerPool::shared() {
    static WorkerPool pool(std::max(1, static_cast<int>(std::thread::hardware_concurrency())) - 1);
    return pool;
}

void WorkerPool::run(std::size_t count, int threads, const std::function<void(std::size_t)>& task) {
    std::unique_lock busy(busy_, std::defer_lock);
    if (threads < 2 || workers_.empty() || count < 2 || !busy.try_lock()) {
        for (std::size_t i = 0; i < count; ++i)
            task(i);
        return;
    }
    {
        const std::lock_guard lock(m_);
        task_ = &task;
        count_ = count;
        next_.store(0, std::memory_order_relaxed);
        joined_ = 0;
        wanted_ = std::min(threads - 1, static_cast<int>(workers_.size()));
        ++generation_;
    }
    wake_.notify_all();
    drain();
    std::unique_lock lock(m_);
    // A worker that has not woken yet finds nothing left; it must not start on a later job's
    // numbers with this job's task.
    wanted_ = joined_;
    idle_.wait(lock, [this] { return active_ == 0; });
    task_ = nullptr;
}

void WorkerPool::work() {
    std::uint64_t seen = 0;
    std::unique_lock lock(m_);
    for (;;) {
        wake_.wait(lock, [&] { return stop_ || (generation_ != seen && joined_ < wanted_); });
        if (stop_) return;
        seen = generation_;
        ++joined_;
        ++active_;
        lock.unlock();
        drain();
        lock.lock();
        if (--active_ == 0) idle_.notify_all();
    }
}

void WorkerPool::drain() {
    for (std::size_t i; (i = next_.fetch_add(1, std::memory_order_relaxed)) < count_;)
        (*task_)(i);
}

} // namespace velnora::ai
