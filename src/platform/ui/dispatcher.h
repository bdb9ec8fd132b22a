// Every user gesture, timer tick and media callback enters the program through
// the dispatcher. It runs the gesture; an error that escapes an event
// procedure is reported in a message box and the program goes on. When the
// outermost event ends it tells the front end to redraw what changed.
#pragma once

#include <functional>
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
        ++depth_;
        try {
            std::forward<F>(event)();
        } catch (...) {
            reportEscapedError();
        }
        --depth_;
        if (depth_ == 0) notifyIdle();
    }

    bool inEvent() const { return depth_ > 0; }

    // Called after every outermost event (the front end redraws then).
    void addIdleListener(std::function<void()> listener);
    void clearIdleListeners();

private:
    void reportEscapedError();  // inspects std::current_exception()
    void notifyIdle();

    Ui* ui_ = nullptr;
    int depth_ = 0;
    std::vector<std::function<void()>> idleListeners_;
};

// Shorthand used by the controls' user… methods.
template <class F>
void dispatch(F&& event) {
    Dispatcher::instance().dispatch(std::forward<F>(event));
}

}  // namespace platform
