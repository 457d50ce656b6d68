#include "work_pool.h"

namespace parvex::cli {

WorkPool::WorkPool(unsigned threads) {
    for (unsigned k = 0; k < threads; ++k)
        threads_.emplace_back([this] { work(); });
}

WorkPool::~WorkPool() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    tasks_ready_.notify_all();
    for (auto& t : threads_)
        t.join();
}

void WorkPool::Submit(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    tasks_ready_.notify_one();
}

void WorkPool::Raise(bool& flag) {
    {
        std::lock_guard lock(mutex_);
        flag = true;
    }
    flag_raised_.notify_all();
    tasks_ready_.notify_all(); // a helping owner waits there
}

void WorkPool::Wait_For(const bool& flag) {
    std::unique_lock lock(mutex_);
    flag_raised_.wait(lock, [&] { return flag; });
}

void WorkPool::Help_Until(const bool& flag) {
    std::unique_lock lock(mutex_);
    while (!flag) {
        if (tasks_.empty()) {
            // Woken by a new task as well as by the flag: this thread is one of the workers.
            tasks_ready_.wait(lock);
            continue;
        }
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

bool WorkPool::Is_Raised(const bool& flag) {
    std::lock_guard lock(mutex_);
    return flag;
}

void WorkPool::work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            tasks_ready_.wait(lock, [&] { return closing_ || !tasks_.empty(); });
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

} // namespace parvex::cli
