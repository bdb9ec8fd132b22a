// New software records: the name from the name dialog or proposed from the
// disc page's file list, the name check, the form's default texts, and a
// refused or cancelled name that leaves the pending name as it was.
#include <string>

#include "software/software_steps.h"
#include "software/write1_dialog.h"

using namespace software_test;

namespace {

const Strings NewForm = {"N",
                         "",
                         "共享软件 免费软件 商业软件",
                         "",
                         "",
                         "",
                         "请点击[软件管理/软件按分类排列]菜单，然后选择分类",
                         "",
                         "http://",
                         "",
                         "",
                         ""};

class NewSoftware : public SoftwarePage {
  protected:
    void SetUp() override {
        h.write(recordPath("Foo"), recordText("Foo", "工具"));
        h.write(recordPath("Bar"), recordText("Bar", "工具", "9.9"));
        h.write(recordPath("ＡＢ"), recordText("ＡＢ", "工具"));
        start(lines({"==工具", "{#$}Foo", "{#$}Bar"}));
    }

    void expectNameRefused(const std::string& name, const std::string& message) {
        h.ui.onModal<Dialog1>([name](Dialog1& d) {
            d.Text1.userType(name);
            d.OKButton.userClick();
        });
        h.ui.answerMsgBox(platform::MsgOK, message);
        f.NewSoft.userClick();
        h.ui.verifyAllUsed();
    }
};

TEST_F(NewSoftware, MenuPreparesTheFormWithoutTouchingTheTab) {
    f.TabStrip1.userSelect(1);
    h.ui.onModal<Dialog1>([](Dialog1& d) {
        EXPECT_EQ(d.Label1.caption(), "输入软件的名字:");
        d.Text1.userType("N");
        d.OKButton.userClick();
    });
    f.NewSoft.userClick();
    EXPECT_EQ(form(), NewForm);
    EXPECT_EQ(f.SoftName, "N");
    EXPECT_EQ(f.ExistSoftName, "");
    EXPECT_FALSE(f.OkName);
    EXPECT_FALSE(f.NewSoft1);
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "现在请填写新建软件的资料!");
    EXPECT_EQ(f.TabStrip1.selectedItem()->caption(), "分类");
    EXPECT_TRUE(f.TreeView3.visible());
    EXPECT_TRUE(f.SoftNameT.visible());
    EXPECT_FALSE(f.TreeView2.visible());
    EXPECT_FALSE(f.ListView1.visible());
    EXPECT_FALSE(f.Text1.visible());
    EXPECT_FALSE(h.exists(recordPath("N")));
}

TEST_F(NewSoftware, ToolbarButtonStartsANewRecordToo) {
    h.ui.onModal<Dialog1>([](Dialog1& d) {
        d.Text1.userType("N");
        d.OKButton.userClick();
    });
    f.Toolbar1.userClick("newsoftbar");
    EXPECT_EQ(form(), NewForm);
}

TEST_F(NewSoftware, TakenOrUnsafeNamesAreRefusedAndThePendingNameStays) {
    click("Foo");
    const Strings shown = form();
    struct Case {
        const char* name;
        const char* message;
    };
    for (const Case& c : {
             Case{"bar", "你要新建的软件说明已经有了!"},
             Case{"BAR", "你要新建的软件说明已经有了!"},
             Case{"ａｂ", "你要新建的软件说明已经有了!"},  // full-width letters too
             Case{"a\\b", "名字中不能含有 \\ / : * ? \" < > | 等字符！"},
             Case{"..", "名字中不能含有 \\ / : * ? \" < > | 等字符！"},
             Case{" x", "名字中不能含有 \\ / : * ? \" < > | 等字符！"},
         }) {
        SCOPED_TRACE(c.name);
        expectNameRefused(c.name, c.message);
        EXPECT_EQ(f.SoftName, "");
        EXPECT_EQ(f.ExistSoftName, "Foo");
        EXPECT_EQ(form(), shown);
        EXPECT_FALSE(f.OkName);
    }
    // The save then saves the record shown, and Bar stays as it was.
    f.SoftVersionT.userType("2");
    save("你要保存软件Foo的修改?");
    EXPECT_EQ(h.read(recordPath("Bar")), recordText("Bar", "工具", "9.9"));
    EXPECT_NE(h.read(recordPath("Foo")).find("软件版本：2\r\n"), std::string::npos);
}

TEST_F(NewSoftware, CancelAndTheCloseBoxChangeNothing) {
    click("Foo");
    const Strings shown = form();
    h.ui.onModal<Dialog1>([](Dialog1& d) {
        d.Text1.userType("N");
        d.CancelButton.userClick();
    });
    f.NewSoft.userClick();
    h.ui.onModal<Dialog1>([](Dialog1& d) { d.Text1.userType("N"); });  // closed by its box
    f.NewSoft.userClick();
    h.ui.verifyAllUsed();
    EXPECT_EQ(f.SoftName, "");
    EXPECT_EQ(f.ExistSoftName, "Foo");
    EXPECT_EQ(form(), shown);
}

TEST_F(NewSoftware, EmptyNameIsAcceptedAndTheSaveAsksForOne) {
    h.ui.onModal<Dialog1>([](Dialog1& d) { d.OKButton.userClick(); });
    f.NewSoft.userClick();
    EXPECT_EQ(f.SoftNameT.text(), "");
    h.ui.answerMsgBox(platform::MsgOK,
                      "没有软件名,请点击[软件管理/新建软件说明]菜单,先填写软件名字!");
    f.SaveSoft.userClick();
    h.ui.verifyAllUsed();
}

class FromTheDiscPage : public NewSoftware {
  protected:
    // A row of the file list selected, as the pop-up finds it.
    void selectRow(const std::string& text) {
        f.TabStrip1.userSelect(2);
        platform::ListItem& row = f.ListView1.add({}, text);
        f.ListView1.setSelectedItem(&row);
    }
};

TEST_F(FromTheDiscPage, NameProposedUpToTheFirstDotAndConfirmed) {
    selectRow("setup.v2");
    h.ui.onModal<write1>([](write1& w) {
        EXPECT_EQ(w.caption(), "名字");
        EXPECT_EQ(w.Label1.caption(), "将要保存的文件名:");
        EXPECT_EQ(w.Text1.text(), "setup");
        w.Text1.userType("N");
        w.OKButton.userClick();
    });
    f.writeC.userClick();
    h.ui.verifyAllUsed();
    EXPECT_EQ(f.TabStrip1.selectedItem()->caption(), "软件");
    EXPECT_TRUE(f.TreeView3.visible());
    EXPECT_FALSE(f.ListView1.visible());
    EXPECT_FALSE(f.ok);
    EXPECT_EQ(form(), NewForm);
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "现在请填写新建软件的资料!");
}

TEST_F(FromTheDiscPage, CancelOrRefusalLeavesThePendingNameAsItWas) {
    selectRow("Bar");
    h.ui.onModal<write1>([](write1& w) { w.CancelButton.userClick(); });
    f.writeC.userClick();
    h.ui.onModal<write1>([](write1&) {});  // closed by its box
    f.writeC.userClick();
    h.ui.onModal<write1>([](write1& w) { w.OKButton.userClick(); });
    h.ui.answerMsgBox(platform::MsgOK, "你要新建的软件说明已经有了!");
    f.writeC.userClick();
    h.ui.verifyAllUsed();
    EXPECT_EQ(f.SoftName, "");
    EXPECT_FALSE(f.ok);
    EXPECT_EQ(f.TabStrip1.selectedItem()->caption(), "光盘");
}

}  // namespace
