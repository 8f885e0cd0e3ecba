// Flushing a file that is still being written: each flush runs on a thread of its own, so
// that the disk takes the file's first part while the rest is made, and the last flush
// before the file is committed waits only for what came after.
#pragma once

#include <atomic>
#include <thread>

namespace tomery {

class TBackgroundFlush {
  public:
    /// `descriptor` must stay open until Finish() returned.
    explicit TBackgroundFlush(int descriptor) : descriptor_(descriptor) {}
    ~TBackgroundFlush() { Finish(); }
    TBackgroundFlush(const TBackgroundFlush&) = delete;
    TBackgroundFlush& operator=(const TBackgroundFlush&) = delete;

    /// Starts flushing what was written so far, unless a flush is still running: the next
    /// request then takes what this one would have.
    void Request();
    /// Waits for a running flush. Returns the system error number of the first flush that
    /// failed, or 0. A failure is reported here because the system reports it only once,
    /// to the first flush after it.
    int Finish();

  private:
    int descriptor_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    int error_ = 0;  ///< written by the flush thread, read after it was joined
};

}  // namespace tomery
