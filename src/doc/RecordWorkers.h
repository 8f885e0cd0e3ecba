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
    /// The threads asked for, the calling thread included: `asked`, or one per core for 0.
    static unsigned ThreadCount(unsigned asked);

    /// ThreadCount(`threads`) in all, the calling thread included.
    explicit RecordWorkers(unsigned threads = 0);
    /// Waits for the jobs of a batch still running.
    ~RecordWorkers();
    RecordWorkers(const RecordWorkers&) = delete;
    RecordWorkers& operator=(const RecordWorkers&) = delete;

    unsigned Threads() const { return static_cast<unsigned>(threads_.size()) + 1; }

    /// Starts `job(i)` for every `i` below `count` on the other threads, which leaves the
    /// calling thread free for other work until Finish. `job` must outlive the batch.
    void Start(std::size_t count, const std::function<void(std::size_t)>& job);
    /// Joins in the batch Start began and returns when all its jobs are done. An exception a
    /// job threw is thrown here.
    void Finish();
    /// Start and Finish.
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
