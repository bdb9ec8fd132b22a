// A small Ui for the tests of the core controls: it records every message
// box, chooses pop-up menu items by name from a queue and runs a script for
// a modal form. The dispatcher reports escaped errors through it while the
// environment lives.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/ui/ui.h"
#include "support/error_of.h"
#include "support/form_env.h"

namespace ctltest {

using testsupport::errorOf;

struct Box {
    std::string prompt;
    platform::MsgButtons buttons;
    std::string title;
};

class ProbeUi : public platform::NullUi {
  public:
    std::vector<Box> boxes;
    std::deque<std::string> menuChoices;  // item names; "" dismisses the menu
    std::vector<std::string> menusShown;  // names of the pop-up menus shown
    std::function<void(platform::Form&)> modalScript;

    int msgBox(std::string_view prompt, platform::MsgButtons buttons,
               std::string_view title) override {
        boxes.push_back({std::string(prompt), buttons, std::string(title)});
        return NullUi::msgBox(prompt, buttons, title);
    }

    platform::MenuItem* popupMenu(platform::Form&, platform::MenuItem& menu, double,
                                  double) override {
        menusShown.push_back(menu.name());
        EXPECT_FALSE(menuChoices.empty()) << "unexpected pop-up menu " << menu.name();
        if (menuChoices.empty()) return nullptr;
        std::string name = menuChoices.front();
        menuChoices.pop_front();
        if (name.empty()) return nullptr;
        platform::MenuItem* item = menu.find(name);
        EXPECT_NE(item, nullptr) << name << " is not in " << menu.name();
        return item;
    }

    void runModal(platform::Form& form) override {
        if (modalScript) modalScript(form);
        NullUi::runModal(form);  // still loaded: the close box
    }
};

// Owns the Ui and the timer host; installs the Ui in the dispatcher.
using Env = testsupport::FormEnv<ProbeUi>;

// A form holding one control of type C, named name.
template <class C>
class OneControlForm : public platform::Form {
  public:
    OneControlForm(platform::Services& s, const char* name)
        : Form(s, "OneControlForm"), control{*this, name} {}
    C control;
};

}  // namespace ctltest
