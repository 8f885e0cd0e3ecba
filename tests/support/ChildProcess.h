// Runs a piece of a test in a child process: to end it the way a kill does, without any
// clean-up, or to run it as an ordinary user (root passes every permission check, so a test
// of what a read-only folder refuses must drop root first).
#pragma once

#include <functional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tomery::testing {

constexpr uid_t kNobody = 65534;

/// Starts `body` in a child process that ends with its result and no destructors or exit
/// handlers, as the user nobody when `dropRoot` and the test runs as root.
inline pid_t StartChildProcess(const std::function<int()>& body, bool dropRoot = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (dropRoot && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(100);
        }
        ::_exit(body());
    }
    return child;
}

/// Runs StartChildProcess's child to its end; returns its result, or -1 when it did not exit
/// normally.
inline int RunInChildProcess(const std::function<int()>& body, bool dropRoot = false) {
    const pid_t child = StartChildProcess(body, dropRoot);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// RunInChildProcess as the user nobody when the test runs as root.
inline int RunUnprivileged(const std::function<int()>& body) {
    return RunInChildProcess(body, true);
}

}  // namespace tomery::testing
