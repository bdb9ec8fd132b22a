// Every user gesture, timer tick and media callback enters the program through
// the dispatcher. It runs the gesture; an error that escapes an event
// procedure is reported in a message box and the program goes on.
//
// Events that arrive by themselves (timer ticks, media callbacks) are posted.
// They run only at a quiet point: when no event runs at all, or while the
// innermost running event waits for a modal dialog or message box and no
// other event has started inside that wait. So they never run in the middle
// of another command, except that a modal wait lets them through, as the
// windowing system delivers timer messages to a modal box's message loop.
//
// Files written during an outermost event whose folder sync failed (the
// files layer's takeUnconfirmedWrites) are told once at its end, in one box.
//
// After an event ends at a quiet point the events posted meanwhile run, each
// as an event of its own, and then the idle listeners (the front end redraws).
// Objects retired during an event (removed tree nodes and list items) stay
// allocated until the outermost event has ended, so that a procedure still
// holding one reads "removed" instead of freed memory.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace platform {

class Ui;

class Dispatcher {
  public:
    static Dispatcher& instance();

    // The Ui that shows the error box ("运行时错误 '53':" CR LF description,
    // title "Zelbrin"). Without one, an escaped error is swallowed.
    void setUi(Ui* ui) { ui_ = ui; }
    Ui* ui() const { return ui_; }

    // Runs one event. Nested calls (a gesture inside a modal dialog run from
    // an event) are events of their own: each catches its own escaped error.
    template <class F>
    void dispatch(F&& event) {
        runGuarded(std::forward<F>(event));
        if (quietPoint()) finishQuiet();
    }

    // Runs an event that arrives by itself (a timer tick, a media callback):
    // at once at a quiet point, otherwise once the running event has ended
    // (or has started a modal wait).
    void post(std::function<void()> event);

    bool inEvent() const { return depth_ > 0; }
    // True while a modal dialog or message box waits for the user.
    bool modalWaitOpen() const { return !waits_.empty(); }

    // A modal wait: a Ui call that shows a message box, an input box, a
    // common dialog, a modal form or a pop-up menu holds one while it waits
    // for the user. Posted events that were waiting run when it starts, and
    // those arriving during it run at once (while no event started inside the
    // wait is running).
    class ModalWait {
      public:
        ModalWait();
        ~ModalWait();
        ModalWait(const ModalWait&) = delete;
        ModalWait& operator=(const ModalWait&) = delete;
    };

    // Keeps object alive until the outermost event has ended; outside every
    // event, until the next outermost event has ended.
    template <class T>
    void retire(T&& object) {
        retired_.push_back(std::make_shared<std::decay_t<T>>(std::forward<T>(object)));
    }
    // The number of objects retired and not yet released (tests).
    std::size_t retiredCount() const { return retired_.size(); }

    // Called after every event that ends at a quiet point (the front end
    // redraws then). An error escaping a listener is reported as the errors
    // of events are.
    void addIdleListener(std::function<void()> listener);
    void clearIdleListeners();

    // Runs work that is no event of the program's (a redraw of the front
    // end); an error that escapes it is reported as an event's would be.
    template <class F>
    void reportingErrors(F&& work) {
        try {
            std::forward<F>(work)();
        } catch (...) {
            reportEscapedError();
        }
    }

    // The text of the box that reports an escaped error.
    static std::string errorMessage(int number, const std::string& description);

    // Work that runs before every outermost event, as an event of its own
    // (the main window completes a command a failed step left half-done);
    // returns the work set before.
    std::function<void()> setBeforeEvent(std::function<void()> work) {
        return std::exchange(beforeEvent_, std::move(work));
    }
    // The text of the box that tells of files saved whose folder the disk
    // did not confirm (Windows paths, one per line), title "提示".
    static std::string unconfirmedMessage(const std::vector<std::string>& windowsPaths);

  private:
    struct Depth {
        explicit Depth(Dispatcher& d) : d(d) { ++d.depth_; }
        ~Depth() { --d.depth_; }
        Dispatcher& d;
    };
    // Runs one event one level deeper, reporting an error that escapes it.
    // Before an outermost event the work set with setBeforeEvent runs; after
    // it, the files it saved that the disk did not confirm are told.
    template <class F>
    void runGuarded(F&& event) {
        Depth depth(*this);
        if (depth_ == 1 && beforeEvent_) reportingErrors(beforeEvent_);
        reportingErrors(std::forward<F>(event));
        if (depth_ == 1) reportUnconfirmedWrites();
    }
    void reportEscapedError();  // inspects std::current_exception()
    void reportUnconfirmedWrites();
    // No event runs, or only events waiting in the innermost modal wait.
    bool quietPoint() const { return depth_ == (waits_.empty() ? 0 : waits_.back()); }
    // After an event ended at a quiet point: drain(), then at depth 0 the
    // retired objects are released.
    void finishQuiet();
    // Runs the posted events and then the idle listeners, unless that is
    // already going on at this depth.
    void drain();

    Ui* ui_ = nullptr;
    std::function<void()> beforeEvent_;
    int depth_ = 0;
    int drainingAt_ = -1;     // the depth whose posted events are being run
    std::vector<int> waits_;  // the depth of each open modal wait, innermost last
    std::deque<std::function<void()>> posted_;
    std::vector<std::function<void()>> idleListeners_;
    std::vector<std::shared_ptr<void>> retired_;
};

// Shorthand used by the controls' user… methods.
template <class F>
void dispatch(F&& event) {
    Dispatcher::instance().dispatch(std::forward<F>(event));
}

}  // namespace platform
