#include "platform/controls/timer.h"

#include <algorithm>

#include "platform/controls/form.h"
#include "platform/ui/dispatcher.h"

namespace platform {

Timer::Timer(Form& owner, std::string name)
    : Control(owner, std::move(name)), host_(owner.services().timers) {}

Timer::~Timer() {
    tick_->timer = nullptr;
    host_.timerRemoved(*this);
}

void Timer::setInterval(int milliseconds) {
    if (setField(interval_, std::max(milliseconds, 0))) host_.timerChanged(*this);
}

void Timer::enabledChanged() { host_.timerChanged(*this); }

void Timer::hostTick() {
    if (tick_->waiting) return;
    if (tick_->inTick) {
        tick_->dueAgain = true;
        return;
    }
    tick_->waiting = true;
    Dispatcher::instance().post([state = tick_] {
        state->waiting = false;
        Timer* timer = state->timer;
        if (!timer || !timer->running() || !timer->Tick) return;
        // Ends the tick however Tick ends; a tick that came due meanwhile is
        // posted (it runs after this event).
        struct InTick {
            explicit InTick(TickState& s) : s(s) { s.inTick = true; }
            ~InTick() {
                s.inTick = false;
                if (s.dueAgain && s.timer) {
                    s.dueAgain = false;
                    s.timer->hostTick();
                }
            }
            TickState& s;
        } inTick(*state);
        // A copy: Tick may replace itself.
        const std::function<void()> tick = timer->Tick;
        tick();
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
        auto next =
            std::min_element(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
                return a.due != b.due ? a.due < b.due : a.order < b.order;
            });
        if (next == entries_.end() || next->due > end) break;
        now_ = next->due;
        Timer* timer = next->timer;
        next->due += timer->interval();
        next->order = nextOrder_++;
        timer->hostTick();
    }
    // A tick may have moved the clock on itself (a test inside a box).
    now_ = std::max(now_, end);
}

}  // namespace platform
