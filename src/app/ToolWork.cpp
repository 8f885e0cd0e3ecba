#include "ToolWork.h"

namespace tomery::app {

namespace {

std::function<void()>& Hook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void SetToolWorkHook(std::function<void()> hook) {
    Hook() = std::move(hook);
}

TWorkProgress ToolWorkProgress(TLongWork& work) {
    return [&work](std::uint64_t done, std::uint64_t total) {
        if (Hook()) {
            Hook()();
        }
        return work.Report(done, total);
    };
}

}  // namespace tomery::app
