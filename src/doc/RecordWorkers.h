// A small pool of threads for the DOC codec, whose records are compressed and decoded each on
// its own: one job runs over a batch of records on every core.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tomery::doc {

class RecordWorkers {
  public:
    /// `threads` in all, the calling thread included; 0 means one per core.
    explicit RecordWorkers(unsigned threads = 0);
    ~RecordWorkers();
    RecordWorkers(const RecordWorkers&) = delete;
    RecordWorkers& operator=(const RecordWorkers&) = delete;

    unsigned Threads() const { return static_cast<unsigned>(threads_.size()) + 1; }

    /// Runs `job(i)` for every `i` below `count`, spread over the threads, and returns when
    /// all are done. An exception a job throws is thrown here once the others have ended.
    void Run(std::size_t count, const std::function<void(std::size_t)>& job);

  private:
    void Serve();
    /// Takes indexes of the current batch until none are left.
    void TakeJobs();

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    const std::function<void(std::size_t)>* job_ = nullptr;
    std::size_t count_ = 0;
    std::size_t next_ = 0;     ///< the next index to take, under mutex_
    unsigned busy_ = 0;        ///< helper threads still on the batch
    std::uint64_t batch_ = 0;  ///< counts the batches, so that a thread serves each once
    bool stopping_ = false;
    std::exception_ptr failure_;
};

}  // namespace tomery::doc
