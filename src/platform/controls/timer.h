// Timers. A timer ticks every interval milliseconds while it is enabled and
// its interval is above 0. The ticks come from a timer host: the front end's
// real clock, or a virtual clock in tests. Each tick is an event of its own,
// posted to the dispatcher: it never runs inside another event, except while
// that event waits in a modal dialog or message box. A timer's Tick never
// runs inside its own Tick (one that comes due meanwhile follows it).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace platform {

class Timer;

class TimerHost {
  public:
    virtual ~TimerHost() = default;
    // The timer was enabled or disabled, or its interval changed: the host
    // (re)starts its countdown from now, or stops it.
    virtual void timerChanged(Timer& timer) = 0;
    // The timer is being destroyed.
    virtual void timerRemoved(Timer& timer) = 0;
};

class Timer : public Control {
  public:
    // Starts enabled with interval 0, which does not tick.
    Timer(Form& owner, std::string name);
    ~Timer() override;
    const char* kind() const override { return "Timer"; }

    // Setting them raises no event; a change restarts the countdown.
    int interval() const { return interval_; }
    void setInterval(int milliseconds);
    // enabled() and setEnabled() are the control's.

    // True when the timer ticks (enabled and interval above 0).
    bool running() const { return enabled() && interval_ > 0; }

    // Event (the timer's Timer event).
    std::function<void()> Tick;

    // Called by the host when the interval has elapsed: runs Tick as an
    // event of its own. While another event runs the tick waits for it to
    // end (or to wait in a modal box); ticks that come due meanwhile merge
    // into the waiting one.
    void hostTick();

  protected:
    void enabledChanged() override;

  private:
    TimerHost& host_;
    int interval_ = 0;
    // Shared with a waiting tick, which finds the timer gone (nullptr) when
    // it was destroyed meanwhile.
    struct TickState {
        Timer* timer;
        bool waiting = false;   // a tick is posted and has not run yet
        bool inTick = false;    // Tick is running
        bool dueAgain = false;  // a tick came due while Tick ran
    };
    std::shared_ptr<TickState> tick_ = std::make_shared<TickState>(TickState{this});
};

// A virtual clock for tests: time moves only when advance() is called.
class VirtualTimerHost : public TimerHost {
  public:
    void timerChanged(Timer& timer) override;
    void timerRemoved(Timer& timer) override;

    // Moves the clock on by ms milliseconds, firing every tick that comes due
    // in time order (ties in the order the timers were started); each tick is
    // one event of its own.
    void advance(std::int64_t ms);
    std::int64_t now() const { return now_; }

  private:
    struct Entry {
        Timer* timer;
        std::int64_t due;
        std::uint64_t order;
    };
    std::vector<Entry> entries_;
    std::int64_t now_ = 0;
    std::uint64_t nextOrder_ = 0;
};

}  // namespace platform
