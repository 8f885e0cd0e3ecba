// How long work reports how far it got, and learns that the user wants it stopped.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>

namespace tomery {

/// Told now and then how many of the work's bytes are done out of how many; answers false once
/// the user asked the work to stop. An empty function watches nothing: the work goes on.
using TWorkProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

/// Raised by work that stopped because its progress answered false. Whatever the work was
/// changing stays as it was before the work started.
class EWorkCancelled : public std::runtime_error {
  public:
    EWorkCancelled() : std::runtime_error("The work was cancelled") {}
};

/// Tells `progress` (when set) how far the work got; raises EWorkCancelled when it answers
/// that the work should stop.
inline void ReportProgress(const TWorkProgress& progress, std::uint64_t done, std::uint64_t total) {
    if (progress && !progress(done, total)) {
        throw EWorkCancelled();
    }
}

/// Says when work that counts its bytes went another `step` bytes since it last reported:
/// reporting every byte would cost more than the work.
class TProgressStep {
  public:
    explicit constexpr TProgressStep(std::uint64_t step) : step_(step), next_(step) {}

    /// Whether `done` bytes reach the next report; the one after then lies `step` further.
    bool Due(std::uint64_t done) {
        if (done < next_) {
            return false;
        }
        next_ = done + step_;
        return true;
    }

  private:
    std::uint64_t step_;
    std::uint64_t next_;
};

/// The progress of one step of longer work, which stands for the part of the whole from `from`
/// to `to` thousandths: what the step reports is told to `whole` as thousandths of it.
inline TWorkProgress StepProgress(const TWorkProgress& whole, std::uint64_t from,
                                  std::uint64_t to) {
    if (!whole) {
        return {};
    }
    return [whole, from, to](std::uint64_t done, std::uint64_t total) {
        const std::uint64_t part =
            total == 0 ? to - from : (done < total ? done : total) * (to - from) / total;
        return whole(from + part, 1000);
    };
}

}  // namespace tomery
