// Recovery copies: the text of a modified document kept in the state folder a few seconds
// after each change, so that a crash or a kill loses no more than those seconds; and the
// copies that ended sessions and interrupted in-place saves left behind, offered at start.
#pragma once

#include "StateFile.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tomery::app {

/// The fields of a recovery copy; its body is what saving the document would have written
/// (a DOC document's: the conversion text).
namespace recovery {
inline constexpr const char* kPrefix = "recovery-";
inline constexpr const char* kFile = "file";
inline constexpr const char* kDocName = "doc-name";
inline constexpr const char* kSet = "set";
inline constexpr const char* kEncoding = "encoding";
inline constexpr const char* kKeptAt = "kept-at";
}  // namespace recovery

/// This session's recovery copy. Writing happens on a thread of its own, one copy at a time;
/// a text handed in while another is written replaces any that waits. The copy is locked for
/// the session's life, so that other running sessions do not offer it.
class TRecoveryKeeper {
  public:
    TRecoveryKeeper();
    /// Waits for the writes handed in; the copy stays unless Remove() was asked for.
    ~TRecoveryKeeper();
    TRecoveryKeeper(const TRecoveryKeeper&) = delete;
    TRecoveryKeeper& operator=(const TRecoveryKeeper&) = delete;

    /// Writes the copy in the background.
    void Keep(std::map<std::string, std::string> fields, std::string body);
    /// Removes the copy in the background, after the writes handed in before.
    void Remove();
    /// Waits until everything handed in is done.
    void Wait();
    const std::string& Path() const { return path_; }

  private:
    struct TJob {
        bool remove = false;
        std::map<std::string, std::string> fields;
        std::string body;
    };
    void Run();

    std::string path_;
    int lock_ = -1;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<TJob> waiting_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread writer_;
};

/// A copy a session left behind.
struct TLeftCopy {
    std::string Path;
    TStateFile Contents;
    bool InPlace = false;  ///< the old contents of a file whose in-place save was interrupted
};

/// The copies interrupted in-place saves left and the recovery copies of sessions that ended
/// without removing them (their lock is free). Removes the locks of sessions that ended
/// before they kept a copy.
std::vector<TLeftCopy> LeftCopies();

/// Removes a left copy and its lock file.
void RemoveLeftCopy(const std::string& path);

}  // namespace tomery::app
