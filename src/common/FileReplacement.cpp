#include "FileReplacement.h"

#include "FileAccess.h"
#include "ProgramFolder.h"
#include "StateFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tomery {

namespace {

constexpr int kMaxLinkHops = 40;  // the kernel's own limit before ELOOP
constexpr std::size_t kRandomPartLength = 6;
// Leaves room for the dot, ".tomery-" and the random part within a 255-byte file name.
constexpr std::size_t kMaxNamePart = 200;

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

/// Follows symbolic links, live or dangling, to the path that is really written: a save
/// through a link updates the file the link names and leaves the link in place.
std::string ResolveLinks(std::string path, int& error) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        std::vector<char> target(static_cast<std::size_t>(status.st_size) + 256);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            error = errno;
            return {};
        }
        const fs::path next(std::string(target.data(), static_cast<std::size_t>(length)));
        path = next.is_absolute() ? next.string() : (fs::path(path).parent_path() / next).string();
    }
    error = ELOOP;
    return {};
}

bool IsRandomPart(const char* text) {
    std::size_t length = 0;
    for (; text[length] != '\0'; ++length) {
        const auto c = static_cast<unsigned char>(text[length]);
        if (length == kRandomPartLength || (std::isalnum(c) == 0)) {
            return false;
        }
    }
    return length == kRandomPartLength;
}

/// The prefix of every temporary file made for a destination named `fileName`: ".NAME.tomery-";
/// six letters and digits follow it.
std::string TemporaryNamePrefix(const std::string& fileName) {
    return "." + fileName.substr(0, kMaxNamePart) + ".tomery-";
}

/// Removes the temporary file `name` in the folder `folder` (a descriptor) when its writer is
/// gone: a writer holds its lock until its rename, so a free lock means it ended. True when
/// the file is gone.
bool RemoveIfUnlocked(int folder, const char* name) {
    const int descriptor = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        return errno == ENOENT;
    }
    struct stat status {};
    bool removed = false;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
        ::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        removed = ::unlinkat(folder, name, 0) == 0;
    }
    ::close(descriptor);
    return removed;
}

std::string SavingNotesFolder() {
    return StateFolder() + "saving";
}

/// Notes the temporary file `temporary` in the state folder, so that a start after a kill
/// finds it; returns the note's path, "" when the state folder takes none.
std::string NoteTemporary(const std::string& temporary) {
    std::error_code error;
    const std::string folder = SavingNotesFolder();
    fs::create_directories(folder, error);
    const std::string note = (fs::path(folder) / (std::to_string(::getpid()) + "-" +
                                                  fs::path(temporary).filename().string()))
                                 .string();
    const std::string absolute = fs::absolute(temporary, error).string();
    return !error && ::symlink(absolute.c_str(), note.c_str()) == 0 ? note : std::string();
}

/// Removes the temporary files of earlier saves of `destination` whose writers are gone; a
/// save still running holds a lock on its file and keeps it.
void RemoveStaleTemporaries(const std::string& destination) {
    const std::string folder = FolderOfPath(destination);
    const std::string prefix = TemporaryNamePrefix(fs::path(destination).filename().string());
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0 ||
            !IsRandomPart(entry->d_name + prefix.size())) {
            continue;
        }
        RemoveIfUnlocked(::dirfd(listing), entry->d_name);
    }
    ::closedir(listing);
}

/// Whether `name` is one this class gives its temporary files: ".NAME.tomery-" and six
/// letters and digits.
bool IsTemporaryName(const std::string& name) {
    const std::size_t marker = name.rfind(".tomery-");
    return name.size() > 1 && name.front() == '.' && marker != std::string::npos &&
           marker > 0 && IsRandomPart(name.c_str() + marker + 8);
}

}  // namespace

void RemoveStaleSaveTemporaries() {
    const std::string folder = SavingNotesFolder();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path note = entry->path();
        std::error_code linkError;
        const fs::path temporary = fs::read_symlink(note, linkError);
        if (linkError || !IsTemporaryName(temporary.filename().string())) {
            fs::remove(note, linkError);  // not a note this program wrote
            continue;
        }
        const int parent = ::open(temporary.parent_path().c_str(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool gone =
            parent < 0 || RemoveIfUnlocked(parent, temporary.filename().c_str());
        if (parent >= 0) {
            ::close(parent);
        }
        if (gone) {
            fs::remove(note, linkError);
        }
    }
}

FileReplacement::FileReplacement(const std::string& destination, TDurability durability)
    : durability_(durability) {
    target_ = ResolveLinks(destination, error_);
    if (target_.empty()) {
        return;
    }
    mode_ = NewFileMode();
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            error_ = EISDIR;
            return;
        }
        if ((existing.st_mode & S_IWUSR) == 0) {
            error_ = EACCES;
            return;
        }
        existed_ = true;
        mode_ = existing.st_mode & 07777;
        owner_ = existing.st_uid;
        group_ = existing.st_gid;
    }
    const std::string folder = FolderOfPath(target_);
    if (OpenTemporary(folder)) {
        return;
    }
    // A folder the user may not write can still hold a file the user may write: like other
    // editors, save such a file by overwriting it, since no temporary file can be made.
    if (existed_ && (error_ == EACCES || error_ == EPERM)) {
        OpenInPlace();
    }
}

bool FileReplacement::OpenTemporary(const std::string& folder) {
    const std::string pattern =
        (fs::path(folder) / TemporaryNamePrefix(fs::path(target_).filename().string())).string() +
        std::string(kRandomPartLength, 'X');
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    descriptor_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor_ < 0) {
        error_ = errno;
        return false;
    }
    temporary_ = name.data();
    // Held until the rename, so that the stale-file sweep of another save passes it by.
    ::flock(descriptor_, LOCK_EX);
    temporaryNote_ = NoteTemporary(temporary_);
    if (existed_) {
        KeepOwnership();
    }
    if (::fchmod(descriptor_, mode_) != 0) {
        error_ = errno;
        Discard();
    }
    return true;
}

void FileReplacement::KeepOwnership() {
    // Only a privileged process may give the file away; anyone may keep a group they are in.
    if (::fchown(descriptor_, owner_, group_) != 0) {
        ::fchown(descriptor_, static_cast<uid_t>(-1), group_);
    }
}

bool FileReplacement::OpenInPlace() {
    descriptor_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        error_ = errno;
        return false;
    }
    error_ = 0;
    inPlace_ = true;
    return true;
}

FileReplacement::~FileReplacement() {
    Discard();
}

bool FileReplacement::Write(const void* data, std::size_t size) {
    return WriteAt(size_, data, size);
}

bool FileReplacement::Write(std::span<const std::string_view> pieces) {
    if (inPlace_) {
        return std::all_of(pieces.begin(), pieces.end(), [this](std::string_view piece) {
            return Write(piece.data(), piece.size());
        });
    }
    if (!IsOpen() || failed_) {
        return false;
    }
    if (!WriteAllPiecesAt(descriptor_, pieces, size_, error_)) {
        failed_ = true;
        return false;
    }
    Written(size_, TotalSize(pieces));
    return true;
}

bool FileReplacement::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (!IsOpen() || failed_) {
        return false;
    }
    const std::string_view bytes(static_cast<const char*>(data), size);
    if (inPlace_) {
        // Nothing touches the file before Commit(), so a failure until then leaves it whole.
        if (offset + size > pending_.size()) {
            pending_.resize(offset + size);
        }
        pending_.replace(offset, size, bytes);
    } else if (!WriteAllBytesAt(descriptor_, bytes, offset, error_)) {
        failed_ = true;
        return false;
    }
    Written(offset, size);
    return true;
}

void FileReplacement::Written(std::uint64_t offset, std::size_t size) {
    size_ = std::max(size_, offset + size);
    unflushed_ += size;
    FlushEarly();
}

bool FileReplacement::ReadAt(std::uint64_t offset, void* data, std::size_t size) {
    if (!IsOpen() || failed_ || offset + size > size_) {
        failed_ = true;
        return false;
    }
    if (inPlace_) {
        pending_.copy(static_cast<char*>(data), size, offset);
    } else if (!ReadAllBytesAt(descriptor_, data, size, offset, error_)) {
        failed_ = true;
        return false;
    }
    return true;
}

bool FileReplacement::Resize(std::uint64_t size) {
    if (!IsOpen() || failed_) {
        return false;
    }
    if (inPlace_) {
        pending_.resize(size);
    } else if (::ftruncate(descriptor_, static_cast<off_t>(size)) != 0) {
        error_ = errno;
        failed_ = true;
        return false;
    }
    size_ = size;
    return true;
}

void FileReplacement::FlushEarly() {
    // The disk takes a big file while the rest of it is made, so that Commit's flush waits
    // for little.
    if (inPlace_ || durability_ != TDurability::Durable || unflushed_ < kFlushStep) {
        return;
    }
    if (!earlyFlush_) {
        earlyFlush_.emplace(descriptor_);
    }
    earlyFlush_->Request();
    unflushed_ = 0;
}

int FileReplacement::EndEarlyFlush() {
    const int error = earlyFlush_ ? earlyFlush_->Finish() : 0;
    earlyFlush_.reset();
    return error;
}

bool FileReplacement::Overwrite(const std::string& contents) {
    const auto size = static_cast<off_t>(contents.size());
    // Reserving the space first turns a full disk into a failure before the first byte of
    // the old contents is overwritten. File systems without the call are written regardless.
    if (::fallocate(descriptor_, 0, 0, size) != 0 && errno != EOPNOTSUPP && errno != ENOSYS &&
        errno != EINVAL) {
        error_ = errno;
        return false;
    }
    if (::lseek(descriptor_, 0, SEEK_SET) != 0 ||
        !WriteAllBytes(descriptor_, contents, error_) ||
        ::ftruncate(descriptor_, size) != 0 || ::fsync(descriptor_) != 0) {
        if (error_ == 0) {
            error_ = errno;
        }
        return false;
    }
    return true;
}

bool FileReplacement::CommitInPlace() {
    // A kill during the rewrite would leave a mix of old and new contents: first a whole copy
    // of the old ones goes to the state folder, offered back at the next start if it stays.
    errno = 0;
    const auto read = ReadWholeFile(target_);
    if (!read) {
        error_ = errno != 0 ? errno : EIO;
        refusedWithoutCopy_ = true;
        return false;
    }
    const std::string old(read->begin(), read->end());
    const std::string copy = NewStateFileName(StateFolder(), kInPlaceCopyPrefix);
    if (const int error = WriteStateFile(copy, {{kCopyOfField, target_}}, old)) {
        error_ = error;
        refusedWithoutCopy_ = true;
        return false;
    }
    if (Overwrite(pending_)) {
        ::unlink(copy.c_str());
        return true;
    }
    // The rewrite failed part way: the old contents go back, and the copy stays unless
    // they did.
    const int rewriteError = error_;
    if (Overwrite(old)) {
        ::unlink(copy.c_str());
    }
    error_ = rewriteError;
    return false;
}

bool FileReplacement::Commit() {
    if (!IsOpen() || failed_) {
        Discard();
        return false;
    }
    if (inPlace_) {
        const bool written = CommitInPlace();
        pending_.clear();
        if (::close(descriptor_) != 0 && written) {
            error_ = errno;
            descriptor_ = -1;
            return false;
        }
        descriptor_ = -1;
        return written;
    }
    const bool durable = durability_ == TDurability::Durable;
    if (const int flushError = EndEarlyFlush()) {
        error_ = flushError;
        Discard();
        return false;
    }
    if ((durable && ::fsync(descriptor_) != 0) ||
        ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error_ = errno;
        Discard();
        return false;
    }
    temporary_.clear();
    ForgetTemporaryNote();
    const bool closed = ::close(descriptor_) == 0;
    descriptor_ = -1;
    if (!closed) {
        error_ = errno;
        return false;
    }
    if (durable) {
        SyncFolder(FolderOfPath(target_));
    }
    RemoveStaleTemporaries(target_);
    return true;
}

void FileReplacement::ForgetTemporaryNote() {
    if (!temporaryNote_.empty()) {
        ::unlink(temporaryNote_.c_str());
        temporaryNote_.clear();
    }
}

std::string FileReplacement::ErrorText() const {
    if (refusedWithoutCopy_) {
        return "The folder " + FolderOfPath(target_) +
               " takes no new files, so the file is rewritten in place, but no copy of its "
               "old contents could be kept in " + StateFolder() + " (" +
               std::strerror(error_) + "): not saved, to keep the old contents safe.";
    }
    return std::strerror(error_);
}

void FileReplacement::Discard() {
    EndEarlyFlush();
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    ForgetTemporaryNote();
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    pending_.clear();
}

}  // namespace tomery
