// Forms, pop-up menus, the dispatcher, timers and the small bar controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/imagelist.h"
#include "platform/controls/menu.h"
#include "platform/controls/statusbar.h"
#include "platform/controls/tabstrip.h"
#include "platform/controls/timer.h"
#include "platform/controls/toolbar.h"
#include "platform/controls/treeview.h"
#include "platform/error.h"
#include "probe_ui.h"
#include "support/scripted_ui.h"

namespace {

using namespace platform;
using Log = std::vector<std::string>;

// ---- pop-up menus ----

class MenuForm : public Form {
  public:
    explicit MenuForm(Services& s) : Form(s, "MenuForm") {
        pop2.setVisible(false);
        addnotes.Click = [this] { log.push_back("addnotes " + std::to_string(tree.count())); };
        OpenRed.Click = [this] { log.push_back("OpenRed"); };
        SendToDpan.Click = [this] { log.push_back("SendToDpan"); };
        tree.MouseDown = [this](int button, int, double x, double y) {
            if (button != 2) return;
            popupMenu(pop2, x + 4000, y + 800);
            log.push_back("after popup");
        };
    }
    Log log;
    TreeView tree{*this, "tree"};
    MenuItem file{*this, "file", "文件"};
    MenuItem pop2{*this, "pop2", "pop2"};
    MenuItem OpenRed{pop2, "OpenRed", "打开硬盘上的映象文件"};
    MenuItem sep1{pop2, "sep1", "-"};
    MenuItem addnotes{pop2, "addnotes", "修改或添加备注"};
    MenuItem SendToto{pop2, "SendToto", "发送到"};
    MenuItem SendToDpan{SendToto, "SendToDpan", "D盘"};
};

class MenuTest : public ::testing::Test, public ctltest::Env {
  protected:
    MenuForm form{services};
};

TEST_F(MenuTest, ChosenItemRunsBeforePopupMenuReturns) {
    ui.menuChoices = {"addnotes", "SendToDpan", "", "sep1"};
    for (int i = 0; i < 4; ++i) form.tree.userMouseDown(2, 0, 10, 20);
    form.tree.userMouseDown(1, 0, 10, 20);  // the left button shows nothing
    EXPECT_EQ(form.log, (Log{"addnotes 0", "after popup", "SendToDpan", "after popup",
                             "after popup", "after popup"}));
    EXPECT_EQ(ui.menusShown, (std::vector<std::string>{"pop2", "pop2", "pop2", "pop2"}));
}

TEST_F(MenuTest, DisabledItemDoesNotRun) {
    form.addnotes.setEnabled(false);
    ui.menuChoices = {"addnotes"};
    form.tree.userMouseDown(2, 0, 0, 0);
    EXPECT_EQ(form.log, (Log{"after popup"}));
}

TEST_F(MenuTest, MenusAreFoundByName) {
    EXPECT_EQ(form.menus(), (std::vector<MenuItem*>{&form.file, &form.pop2}));
    EXPECT_EQ(form.findMenu("SendToDpan"), &form.SendToDpan);
    EXPECT_EQ(form.findMenu("nothing"), nullptr);
    EXPECT_TRUE(form.sep1.isSeparator());
    EXPECT_EQ(form.SendToDpan.parent(), &form.SendToto);
    EXPECT_EQ(form.pop2.items().size(), 4u);
}

// ---- the dispatcher ----

TEST(Dispatcher, ReportsAnEscapedErrorAndGoesOn) {
    ctltest::Env env;
    Log log;
    dispatch([&] {
        log.push_back("first");
        platform::raise(53);
    });
    dispatch([&] { log.push_back("second"); });
    dispatch([&] { throw Error(35602, "关键字不唯一"); });
    EXPECT_EQ(log, (Log{"first", "second"}));
    ASSERT_EQ(env.ui.boxes.size(), 2u);
    EXPECT_EQ(env.ui.boxes[0].prompt, "运行时错误 '53':\r\n文件未找到");
    EXPECT_EQ(env.ui.boxes[0].title, "Zelbrin");
    EXPECT_EQ(env.ui.boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(env.ui.boxes[1].prompt, "运行时错误 '35602':\r\n关键字不唯一");
}

TEST(Dispatcher, NestedEventCatchesItsOwnError) {
    ctltest::Env env;
    Log log;
    dispatch([&] {
        dispatch([&] { platform::raise(68); });  // a gesture inside a modal dialog
        log.push_back("outer goes on");
    });
    EXPECT_EQ(log, (Log{"outer goes on"}));
    ASSERT_EQ(env.ui.boxes.size(), 1u);
    EXPECT_EQ(env.ui.boxes[0].prompt, "运行时错误 '68':\r\n设备不可用");
}

TEST(Dispatcher, PostedEventsWaitForTheOutermostEventAndIdleFollows) {
    ctltest::Env env;
    Log log;
    Dispatcher::instance().addIdleListener([&] { log.push_back("idle"); });
    dispatch([&] {
        Dispatcher::instance().post([&] { log.push_back("posted"); });
        dispatch([&] { log.push_back("nested"); });
        log.push_back("end of command");
    });
    Dispatcher::instance().post([&] { log.push_back("posted while idle"); });
    EXPECT_EQ(log,
              (Log{"nested", "end of command", "posted", "idle", "posted while idle", "idle"}));
}

TEST(Dispatcher, AnErrorEscapingAnIdleListenerIsReportedAndTheOthersStillRun) {
    ctltest::Env env;
    Log log;
    Dispatcher::instance().addIdleListener([] { platform::raise(35605); });
    Dispatcher::instance().addIdleListener([&] { log.push_back("second listener"); });
    dispatch([&] { log.push_back("event"); });
    EXPECT_EQ(log, (Log{"event", "second listener"}));
    ASSERT_EQ(env.ui.boxes.size(), 1u);
    EXPECT_EQ(env.ui.boxes[0].prompt, "运行时错误 '35605':\r\n控件已被删除");
}

TEST(Dispatcher, RetiredObjectsLiveUntilTheOutermostEventEnds) {
    ctltest::Env env;
    auto alive = std::make_shared<int>(1);
    std::weak_ptr<int> watch = alive;
    dispatch([&] {
        dispatch([&] { Dispatcher::instance().retire(std::move(alive)); });
        EXPECT_FALSE(watch.expired()) << "released by a nested event";
    });
    EXPECT_TRUE(watch.expired());
}

// ---- timers ----

class TimerForm : public Form {
  public:
    explicit TimerForm(Services& s) : Form(s, "TimerForm") {
        Timer1.Tick = [this] { tick("Timer1"); };
        Timer2.Tick = [this] { tick("Timer2"); };
    }
    void tick(const std::string& name) {
        log.push_back(name + (Dispatcher::instance().inEvent() ? "" : " outside an event"));
    }
    Log log;
    Timer Timer1{*this, "Timer1"};
    Timer Timer2{*this, "Timer2"};
};

TEST(Timers, FireInTimeOrderEachAsItsOwnEvent) {
    ctltest::Env env;
    TimerForm form(env.services);
    int idles = 0;
    Dispatcher::instance().addIdleListener([&] { ++idles; });
    form.Timer1.setInterval(300);
    form.Timer2.setInterval(500);
    env.timers.advance(1000);
    EXPECT_EQ(form.log, (Log{"Timer1", "Timer2", "Timer1", "Timer1", "Timer2"}));
    EXPECT_EQ(idles, 5);
}

TEST(Timers, StopRestartAndDisabledTimers) {
    ctltest::Env env;
    TimerForm form(env.services);
    form.Timer1.setInterval(1000);
    form.Timer2.setInterval(0);  // interval 0 never ticks
    form.Timer1.Tick = [&] {
        form.log.push_back("Timer1");
        form.Timer1.setEnabled(false);  // a tick that stops its own timer
    };
    env.timers.advance(5000);
    EXPECT_EQ(form.log, (Log{"Timer1"}));

    form.Timer1.setEnabled(true);  // restarts the countdown from now
    env.timers.advance(999);
    EXPECT_EQ(form.log.size(), 1u);
    env.timers.advance(1);
    EXPECT_EQ(form.log.size(), 2u);
}

TEST(Timers, NeverTickInsideACommand) {
    ctltest::Env env;
    TimerForm form(env.services);
    form.Timer1.setInterval(100);
    dispatch([&] {
        env.timers.advance(250);  // a long command
        form.log.push_back("command ends");
    });
    // The ticks that came due during the command merge into one.
    EXPECT_EQ(form.log, (Log{"command ends", "Timer1"}));
}

TEST(Timers, WaitingTickOfADestroyedTimerIsDropped) {
    ctltest::Env env;
    auto form = std::make_unique<TimerForm>(env.services);
    form->Timer1.setInterval(100);
    int ticks = 0;
    form->Timer1.Tick = [&ticks] { ++ticks; };
    // A tick that came due during a command runs after it ...
    dispatch([&] { env.timers.advance(100); });
    EXPECT_EQ(ticks, 1);
    // ... unless its timer was destroyed meanwhile.
    dispatch([&] {
        env.timers.advance(100);
        form.reset();
    });
    EXPECT_EQ(ticks, 1);
}

// ---- timers and modal waits ----

// A box the program shows while a command runs: ScriptedUi keeps it open
// while the test moves the virtual clock.
class ModalTicks : public ::testing::Test, public testsupport::FormEnv<testsupport::ScriptedUi> {
  protected:
    TimerForm form{services};
    Log& log = form.log;
};

TEST_F(ModalTicks, ATimerKeepsTickingWhileAMessageBoxWaits) {
    form.Timer1.setInterval(100);
    ui.answerMsgBox(MsgOK, "等一下");
    ui.whileNextOpen([&] {
        log.push_back("box open");
        timers.advance(350);
    });
    dispatch([&] {
        log.push_back("command");
        ui.msgBox("等一下", MsgButtons::OK, "");
        log.push_back("box answered");
    });
    EXPECT_EQ(log, (Log{"command", "box open", "Timer1", "Timer1", "Timer1", "box answered"}));
}

TEST_F(ModalTicks, ATickThatCameDueDuringTheCommandRunsWhenTheBoxOpens) {
    form.Timer1.setInterval(100);
    ui.answerMsgBox(MsgOK);
    ui.whileNextOpen([&] { log.push_back("box open"); });
    dispatch([&] {
        timers.advance(250);  // due twice: merged into one waiting tick
        log.push_back("before the box");
        ui.msgBox("?", MsgButtons::OK, "");
        log.push_back("box answered");
    });
    EXPECT_EQ(log, (Log{"before the box", "Timer1", "box open", "box answered"}));
}

TEST_F(ModalTicks, ATickNeverRunsInsideAnEventStartedFromTheWait) {
    // In a modal form the user clicks a button whose command takes long:
    // the tick waits for that command, then runs, still in the modal wait.
    form.Timer1.setInterval(100);
    ui.onModal("TimerForm", [&](Form&) {
        dispatch([&] {
            timers.advance(100);
            log.push_back("button command ends");
        });
        log.push_back("back in the modal form");
    });
    TimerForm dialog(services);
    dispatch([&] { ui.runModal(dialog); });
    EXPECT_EQ(log, (Log{"button command ends", "Timer1", "back in the modal form"}));
}

TEST_F(ModalTicks, ATimerNeverTicksInsideItsOwnTick) {
    form.Timer1.setInterval(100);
    int depth = 0, deepest = 0, ticks = 0;
    form.Timer1.Tick = [&] {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        if (ticks == 1) {
            ui.answerMsgBox(MsgOK);
            ui.whileNextOpen([&] { timers.advance(300); });  // due three times meanwhile
            ui.msgBox("tick", MsgButtons::OK, "");
        }
        --depth;
    };
    form.Timer2.setInterval(100);  // another timer does tick in the box
    timers.advance(100);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(ticks, 2);  // the first, then the merged one that came due in it
    EXPECT_EQ(std::count(log.begin(), log.end(), "Timer2"), 4);
}

TEST_F(ModalTicks, PostedEventsRunInAModalWait) {
    dispatch([&] {
        Dispatcher::instance().post([&] { log.push_back("media event"); });
        log.push_back("command");
        ui.answerMsgBox(MsgOK);
        ui.msgBox("?", MsgButtons::OK, "");
        log.push_back("after the box");
    });
    EXPECT_EQ(log, (Log{"command", "media event", "after the box"}));
}
// ---- forms ----

class DialogForm : public Form {
  public:
    DialogForm(Services& s, Log& log) : Form(s, "dialog"), log_(log) {}
    int refuseUnload = 0;
    bool unloadInLoad = false;
    void CancelButton_Click() {
        log_.push_back("cancel");
        unload();
    }

  protected:
    void Form_Load() override {
        log_.push_back("load");
        if (unloadInLoad) unload();
    }
    void Form_Resize() override { log_.push_back("resize"); }
    void Form_Unload(int& cancel) override {
        log_.push_back("unload");
        if (refuseUnload > 0) {
            --refuseUnload;
            cancel = 1;
        }
    }
    void onCloseBox() override { CancelButton_Click(); }

  private:
    Log& log_;
};

TEST(Forms, ModalFormRunsUntilItUnloads) {
    ctltest::Env env;
    Log log;
    DialogForm dlg(env.services, log);
    env.ui.modalScript = [&](Form& f) {
        EXPECT_TRUE(f.loaded() && f.visible());
        log.push_back("shown");
    };
    dlg.showModal();  // the script leaves it loaded: the close box counts as Cancel
    EXPECT_EQ(log, (Log{"load", "resize", "shown", "cancel", "unload"}));
    EXPECT_FALSE(dlg.loaded());
    EXPECT_FALSE(dlg.visible());
}

TEST(Forms, UnloadCanBeRefusedAndLoadCanUnload) {
    ctltest::Env env;
    Log log;
    DialogForm dlg(env.services, log);
    dlg.refuseUnload = 1;
    dlg.show();
    EXPECT_FALSE(dlg.unload());
    EXPECT_TRUE(dlg.loaded());
    EXPECT_TRUE(dlg.unload());

    log.clear();
    DialogForm refused(env.services, log);
    refused.unloadInLoad = true;  // a refused log-in
    refused.showModal();
    EXPECT_EQ(log, (Log{"load", "unload"}));
    EXPECT_FALSE(refused.visible());
}

TEST(Forms, GeometryRegistryAndZOrder) {
    ctltest::Env env;
    Log log;
    DialogForm form(env.services, log);
    Toolbar bar(form, "Toolbar1");
    TreeView tree(form, "TreeView1");
    form.setFrame(120, 750);
    form.setInnerSize(9675, 6780);
    EXPECT_EQ(form.width(), 9795);
    EXPECT_EQ(form.height(), 7530);
    form.setWidth(9900);  // the inner area follows
    EXPECT_EQ(form.scaleWidth(), 9780);
    form.setWidth(9807);  // whole pixels
    EXPECT_EQ(form.width(), 9810);

    EXPECT_EQ(form.find("TreeView1"), &tree);
    EXPECT_EQ(form.find("TreeView9"), nullptr);
    EXPECT_EQ(form.controls(), (std::vector<Control*>{&bar, &tree}));
    EXPECT_GT(tree.zIndex(), bar.zIndex());
    tree.zOrder(1);
    EXPECT_LT(tree.zIndex(), bar.zIndex());
    tree.zOrder(0);
    EXPECT_GT(tree.zIndex(), bar.zIndex());

    tree.move(3701.5, 420, -5, 5985);
    EXPECT_EQ(tree.left(), 3705);
    EXPECT_EQ(tree.width(), 0);
    EXPECT_EQ(tree.height(), 5985);

    form.setMousePointer(PointerHourglass);
    EXPECT_EQ(env.ui.mousePointer(), PointerHourglass);
}

// ---- toolbar, status bar, tab strip, image list ----

TEST(Bars, ToolbarButtonsByKey) {
    ctltest::Env env;
    Log log;
    DialogForm form(env.services, log);
    Toolbar bar(form, "Toolbar1");
    bar.add("maker");
    bar.add("fgt1", ToolbarButton::Separator);
    bar.add("small", ToolbarButton::Group);
    bar.add("large", ToolbarButton::Group);
    bar.ButtonClick = [&](ToolbarButton& b) { log.push_back(b.key()); };
    EXPECT_THROW(bar.add("maker"), Error);
    try {
        bar.userClick("Maker");  // keys are compared exactly
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), err::ElementNotFound);
    }
    bar.userClick("fgt1");
    bar.userClick("small");
    bar.userClick("large");
    EXPECT_EQ(bar.button("small").value(), 0);
    EXPECT_EQ(bar.button("large").value(), 1);
    bar.button("large").setEnabled(false);
    bar.userClick("large");
    EXPECT_EQ(log, (Log{"small", "large"}));
    EXPECT_EQ(bar.button(3).key(), "small");
}

TEST(Bars, TabStripClientAreaAndSelection) {
    ctltest::Env env;
    Log log;
    DialogForm form(env.services, log);
    TabStrip tabs(form, "TabStrip1");
    tabs.add("classify", "分类");
    tabs.add("disc", "光盘");
    EXPECT_EQ(tabs.selectedItem()->caption(), "分类");
    tabs.move(0, 420, 3676.5, 5985);
    EXPECT_EQ(tabs.clientLeft(), TabStrip::InsetLeft);
    EXPECT_EQ(tabs.clientTop(), 420 + TabStrip::InsetTop);
    EXPECT_EQ(tabs.clientWidth(), 3675 - TabStrip::InsetLeft - TabStrip::InsetRight);
    EXPECT_EQ(tabs.clientHeight(), 5985 - TabStrip::InsetTop - TabStrip::InsetBottom);
    EXPECT_EQ(tabs.tab("disc").index(), 2);
}

TEST(Bars, StatusPanelsAndImageList) {
    ctltest::Env env;
    Log log;
    DialogForm form(env.services, log);
    StatusBar status(form, "StatusBar1");
    status.addPanel();
    status.addPanel();
    const double outer = 9795;
    status.panel(1).setWidth(outer / 3);
    status.panel(2).setWidth(2 * outer / 3);
    EXPECT_EQ(status.panel(1).width() + status.panel(2).width(), outer);

    ImageList images(form, "ImageList1");
    for (const char* k : {"folder", "disc", "category"}) images.add(k);
    EXPECT_EQ(images.indexOf("category"), 3);
    EXPECT_EQ(images.indexOf("Category"), 0);
    EXPECT_EQ(images.indexOf(""), 0);
    EXPECT_EQ(images.key(2), "disc");
}

}  // namespace
