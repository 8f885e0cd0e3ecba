#include "StateFile.h"

#include "FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tomery {

namespace {

constexpr std::string_view kMagic = "Tomery state 1\n";

/// Field values may hold any byte; the three that would break the header are escaped.
std::string Escape(std::string_view value) {
    std::string escaped;
    for (const char c : value) {
        switch (c) {
            case '%': escaped += "%25"; break;
            case '\n': escaped += "%0A"; break;
            case '\r': escaped += "%0D"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::string Unescape(std::string_view value) {
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string_view code = value.substr(i, 3);
        if (code == "%25" || code == "%0A" || code == "%0D") {
            plain += code == "%25" ? '%' : code == "%0A" ? '\n' : '\r';
            i += 2;
        } else {
            plain += value[i];
        }
    }
    return plain;
}

}  // namespace

std::string TStateFile::Field(const std::string& name) const {
    const auto found = Fields.find(name);
    return found != Fields.end() ? found->second : std::string();
}

int WriteStateFile(const std::string& path, const std::map<std::string, std::string>& fields,
                   std::string_view body) {
    std::string header(kMagic);
    for (const auto& [name, value] : fields) {
        header += name + "=" + Escape(value) + "\n";
    }
    header += "\n";
    std::string temporary = path + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    int error = 0;
    if (WriteAllBytes(descriptor, header, error) && WriteAllBytes(descriptor, body, error) &&
        ::fsync(descriptor) != 0) {
        error = errno;
    }
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolder(FolderOfPath(path));
    return 0;
}

std::optional<TStateFile> ReadStateFile(const std::string& path) {
    const auto read = ReadWholeFile(path);
    if (!read) {
        return std::nullopt;
    }
    const std::string bytes(read->begin(), read->end());
    if (bytes.compare(0, kMagic.size(), kMagic) != 0) {
        return std::nullopt;
    }
    TStateFile file;
    std::size_t at = kMagic.size();
    for (;;) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos) {
            return std::nullopt;  // cut short inside the header
        }
        if (end == at) {
            file.Body = bytes.substr(end + 1);
            return file;
        }
        const std::string_view line(bytes.data() + at, end - at);
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) {
            file.Fields[std::string(line.substr(0, equals))] = Unescape(line.substr(equals + 1));
        }
        at = end + 1;
    }
}

std::string NewStateFileName(const std::string& folder, const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    std::error_code error;
    fs::create_directories(folder, error);
    // The time keeps a later process that is given the same number from taking the name of
    // a copy an earlier one left behind.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (fs::path(folder) / (prefix + std::to_string(::getpid()) + "-" +
                                std::to_string(now.tv_sec) + std::to_string(now.tv_nsec) + "-" +
                                std::to_string(++counter)))
        .string();
}

std::vector<std::string> StateFiles(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        // A name with a further dot part is a state file still being written.
        if (name.rfind(prefix, 0) == 0 && name.find('.') == std::string::npos &&
            entry->is_regular_file(error)) {
            paths.push_back(entry->path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace tomery
