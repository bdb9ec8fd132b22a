// Every user gesture, timer tick and media callback enters the program through
// the dispatcher. It runs the gesture; an error that escapes an event
// procedure is reported in a message box and the program goes on. When the
// outermost event ends it runs the events that were posted meanwhile and then
// tells the front end to redraw what changed.
#pragma once

#include <deque>
#include <functional>
#include <string>
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
        if (depth_ == 0) finishOutermost();
    }

    // Runs an event that arrives by itself (a timer tick, a media callback):
    // at once when no event runs, otherwise after the outermost event ended,
    // so that it never runs in the middle of another command.
    void post(std::function<void()> event);

    bool inEvent() const { return depth_ > 0; }

    // Called after every outermost event (the front end redraws then).
    void addIdleListener(std::function<void()> listener);
    void clearIdleListeners();

    // The text of the box that reports an escaped error.
    static std::string errorMessage(int number, const std::string& description);

private:
    struct Depth {
        explicit Depth(Dispatcher& d) : d(d) { ++d.depth_; }
        ~Depth() { --d.depth_; }
        Dispatcher& d;
    };
    // Runs one event one level deeper, reporting an error that escapes it.
    template <class F>
    void runGuarded(F&& event) {
        Depth depth(*this);
        try {
            std::forward<F>(event)();
        } catch (...) {
            reportEscapedError();
        }
    }
    void reportEscapedError();  // inspects std::current_exception()
    void finishOutermost();

    Ui* ui_ = nullptr;
    int depth_ = 0;
    bool finishing_ = false;
    std::deque<std::function<void()>> posted_;
    std::vector<std::function<void()>> idleListeners_;
};

// Shorthand used by the controls' user… methods.
template <class F>
void dispatch(F&& event) {
    Dispatcher::instance().dispatch(std::forward<F>(event));
}

}  // namespace platform
