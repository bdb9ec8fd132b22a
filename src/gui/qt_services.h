// The services the desktop front end supplies to the program: the timer host
// (QTimers) and the clipboard (the desktop's).
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <unordered_map>

#include "platform/controls/timer.h"
#include "platform/system/clipboard.h"

namespace gui {

// Ticks of real time. Each elapsed interval goes to the timer model, which
// holds a tick that comes due while an event runs (a long command, a modal
// dialog, a repaint during a command) until that event has ended, and merges
// the ticks that come due meanwhile into it.
class QtTimerHost : public QObject, public platform::TimerHost {
  public:
    void timerChanged(platform::Timer& timer) override;
    void timerRemoved(platform::Timer& timer) override;

    // Whether a QTimer runs for the timer (tests).
    bool ticking(const platform::Timer& timer) const;

  private:
    std::unordered_map<platform::Timer*, std::unique_ptr<QTimer>> timers_;
};

class QtClipboard final : public platform::system::Clipboard {
  public:
    void clear() override;
    void setText(std::string_view text) override;
    std::string text() const override;
};

}  // namespace gui
