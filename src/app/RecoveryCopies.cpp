#include "RecoveryCopies.h"

#include "FileReplacement.h"
#include "ProgramFolder.h"

#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tomery::app {

namespace {

std::string LockPath(const std::string& copy) {
    return copy + ".lock";
}

/// True when no running session holds the copy's lock.
bool Abandoned(const std::string& copy) {
    const int lock = ::open(LockPath(copy).c_str(), O_RDONLY | O_CLOEXEC);
    if (lock < 0) {
        return true;
    }
    const bool free = ::flock(lock, LOCK_SH | LOCK_NB) == 0;
    ::close(lock);
    return free;
}

}  // namespace

TRecoveryKeeper::TRecoveryKeeper()
    : path_(NewStateFileName(StateFolder(), recovery::kPrefix)),
      lock_(::open(LockPath(path_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)),
      writer_([this] { Run(); }) {
    if (lock_ >= 0) {
        ::flock(lock_, LOCK_EX);
    }
}

TRecoveryKeeper::~TRecoveryKeeper() {
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    writer_.join();
    if (lock_ >= 0) {
        std::error_code error;
        if (!std::filesystem::exists(path_, error)) {
            ::unlink(LockPath(path_).c_str());
        }
        ::close(lock_);
    }
}

void TRecoveryKeeper::Keep(std::map<std::string, std::string> fields, std::string body) {
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        waiting_ = TJob{false, std::move(fields), std::move(body)};
    }
    changed_.notify_all();
}

void TRecoveryKeeper::Remove() {
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        waiting_ = TJob{true, {}, {}};
    }
    changed_.notify_all();
}

void TRecoveryKeeper::Wait() {
    std::unique_lock<std::mutex> guard(mutex_);
    changed_.wait(guard, [this] { return !waiting_ && !busy_; });
}

void TRecoveryKeeper::Run() {
    std::unique_lock<std::mutex> guard(mutex_);
    for (;;) {
        changed_.wait(guard, [this] { return waiting_ || stopping_; });
        if (!waiting_) {
            return;
        }
        TJob job = std::move(*waiting_);
        waiting_.reset();
        busy_ = true;
        guard.unlock();
        if (job.remove) {
            ::unlink(path_.c_str());
        } else {
            // A copy that cannot be written leaves the last one: better an older text than none.
            WriteStateFile(path_, job.fields, job.body);
        }
        guard.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

/// Removes the lock files of sessions that ended before they kept any copy.
void RemoveUnusedLocks(const std::string& folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string path = entry->path().string();
        const std::string name = entry->path().filename().string();
        if (name.rfind(recovery::kPrefix, 0) != 0 || entry->path().extension() != ".lock") {
            continue;
        }
        const std::string copy = path.substr(0, path.size() - 5);
        std::error_code missing;
        if (!std::filesystem::exists(copy, missing) && Abandoned(copy)) {
            ::unlink(path.c_str());
        }
    }
}

std::vector<TLeftCopy> LeftCopies() {
    std::vector<TLeftCopy> copies;
    const std::string folder = StateFolder();
    RemoveUnusedLocks(folder);
    for (const char* prefix : {kInPlaceCopyPrefix, recovery::kPrefix}) {
        const bool inPlace = prefix == kInPlaceCopyPrefix;
        for (const std::string& path : StateFiles(folder, prefix)) {
            if (!inPlace && !Abandoned(path)) {
                continue;
            }
            if (auto contents = ReadStateFile(path)) {
                copies.push_back({path, std::move(*contents), inPlace});
            }
        }
    }
    return copies;
}

void RemoveLeftCopy(const std::string& path) {
    ::unlink(path.c_str());
    ::unlink(LockPath(path).c_str());
}

}  // namespace tomery::app
