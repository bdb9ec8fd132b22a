#include "gui/qt_services.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>

#include "gui/qt_convert.h"
#include "platform/ui/dispatcher.h"

namespace gui {

// ---- timers ----

QtTimerHost::QtTimerHost() : alive_(std::make_shared<QtTimerHost*>(this)) {
    // Held ticks go out after the event that held them, from the event loop.
    std::weak_ptr<QtTimerHost*> alive = alive_;
    platform::Dispatcher::instance().addIdleListener([alive] {
        auto p = alive.lock();
        if (!p) return;
        QtTimerHost* host = *p;
        if (host->held_.empty() || host->deliveryQueued_) return;
        host->deliveryQueued_ = true;
        QTimer::singleShot(0, host, [host] { host->deliverHeld(); });
    });
}

QtTimerHost::~QtTimerHost() { alive_.reset(); }

void QtTimerHost::timerChanged(platform::Timer& timer) {
    auto it = timers_.find(&timer);
    if (!timer.running()) {
        if (it != timers_.end()) it->second->stop();
        std::erase(held_, &timer);
        return;
    }
    if (it == timers_.end()) {
        auto t = std::make_unique<QTimer>(this);
        t->setTimerType(Qt::CoarseTimer);
        platform::Timer* model = &timer;
        connect(t.get(), &QTimer::timeout, this, [this, model] { due(model); });
        it = timers_.emplace(&timer, std::move(t)).first;
    }
    // A change restarts the countdown from now.
    it->second->start(timer.interval());
}

void QtTimerHost::timerRemoved(platform::Timer& timer) {
    timers_.erase(&timer);
    std::erase(held_, &timer);
}

bool QtTimerHost::ticking(const platform::Timer& timer) const {
    auto it = timers_.find(const_cast<platform::Timer*>(&timer));
    return it != timers_.end() && it->second->isActive();
}

void QtTimerHost::due(platform::Timer* timer) {
    if (platform::Dispatcher::instance().inEvent()) {
        if (std::find(held_.begin(), held_.end(), timer) == held_.end()) held_.push_back(timer);
        return;
    }
    timer->hostTick();
}

void QtTimerHost::deliverHeld() {
    deliveryQueued_ = false;
    if (platform::Dispatcher::instance().inEvent()) return;  // the next idle queues it again
    std::vector<platform::Timer*> held;
    held.swap(held_);
    for (platform::Timer* t : held)
        if (timers_.count(t) && t->running()) t->hostTick();
}

// ---- clipboard ----

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::setText(std::string_view text) { QGuiApplication::clipboard()->setText(toQLines(text)); }

std::string QtClipboard::text() const { return fromQLines(QGuiApplication::clipboard()->text()); }

}  // namespace gui
