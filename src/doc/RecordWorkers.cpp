#include "RecordWorkers.h"

#include <algorithm>
#include <utility>

namespace tomery::doc {

unsigned RecordWorkers::ThreadCount(unsigned asked) {
    return asked != 0 ? asked : std::max(1u, std::thread::hardware_concurrency());
}

RecordWorkers::RecordWorkers(unsigned threads) {
    for (unsigned i = 1; i < ThreadCount(threads); ++i) {
        threads_.emplace_back([this] { Serve(); });
    }
}

RecordWorkers::~RecordWorkers() {
    {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [this] { return busy_ == 0; });
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void RecordWorkers::Run(std::size_t count, const std::function<void(std::size_t)>& job) {
    Start(count, job);
    Finish();
}

void RecordWorkers::Start(std::size_t count, const std::function<void(std::size_t)>& job) {
    {
        const std::lock_guard lock(mutex_);
        job_ = &job;
        count_ = count;
        next_ = 0;
        busy_ = static_cast<unsigned>(threads_.size());
        failure_ = nullptr;
        ++batch_;
    }
    wake_.notify_all();
}

void RecordWorkers::Finish() {
    TakeJobs();
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return busy_ == 0; });
    job_ = nullptr;
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
}

void RecordWorkers::Serve() {
    std::uint64_t served = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || batch_ != served; });
            if (stopping_) {
                return;
            }
            served = batch_;
        }
        TakeJobs();
        const std::lock_guard lock(mutex_);
        if (--busy_ == 0) {
            finished_.notify_one();
        }
    }
}

void RecordWorkers::TakeJobs() {
    for (;;) {
        std::size_t index;
        {
            const std::lock_guard lock(mutex_);
            if (next_ >= count_ || failure_) {
                return;
            }
            index = next_++;
        }
        try {
            (*job_)(index);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!failure_) {
                failure_ = std::current_exception();
            }
        }
    }
}

}  // namespace tomery::doc
