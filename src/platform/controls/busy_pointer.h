// The hourglass for the length of a command, however the command ends.
#pragma once

#include "platform/controls/form.h"
#include "platform/ui/ui.h"

namespace platform {

class BusyPointer {
  public:
    explicit BusyPointer(Form& form) : form_(form) { form_.setMousePointer(PointerHourglass); }
    ~BusyPointer() { end(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    // The normal pointer back before the end (before a closing message).
    void end() {
        if (!on_) return;
        on_ = false;
        form_.setMousePointer(PointerDefault);
    }

  private:
    Form& form_;
    bool on_ = true;
};

}  // namespace platform
