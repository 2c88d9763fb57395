#pragma once
// A few threads kept for the life of the program, which a search spreads its rollouts over.
// They are started once rather than per decision: a decision takes milliseconds, and each new
// thread takes a range of pile version numbers that a thread per decision would use up.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velnora::ai {

class WorkerPool {
public:
    explicit WorkerPool(int workers);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // One worker fewer than the machine's cores: the caller works too.
    static WorkerPool& shared();

    // The threads a run can use, the caller's included.
    int threads() const { return static_cast<int>(workers_.size()) + 1; }

    // Calls task(i) once for each i below count, on up to `threads` threads with this one among
    // them, and returns when every call has returned. Which thread runs which i is left to
    // chance, so task must write its result to a place of its own. task must not throw. While
    // another thread runs a job, this one does the whole job itself.
    void run(std::size_t count, int threads, const std::function<void(std::size_t)>& task);

private:
    void work();
    void drain();

    std::vector<std::thread> workers_;
    std::mutex busy_; // one job at a time
    std::mutex m_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    bool stop_ = false;
    std::uint64_t generation_ = 0;
    int wanted_ = 0; // workers the job may still take on
    int joined_ = 0;
    int active_ = 0;
    const std::function<void(std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0;
    std::atomic<std::size_t> next_{0};
};

} // namespace velnora::ai
