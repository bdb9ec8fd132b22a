// The services the desktop front end supplies to the program: the timer host
// (QTimers) and the clipboard (the desktop's).
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/controls/timer.h"
#include "platform/system/clipboard.h"

namespace gui {

// Ticks of real time. A tick that comes due while an event runs (a long
// command, a modal dialog, a repaint during a command) is held and delivered
// once, after that event, as Windows holds one pending timer message: ticks
// never run inside another event and do not pile up.
class QtTimerHost : public QObject, public platform::TimerHost {
public:
    QtTimerHost();
    ~QtTimerHost() override;

    void timerChanged(platform::Timer& timer) override;
    void timerRemoved(platform::Timer& timer) override;

    // Whether a QTimer runs for the timer (tests).
    bool ticking(const platform::Timer& timer) const;

private:
    void due(platform::Timer* timer);
    void deliverHeld();

    std::unordered_map<platform::Timer*, std::unique_ptr<QTimer>> timers_;
    std::vector<platform::Timer*> held_;
    bool deliveryQueued_ = false;
    std::shared_ptr<QtTimerHost*> alive_;
};

class QtClipboard final : public platform::system::Clipboard {
public:
    void clear() override;
    void setText(std::string_view text) override;
    std::string text() const override;
};

}  // namespace gui
