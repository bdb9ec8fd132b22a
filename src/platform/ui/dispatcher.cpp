#include "platform/ui/dispatcher.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/error.h"
#include "platform/ui/ui.h"

namespace platform {

Dispatcher& Dispatcher::instance() {
    static Dispatcher d;
    return d;
}

void Dispatcher::post(std::function<void()> event) {
    if (depth_ == 0 && !finishing_) {
        dispatch(std::move(event));
        return;
    }
    posted_.push_back(std::move(event));
}

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
        number = 7;
        description = errorText(number);
    } catch (const std::out_of_range&) {
        number = 9;
        description = errorText(number);
    } catch (const std::exception& e) {
        description = *e.what() ? e.what() : errorText(number);
    } catch (...) {
        description = errorText(number);
    }
    if (ui_) ui_->msgBox(errorMessage(number, description), MsgButtons::OK, DefaultMsgTitle);
}

void Dispatcher::finishOutermost() {
    if (finishing_) return;
    finishing_ = true;
    // Posted events run one after the other, each as an outermost event of
    // its own; whatever they post runs after them.
    while (!posted_.empty()) {
        auto event = std::move(posted_.front());
        posted_.pop_front();
        runGuarded(event);
    }
    finishing_ = false;
    for (auto& listener : idleListeners_) listener();
}

}  // namespace platform
