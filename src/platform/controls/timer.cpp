#include "platform/controls/timer.h"

#include <algorithm>

#include "platform/controls/form.h"
#include "platform/ui/dispatcher.h"

namespace platform {

Timer::Timer(Form& owner, std::string name)
    : Control(owner, std::move(name)), host_(owner.services().timers) {}

Timer::~Timer() { host_.timerRemoved(*this); }

void Timer::setInterval(int milliseconds) {
    if (setField(interval_, std::max(milliseconds, 0))) host_.timerChanged(*this);
}

void Timer::enabledChanged() { host_.timerChanged(*this); }

void Timer::hostTick() {
    if (*tickWaiting_) return;
    *tickWaiting_ = true;
    std::weak_ptr<bool> waiting = tickWaiting_;
    Dispatcher::instance().post([this, waiting] {
        auto flag = waiting.lock();
        if (!flag) return;  // the timer is gone
        *flag = false;
        if (running() && Tick) Tick();
    });
}

// ---- VirtualTimerHost ----

void VirtualTimerHost::timerChanged(Timer& timer) {
    timerRemoved(timer);
    if (timer.running()) entries_.push_back({&timer, now_ + timer.interval(), nextOrder_++});
}

void VirtualTimerHost::timerRemoved(Timer& timer) {
    std::erase_if(entries_, [&](const Entry& e) { return e.timer == &timer; });
}

void VirtualTimerHost::advance(std::int64_t ms) {
    const std::int64_t end = now_ + std::max<std::int64_t>(ms, 0);
    for (;;) {
        auto next = std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
        if (next == entries_.end() || next->due > end) break;
        now_ = next->due;
        Timer* timer = next->timer;
        next->due += timer->interval();
        next->order = nextOrder_++;
        timer->hostTick();
    }
    now_ = end;
}

}  // namespace platform
