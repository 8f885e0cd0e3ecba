#include "BackgroundFlush.h"

#include <cerrno>

#include <unistd.h>

namespace tomery {

void TBackgroundFlush::Request() {
    if (running_.load(std::memory_order_acquire)) {
        return;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    running_.store(true, std::memory_order_relaxed);
    thread_ = std::thread([this] {
        if (::fdatasync(descriptor_) != 0 && error_ == 0) {
            error_ = errno;
        }
        running_.store(false, std::memory_order_release);
    });
}

int TBackgroundFlush::Finish() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return error_;
}

}  // namespace tomery
