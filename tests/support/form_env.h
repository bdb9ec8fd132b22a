// What a form of a control test needs around it: a Ui of the test's choice,
// installed in the dispatcher while the environment lives (so that escaped
// errors are reported through it), a virtual timer host, and the services
// built on both.
#pragma once

#include "platform/controls/form.h"
#include "platform/controls/timer.h"
#include "platform/ui/dispatcher.h"

namespace testsupport {

template <class UiType>
struct FormEnv {
    FormEnv() : previousUi_(platform::Dispatcher::instance().ui()) {
        platform::Dispatcher::instance().setUi(&ui);
    }
    ~FormEnv() {
        platform::Dispatcher::instance().setUi(previousUi_);
        platform::Dispatcher::instance().clearIdleListeners();
    }
    FormEnv(const FormEnv&) = delete;
    FormEnv& operator=(const FormEnv&) = delete;

  private:
    platform::Ui* previousUi_;

  public:
    UiType ui;
    platform::VirtualTimerHost timers;
    platform::Services services{ui, timers};
};

}  // namespace testsupport
