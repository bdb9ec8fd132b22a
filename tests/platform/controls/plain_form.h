// A bare form on the scripted Ui, for the tests of the plain controls and
// viewers. The dispatcher reports escaped errors through the Ui while the
// environment lives.
#pragma once

#include <gtest/gtest.h>

#include "platform/controls/form.h"
#include "support/error_of.h"
#include "support/form_env.h"
#include "support/scripted_ui.h"

namespace plaincontrols {

class PlainForm : public platform::Form {
  public:
    explicit PlainForm(platform::Services& services) : Form(services, "plain") {}
};

struct PlainFormEnv : testsupport::FormEnv<testsupport::ScriptedUi> {
    PlainForm form{services};
};

class PlainFormTest : public ::testing::Test, public PlainFormEnv {};

using testsupport::errorOf;

}  // namespace plaincontrols
