// A bare form on the scripted Ui, for the tests of the plain controls and
// viewers. The dispatcher reports escaped errors through the Ui while the
// environment lives.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "platform/controls/form.h"
#include "platform/controls/timer.h"
#include "platform/error.h"
#include "platform/ui/dispatcher.h"
#include "support/scripted_ui.h"

namespace plaincontrols {

class PlainForm : public platform::Form {
public:
    explicit PlainForm(platform::Services& services) : Form(services, "plain") {}
};

struct PlainFormEnv {
    PlainFormEnv() { platform::Dispatcher::instance().setUi(&ui); }
    ~PlainFormEnv() { platform::Dispatcher::instance().setUi(nullptr); }
    PlainFormEnv(const PlainFormEnv&) = delete;
    PlainFormEnv& operator=(const PlainFormEnv&) = delete;

    testsupport::ScriptedUi ui;
    platform::VirtualTimerHost timers;
    platform::Services services{ui, timers};
    PlainForm form{services};
};

class PlainFormTest : public ::testing::Test, public PlainFormEnv {};

// The number of the platform error f raises; 0 when it raises none.
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace plaincontrols
