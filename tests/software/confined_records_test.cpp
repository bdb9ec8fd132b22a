// The software commands change files only in the software folder and the
// program folder: a record file, the software folder or class.ini that is a
// link out, a record named with ".." or another drive's path: nothing
// outside changes and the user is told; the plain case still writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "software/software_steps.h"
#include "support/outside_snapshot.h"

using namespace software_test;

namespace {

namespace fs = std::filesystem;

constexpr const char* Outside = "C:\\outside";
constexpr const char* OutsideFile = "C:\\outside\\locked.txt";
constexpr const char* OutsideFolder = "C:\\outside\\folder";
constexpr const char* SoftwareFolder = "C:\\zelbrin\\software";
constexpr const char* Failed = "保存失败！";

// Record A filed under 工具 (and the names of extra lines); beside the
// program folder C:\outside holds a read-only file and a folder with a
// record file of the same name.
struct Page {
    testsupport::Harness h;
    Form1& f = h.form;

    explicit Page(const Strings& extraLines = {}) {
        Strings classLines = {"==工具", "{#$}A"};
        for (const std::string& l : extraLines) classLines.push_back(l);
        h.write(ClassFile, lines(classLines));
        h.write(recordPath("A"), recordText("A", "工具", "2.0"));
        h.write(OutsideFile, "keep");
        ::chmod(h.nativePath(OutsideFile).c_str(), 0444);
        h.makeFolder(OutsideFolder);
        h.write("C:\\outside\\folder\\A.txt", recordText("A", "工具", "9.9"));
    }
    // Replaces a file or folder of the program's with a link to outside.
    void linkOut(const std::string& windowsPath, const std::string& outside) {
        const std::string native = h.nativePath(windowsPath);
        fs::remove_all(native);
        fs::create_symlink(h.nativePath(outside), native);
    }
    void startPage() {
        h.start();
        f.TabStrip1.userSelect(SoftwareTab);
        f.softlist.userClick();
        h.ui.clearLog();
    }
    testsupport::OutsideSnapshot outside() {
        return testsupport::outsideSnapshot(h.nativePath(Outside));
    }
    platform::TreeView& tree() { return f.TreeView3; }
    void click(const std::string& key) { tree().userClickNode(tree().item(key)); }
    void popup(std::string item) {
        h.ui.choosePopup(std::move(item));
        tree().userMouseDown(platform::RightButton, 0, 100, 100);
    }
    // The record A edited and saved, the answer to the question Yes.
    void saveA(std::optional<std::string> told) {
        click("A");
        f.SoftVersionT.userType("3.0");
        h.ui.answerMsgBox(platform::MsgYes, "你要保存软件A的修改?");
        if (told) h.ui.answerMsgBox(platform::MsgOK, *told);
        f.SaveSoft.userClick();
    }
    // A new record N filed under 工具.
    void saveNew(std::optional<std::string> told) {
        h.ui.onModal<Dialog1>([](Dialog1& d) {
            d.Text1.userType("N");
            d.OKButton.userClick();
        });
        f.NewSoft.userClick();
        click("工具");
        h.ui.answerMsgBox(platform::MsgYes, "你要保存新建软件N?");
        if (told) h.ui.answerMsgBox(platform::MsgOK, *told);
        f.SaveSoft.userClick();
    }
    void rename(const std::string& key, const std::string& to, std::optional<std::string> told) {
        click(key);
        if (told) h.ui.answerMsgBox(platform::MsgOK, *told);
        popup("ChangeSoftName");
        tree().userEndLabelEdit(to);
    }
    void remove(const std::string& key, std::optional<std::string> told = std::nullopt) {
        click(key);
        h.ui.answerMsgBox(platform::MsgYes, "确实要删除软件[" + key + "]吗?");
        if (told) h.ui.answerMsgBox(platform::MsgOK, *told);
        popup("deleteSoftN");
    }
    void file(std::optional<std::string> told) {
        h.ui.answerMsgBox(platform::MsgYes,
                          "在点击这个菜单之前，你必须把新得到软件说明文件放在[software]"
                          "文件夹下，这些工作做好了吗？");
        if (told) h.ui.answerMsgBox(platform::MsgOK, *told);
        f.ClassSoft1.userClick();
    }
};

void expectLockedStaysReadOnly(Page& p) {
    struct stat st {};
    ASSERT_EQ(::stat(p.h.nativePath(OutsideFile).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
}

// The plain cases: each command still writes in the software folder.
TEST(ConfinedSoftwareRecords, ThePlainCasesWrite) {
    Page p;
    p.h.write(recordPath("M"), recordText("M", "工具"));
    p.startPage();
    const auto before = p.outside();
    p.saveA(std::nullopt);
    EXPECT_EQ(p.h.read(recordPath("A")), recordText("A", "工具", "3.0"));
    p.saveNew(std::nullopt);
    EXPECT_TRUE(p.h.exists(recordPath("N")));
    p.rename("N", "R", std::nullopt);
    EXPECT_TRUE(p.h.exists(recordPath("R")));
    EXPECT_FALSE(p.h.exists(recordPath("N")));
    p.remove("R");
    EXPECT_FALSE(p.h.exists(recordPath("R")));
    p.file("整理完毕,请刷新一下");
    EXPECT_EQ(p.h.read(ClassFile), lines({"==工具", "{#$}M", "{#$}A"}));
    EXPECT_EQ(p.outside(), before);
    p.h.ui.verifyAllUsed();
}

// Each command with a link out at each level of its path, and stored names
// that lead out: nothing outside changes and a refusal is told.
TEST(ConfinedSoftwareRecords, NothingOutsideChangesAndARefusalIsTold) {
    struct Case {
        const char* what;
        Strings extraLines;                          // more lines of class.ini
        std::function<void(Page&)> link;             // made before the start
        std::function<void(Page&)> command;          // with its expected messages
        std::function<void(Page&)> check = nullptr;  // what else holds
    };
    const std::string inFolder = std::string(SoftwareFolder) + "\\";
    const std::vector<Case> cases = {
        {"save: the record a link to a record file outside",
         {},
         [](Page& p) { p.linkOut(recordPath("A"), "C:\\outside\\folder\\A.txt"); },
         [](Page& p) { p.saveA(Failed); }},
        {"save: the software folder a link to a folder outside",
         {},
         [](Page& p) { p.linkOut(SoftwareFolder, OutsideFolder); },
         [](Page& p) { p.saveA(Failed); }},
        {"new record: its file a link to a missing file outside",
         {},
         [](Page& p) { p.linkOut(recordPath("N"), "C:\\outside\\made.txt"); },
         [](Page& p) { p.saveNew(Failed); },
         [](Page& p) {
             EXPECT_EQ(p.h.read(ClassFile), lines({"==工具", "{#$}A"}));
         }},
        {"new record: the software folder a link to a folder outside",
         {},
         [](Page& p) { p.linkOut(SoftwareFolder, OutsideFolder); },
         [](Page& p) { p.saveNew(Failed); },
         [](Page& p) {
             EXPECT_EQ(p.h.read(ClassFile), lines({"==工具", "{#$}A"}));
         }},
        {"rename: the new name a link to a file outside",
         {},
         [](Page& p) { p.linkOut(recordPath("B"), OutsideFile); },
         [](Page& p) { p.rename("A", "B", "你要改的软件或目录名字已经存在!"); },
         [](Page& p) { EXPECT_EQ(p.h.read(recordPath("A")), recordText("A", "工具", "2.0")); }},
        {"rename: the record a link to a file outside is renamed itself",
         {},
         [](Page& p) { p.linkOut(recordPath("A"), OutsideFile); },
         [](Page& p) { p.rename("A", "B", std::nullopt); },
         [](Page& p) {
             EXPECT_TRUE(fs::is_symlink(fs::symlink_status(p.h.nativePath(recordPath("B")))));
         }},
        {"rename: the software folder a link to a folder outside",
         {},
         [](Page& p) { p.linkOut(SoftwareFolder, OutsideFolder); },
         [](Page& p) { p.rename("A", "B", "路径不在允许的文件夹里：C:\\zelbrin\\software"); }},
        {"delete: the record a link to a file outside goes, its target stays",
         {},
         [](Page& p) { p.linkOut(recordPath("A"), OutsideFile); },
         [](Page& p) { p.remove("A"); },
         [](Page& p) { EXPECT_FALSE(p.h.exists(recordPath("A"))); }},
        {"delete: the record a link to a folder outside",
         {},
         [](Page& p) { p.linkOut(recordPath("A"), OutsideFolder); },
         [](Page& p) { p.remove("A"); },
         [](Page& p) { EXPECT_FALSE(p.h.exists(recordPath("A"))); }},
        {"delete: the software folder a link to a folder outside",
         {},
         [](Page& p) { p.linkOut(SoftwareFolder, OutsideFolder); },
         [](Page& p) { p.remove("A", "路径不在允许的文件夹里：C:\\zelbrin\\software"); }},
        {"delete: a stored name with ..",
         {"{#$}..\\..\\outside\\locked"},
         nullptr,
         [](Page& p) { p.remove("..\\..\\outside\\locked"); }},
        {"delete: a stored name on another drive",
         {"{#$}D:\\outside\\locked"},
         nullptr,
         [](Page& p) { p.remove("D:\\outside\\locked"); }},
        {"delete: a stored absolute name on this drive",
         {"{#$}C:\\outside\\locked"},
         nullptr,
         [](Page& p) { p.remove("C:\\outside\\locked"); }},
        {"filing: class.ini a link to a file outside",
         {},
         [](Page& p) {
             p.h.write(recordPath("M"), recordText("M", "工具"));
             p.h.write("C:\\outside\\class.ini", lines({"==工具", "{#$}A"}));
             p.linkOut(ClassFile, "C:\\outside\\class.ini");
         },
         [](Page& p) {
             p.file("运行时错误 '75':\r\n路径不在允许的文件夹里：C:\\zelbrin\\class.ini");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Page p(c.extraLines);
        if (c.link) c.link(p);
        const auto before = p.outside();
        p.startPage();
        c.command(p);
        EXPECT_EQ(p.outside(), before);
        expectLockedStaysReadOnly(p);
        if (c.check) c.check(p);
        p.h.ui.verifyAllUsed();
    }
}

}  // namespace
