#pragma once
// A fixed set of worker threads taking tasks from one queue; the owner waits for what it needs
// through the tasks' own flags. No task may throw.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace parvex::cli {

class WorkPool {
public:
    explicit WorkPool(unsigned threads);
    ~WorkPool(); // finishes the queued tasks, then joins
    WorkPool(const WorkPool&) = delete;
    WorkPool& operator=(const WorkPool&) = delete;

    void Submit(std::function<void()> task);

    // A flag the owner can wait on and a task can raise (under the pool's lock, so that no
    // wake-up is lost).
    void Raise(bool& flag);
    void Wait_For(const bool& flag);
    // Wait_For that runs queued tasks on the waiting thread meanwhile: an owner with nothing
    // else to do is one more worker, and no thread sleeps while work waits.
    void Help_Until(const bool& flag);
    bool Is_Raised(const bool& flag);

private:
    void work();

    std::mutex mutex_;
    std::condition_variable tasks_ready_, flag_raised_;
    std::deque<std::function<void()>> tasks_;
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

} // namespace parvex::cli
