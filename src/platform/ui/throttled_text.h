// Progress shown during a long command at most every so often. Repainting
// for every step (a caption per folder of a scan) costs more than the work
// itself; a person reads no more than a few values a second anyway.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace platform {

class ThrottledText {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds DefaultInterval{50};

    // show displays a value (and repaints). now is the steady clock, or a
    // test's.
    explicit ThrottledText(std::function<void(const std::string&)> show,
                           std::chrono::milliseconds interval = DefaultInterval,
                           std::function<Clock::time_point()> now = Clock::now);

    // A new value: shown at once when it is the first, or when interval has
    // passed since the last one shown; otherwise kept for later.
    void update(const std::string& text);
    // Shows the last value given unless it was shown already; called before
    // the command ends, so that the final value is always seen.
    void finish();

  private:
    void showPending(Clock::time_point at);

    std::function<void(const std::string&)> show_;
    std::chrono::milliseconds interval_;
    std::function<Clock::time_point()> now_;
    std::string pending_;
    bool hasPending_ = false;
    bool shownOnce_ = false;
    Clock::time_point lastShown_{};
};

}  // namespace platform
