#include "platform/ui/throttled_text.h"

#include <utility>

namespace platform {

ThrottledText::ThrottledText(std::function<void(const std::string&)> show,
                             std::chrono::milliseconds interval,
                             std::function<Clock::time_point()> now)
    : show_(std::move(show)), interval_(interval), now_(std::move(now)) {}

void ThrottledText::update(const std::string& text) {
    pending_ = text;  // reuses the buffer
    hasPending_ = true;
    const Clock::time_point at = now_();
    if (!shownOnce_ || at - lastShown_ >= interval_) showPending(at);
}

void ThrottledText::finish() {
    if (hasPending_) showPending(now_());
}

void ThrottledText::showPending(Clock::time_point at) {
    hasPending_ = false;
    shownOnce_ = true;
    lastShown_ = at;
    show_(pending_);
}

}  // namespace platform
