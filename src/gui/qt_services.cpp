#include "gui/qt_services.h"

#include <QClipboard>
#include <QGuiApplication>

#include "gui/qt_convert.h"

namespace gui {

// ---- timers ----

void QtTimerHost::timerChanged(platform::Timer& timer) {
    auto it = timers_.find(&timer);
    if (!timer.running()) {
        if (it != timers_.end()) it->second->stop();
        return;
    }
    if (it == timers_.end()) {
        auto t = std::make_unique<QTimer>(this);
        t->setTimerType(Qt::CoarseTimer);
        platform::Timer* model = &timer;
        connect(t.get(), &QTimer::timeout, this, [model] { model->hostTick(); });
        it = timers_.emplace(&timer, std::move(t)).first;
    }
    // A change restarts the countdown from now.
    it->second->start(timer.interval());
}

void QtTimerHost::timerRemoved(platform::Timer& timer) { timers_.erase(&timer); }

bool QtTimerHost::ticking(const platform::Timer& timer) const {
    auto it = timers_.find(const_cast<platform::Timer*>(&timer));
    return it != timers_.end() && it->second->isActive();
}

// ---- clipboard ----

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::setText(std::string_view text) {
    QGuiApplication::clipboard()->setText(toQLines(text));
}

std::string QtClipboard::text() const { return fromQLines(QGuiApplication::clipboard()->text()); }

}  // namespace gui
