#include "platform/ui/dispatcher.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/paths.h"
#include "platform/ui/ui.h"

namespace platform {

Dispatcher& Dispatcher::instance() {
    static Dispatcher d;
    return d;
}

void Dispatcher::post(std::function<void()> event) {
    if (quietPoint() && drainingAt_ != depth_) {
        dispatch(std::move(event));
        return;
    }
    posted_.push_back(std::move(event));
}

Dispatcher::ModalWait::ModalWait() {
    Dispatcher& d = instance();
    d.waits_.push_back(d.depth_);
    // What came due while the event ran is delivered now that it waits.
    if (!d.posted_.empty()) d.drain();
}

Dispatcher::ModalWait::~ModalWait() { instance().waits_.pop_back(); }

void Dispatcher::addIdleListener(std::function<void()> listener) {
    idleListeners_.push_back(std::move(listener));
}

void Dispatcher::clearIdleListeners() { idleListeners_.clear(); }

std::string Dispatcher::errorMessage(int number, const std::string& description) {
    return "运行时错误 '" + std::to_string(number) + "':\r\n" + description;
}

void Dispatcher::reportEscapedError() {
    int number = err::InvalidCall;
    std::string description;
    try {
        throw;
    } catch (const Error& e) {
        number = e.number();
        description = e.description();
    } catch (const std::bad_alloc&) {
        number = err::OutOfMemory;
        description = errorText(number);
    } catch (const std::out_of_range&) {
        number = err::SubscriptOutOfRange;
        description = errorText(number);
    } catch (const std::exception& e) {
        description = *e.what() ? e.what() : errorText(number);
    } catch (...) {
        description = errorText(number);
    }
    if (!ui_) return;
    try {
        ui_->msgBox(errorMessage(number, description), MsgButtons::OK, DefaultMsgTitle);
    } catch (...) {
        // A box that cannot be shown (its redraw failed the same way) is
        // given up; the program goes on.
    }
}

std::string Dispatcher::unconfirmedMessage(const std::vector<std::string>& windowsPaths) {
    std::string text = "已经保存，但是磁盘没有确认写入：";
    for (const std::string& path : windowsPaths) text += "\r\n" + path;
    return text;
}

void Dispatcher::reportUnconfirmedWrites() {
    const std::vector<std::string> written = files::takeUnconfirmedWrites();
    if (written.empty() || !ui_) return;
    std::vector<std::string> shown;
    for (const std::string& native : written) {
        try {
            shown.push_back(files::toWindows(native));
        } catch (const Error&) {
            shown.push_back(native);  // no drive holds it
        }
    }
    try {
        ui_->msgBox(unconfirmedMessage(shown), MsgButtons::OK, "提示");
    } catch (...) {
        // As an error box that cannot be shown: the program goes on.
    }
}

void Dispatcher::drain() {
    if (drainingAt_ == depth_) return;
    const int outer = drainingAt_;
    drainingAt_ = depth_;
    // Posted events run one after the other, each as an event of its own;
    // whatever they post runs after them.
    while (!posted_.empty()) {
        auto event = std::move(posted_.front());
        posted_.pop_front();
        runGuarded(event);
    }
    // By index: a listener may add another.
    for (std::size_t i = 0; i < idleListeners_.size(); ++i) {
        auto listener = idleListeners_[i];
        reportingErrors(listener);
    }
    drainingAt_ = outer;
}

void Dispatcher::finishQuiet() {
    const bool outermost = drainingAt_ == -1 && depth_ == 0;
    drain();
    if (outermost) {
        // Released in a block of its own: a destructor may retire more.
        std::vector<std::shared_ptr<void>> released;
        released.swap(retired_);
    }
}

}  // namespace platform
