// Editing the software tree as a user does it: the pop-up menu of the tree
// in the category view (a node selected first, then the right button and an
// item), the name dialog answered by script, the label edit ended with a
// text or Esc; then the category file, the record files and the tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/name_dialog.h"
#include "software/class_file.h"
#include "software/crlf_text.h"
#include "support/harness.h"
#include "support/tree_text.h"

namespace {

using testsupport::Harness;

constexpr const char* ClassFile = "C:\\zelbrin\\class.ini";
constexpr const char* Exists = "你要新建的分类已经有了!";
constexpr const char* SelectCategory = "请选择目录节点!";
constexpr const char* NameExists = "你要改的软件或目录名字已经存在!";
constexpr const char* BadName = "名字中不能含有 \\ / : * ? \" < > | 等字符！";
constexpr const char* Error = "有错误！";

std::string record(const std::string& name) { return "C:\\zelbrin\\software\\" + name + ".txt"; }

using software_test::crlf;

// The twelve lines of a record file of that name and category.
std::string recordText(const std::string& name, const std::string& category) {
    return "软件名称：" + name + "\r\n软件版本：1\r\n软件类型：\r\n软件大小：\r\n软件作者：\r\n" +
           "邮箱地址：\r\n软件分类：" + category +
           "\r\n软件序列号：\r\n软件主页：\r\n下载网址：\r\n软件等级：\r\n软件简介：\r\n";
}

class SoftwareEditing : public ::testing::Test {
  protected:
    // The category file (and record files) written, the program started and
    // the software page shown in its category view.
    void startWith(std::string_view classText, const std::vector<std::string>& records = {}) {
        h.write(ClassFile, crlf(classText));
        for (const std::string& r : records) h.write(record(r), recordText(r, "工具"));
        h.start();
        h.form.TabStrip1.userSelect(3);
        h.form.softlist.userClick();
        h.ui.clearLog();
    }
    platform::TreeView& tree() { return h.form.TreeView3; }
    void select(std::string_view key) { tree().userClickNode(tree().item(key)); }
    void popup(std::string item) {
        h.ui.choosePopup(std::move(item));
        tree().userMouseDown(platform::RightButton, 0, 100, 100);
    }
    // The name dialog: the name typed and OK, or Cancel (or the close box).
    void answerName(std::optional<std::string> name, std::string expectedLine = {},
                    bool closeBox = false) {
        h.ui.onModal<Dialog1>([name, closeBox, expectedLine](Dialog1& d) {
            if (!expectedLine.empty()) {
                EXPECT_EQ(d.Label2.caption(), expectedLine);
            }
            if (!name) return closeBox ? d.userClose() : d.CancelButton.userClick();
            d.Text1.userType(*name);
            d.OKButton.userClick();
        });
    }
    void insert(std::string_view selectedKey, const char* item, std::optional<std::string> name) {
        select(selectedKey);
        answerName(std::move(name));
        popup(item);
    }
    // 修改目录或软件名 on the node, then the edit ended with a text (Enter)
    // or none (Esc).
    void rename(std::string_view key, std::optional<std::string> text) {
        select(key);
        popup("ChangeSoftName");
        ASSERT_EQ(tree().editingNode(), &tree().item(key));
        tree().userEndLabelEdit(std::move(text));
    }
    std::string classText() { return h.read(ClassFile); }
    void removeFile(std::string_view path) { std::filesystem::remove(h.nativePath(path)); }
    // The nodes, whatever is unfolded.
    std::vector<std::string> describe() {
        std::vector<std::string> out = testsupport::describeTree(tree());
        for (std::string& line : out)
            if (line.ends_with(" +")) line.resize(line.size() - 2);
        return out;
    }
    void expectHandOffCleared() {
        EXPECT_EQ(h.form.Txtcontent_Name, "");
        EXPECT_FALSE(h.form.OkName);
    }

    Harness h;
};

constexpr std::string_view Tools = "==工具|=网络|{#$}A|浏览|{#$}B|=系统|{#$}K|";

// ---- 建立该分类目录的兄弟目录 ----

TEST_F(SoftwareEditing, ASiblingStandsAboveTheSelectedCategoryInTheFileAndLastInTheTree) {
    struct Case {
        const char* selected;
        const char* classText;
        const char* parent;  // "" for a top-level node
    };
    const Case cases[] = {
        {"工具", "==工具|=网络|{#$}A|浏览|{#$}B|=系统|{#$}K|==新|", ""},
        {"网络", "==工具|=新|=网络|{#$}A|浏览|{#$}B|=系统|{#$}K|", "工具"},
        {"浏览", "==工具|=网络|{#$}A|新|浏览|{#$}B|=系统|{#$}K|", "网络"},
    };
    for (const Case& c : cases) {
        h.write(ClassFile, crlf(Tools));
        if (h.form.softlist.caption() != "软件按字母顺序排列") startWith(Tools);
        popup("refreshSoft");
        select(c.selected);
        answerName("新", std::string("    你将建立一个目录，与 {") + c.selected + "} 目录同级！");
        popup("insertSoftBrother");
        EXPECT_EQ(classText(), crlf(c.classText)) << c.selected;
        platform::Node& added = tree().item("新");
        EXPECT_EQ(added.text(), "新");
        EXPECT_EQ(added.image(), 94);
        EXPECT_EQ(added.parent() ? added.parent()->text() : "", c.parent);
        EXPECT_EQ(added.next(), nullptr) << "the last of its siblings";
        expectHandOffCleared();
        EXPECT_EQ(h.form.Txt1, c.selected);
    }
}

TEST_F(SoftwareEditing, ATopLevelSiblingMakesAMissingCategoryFile) {
    startWith("==工具|");
    removeFile(ClassFile);
    insert("工具", "insertSoftBrother", "新");
    EXPECT_EQ(classText(), crlf("==新|"));
}

TEST_F(SoftwareEditing, ASiblingWhoseCategoryLineIsGoneIsToldAndStaysInTheTreeOnly) {
    startWith(Tools);
    h.write(ClassFile, crlf("==工具|=系统|"));
    h.ui.answerMsgBox(platform::MsgOK, Error);
    insert("网络", "insertSoftBrother", "新");
    EXPECT_EQ(classText(), crlf("==工具|=系统|"));
    EXPECT_EQ(tree().item("新").parent(), &tree().item("工具"));
}

// ---- 建立该分类目录的子目录 ----

TEST_F(SoftwareEditing, ASubCategoryGoesBelowTheParentsOwnRecords) {
    startWith("==工具|=网络|{#$}A|{#$}B|浏览|=系统|");
    select("网络");
    answerName("下载", "    你将建立一个目录，是 {网络} 目录的子目录！");
    popup("insertSoftChild");
    EXPECT_EQ(classText(), crlf("==工具|=网络|{#$}A|{#$}B|下载|浏览|=系统|"));
    EXPECT_EQ(tree().item("网络").lastChild(), &tree().item("下载"));
    expectHandOffCleared();

    insert("工具", "insertSoftChild", "新名");
    EXPECT_EQ(classText(), crlf("==工具|=新名|=网络|{#$}A|{#$}B|下载|浏览|=系统|"));
    EXPECT_EQ(tree().item("新名").parent(), &tree().item("工具"));

    // After a reload the file's order shows, the records kept by 网络.
    popup("refreshSoft");
    EXPECT_EQ(describe(), (std::vector<std::string>{"工具 [工具] 94", "工具>新名 [新名] 94",
                                                    "工具>网络 [网络] 94", "网络>A [A] 99",
                                                    "网络>B [B] 99", "网络>下载 [下载] 94",
                                                    "网络>浏览 [浏览] 94", "工具>系统 [系统] 94"}));
}

TEST_F(SoftwareEditing, ASubCategoryWhoseParentLineIsGoneIsToldAndStaysInTheTreeOnly) {
    startWith(Tools);
    h.write(ClassFile, crlf("==其他|"));
    h.ui.answerMsgBox(platform::MsgOK, Error);
    insert("工具", "insertSoftChild", "新");
    EXPECT_EQ(classText(), crlf("==其他|"));
    EXPECT_EQ(tree().item("新").parent(), &tree().item("工具"));
}

TEST_F(SoftwareEditing, InsertsRefusedChangeNothing) {
    struct Case {
        const char* selected;
        const char* item;
        std::optional<const char*> name;  // nothing: the dialog is not shown
        std::optional<const char*> message;
    };
    const Case cases[] = {
        {"A", "insertSoftBrother", std::nullopt, SelectCategory},
        {"A", "insertSoftChild", std::nullopt, SelectCategory},
        {"浏览", "insertSoftChild", std::nullopt, "只能建立三级分类目录，不能建立第四级分类目录！"},
        {"网络", "insertSoftBrother", "系统", Exists},
        {"网络", "insertSoftChild", "b", Exists},  // a record, letter case ignored
        {"网络", "insertSoftChild", "a\\b", BadName},
        {"网络", "insertSoftBrother", "", std::nullopt},  // empty: dropped
    };
    startWith(Tools);
    const std::vector<std::string> before = describe();
    for (const Case& c : cases) {
        select(c.selected);
        if (c.name) answerName(std::string(*c.name));
        if (c.message) h.ui.answerMsgBox(platform::MsgOK, *c.message);
        popup(c.item);
        EXPECT_EQ(classText(), crlf(Tools)) << c.selected << " " << c.item;
        EXPECT_EQ(describe(), before);
        expectHandOffCleared();
    }
    // Cancel and the close box.
    select("网络");
    answerName(std::nullopt);
    popup("insertSoftBrother");
    answerName(std::nullopt, {}, true);
    popup("insertSoftChild");
    EXPECT_EQ(classText(), crlf(Tools));
    EXPECT_EQ(describe(), before);
    expectHandOffCleared();
}

TEST_F(SoftwareEditing, ASubCategoryAsksForTheCategoryViewFirst) {
    h.write(record("A"), recordText("A", "工具"));
    h.start();
    h.form.TabStrip1.userSelect(3);
    h.ui.clearLog();
    select("A");
    h.ui.answerMsgBox(platform::MsgOK, "请先点击[软件按分类排列]菜单");
    popup("insertSoftChild");
    h.ui.answerMsgBox(platform::MsgOK, SelectCategory);
    popup("insertSoftBrother");
    EXPECT_FALSE(h.exists(ClassFile));
}

// ---- 修改目录或软件名 ----

TEST_F(SoftwareEditing, ARenamedRecordTakesItsFileAndItsLinesAlong) {
    startWith("==工具|{#$}A|=网络|{#$}A|{#$}AB|", {"A", "AB"});
    rename("A", "B");
    EXPECT_FALSE(h.exists(record("A")));
    // The content stays, the name line gives the new name.
    EXPECT_EQ(h.read(record("B")), recordText("B", "工具"));
    EXPECT_EQ(classText(), crlf("==工具|{#$}B|=网络|{#$}B|{#$}AB|"));
    EXPECT_EQ(tree().item("B").text(), "B");
    EXPECT_EQ(tree().find("A"), nullptr);
    EXPECT_TRUE(h.ui.log().size() == 1);  // the pop-up, no box
}

// The renamed record's file names it by its new name: the form shows the
// new name at once and when the record is opened again, and a save goes to
// the new file.
TEST_F(SoftwareEditing, ARenamedRecordShowsItsNewName) {
    startWith("==工具|{#$}A|", {"A"});
    select("A");
    EXPECT_EQ(h.form.SoftNameT.text(), "A");
    rename("A", "B");
    EXPECT_EQ(h.form.SoftNameT.text(), "B");
    EXPECT_EQ(h.form.ExistSoftName, "B");
    EXPECT_EQ(h.read(record("B")), recordText("B", "工具"));
    select("B");
    EXPECT_EQ(h.form.SoftNameT.text(), "B");
    EXPECT_EQ(h.form.ExistSoftName, "B");
}

TEST_F(SoftwareEditing, ARecordRenameThatCannotMoveItsFileChangesNothing) {
    // B.txt is not filed, so no node bears its name; a rename to B would
    // replace it.
    startWith("==工具|{#$}A|", {"A"});
    h.write(record("B"), "other");
    h.ui.answerMsgBox(platform::MsgOK, NameExists);
    rename("A", "B");
    // A record node whose file is missing: it cannot be read.
    h.ui.answerMsgBox(platform::MsgOK, "不能读取文件: C:\\zelbrin\\software\\A.txt" +
                                           platform::errorText(platform::err::FileNotFound));
    removeFile(record("A"));
    rename("A", "C");
    h.write(record("A"), recordText("A", "工具"));
    EXPECT_EQ(h.read(record("B")), "other");
    EXPECT_EQ(classText(), crlf("==工具|{#$}A|"));
    EXPECT_EQ(tree().item("A").text(), "A");
    EXPECT_FALSE(h.exists(record("C")));
}

TEST_F(SoftwareEditing, RenamesRefusedLeaveTheNodeAsItWas) {
    struct Case {
        const char* key;
        std::optional<std::string> text;
        std::optional<const char*> message;
    };
    const Case cases[] = {
        {"A", "A", NameExists},                // unchanged
        {"A", "a", NameExists},                // letter case only
        {"网络", "系统", NameExists},          // another category
        {"网络", "K", NameExists},             // a record
        {"A", "x/y", BadName},                 // no file name
        {"A", " A2", BadName},                 // blank at an end
        {"网络", "a\\b", BadName},             // no category path
        {"A", "", std::nullopt},               // given up: dropped without a word
        {"网络", std::nullopt, std::nullopt},  // Esc
    };
    startWith(Tools, {"A"});
    const std::vector<std::string> before = describe();
    for (const Case& c : cases) {
        if (c.message) h.ui.answerMsgBox(platform::MsgOK, *c.message);
        rename(c.key, c.text);
        EXPECT_EQ(describe(), before) << c.key;
        EXPECT_EQ(classText(), crlf(Tools));
        EXPECT_TRUE(h.exists(record("A")));
    }
}

TEST_F(SoftwareEditing, ARenamedCategoryChangesItsLinesAndItsKeyButNotItsRecords) {
    startWith("==工具|=网络|{#$}A|{#$}网络|浏览|=网络|", {"A"});
    rename("网络", "网页");
    EXPECT_EQ(classText(), crlf("==工具|=网页|{#$}A|{#$}网络|浏览|=网页|"));
    EXPECT_EQ(tree().item("网页").text(), "网页");
    EXPECT_EQ(h.read(record("A")), recordText("A", "工具"));
    rename("浏览", "看看");
    rename("工具", "器具");
    EXPECT_EQ(classText(), crlf("==器具|=网页|{#$}A|{#$}网络|看看|=网页|"));
    // The new names are the keys the next commands find.
    insert("看看", "insertSoftBrother", "新");
    EXPECT_EQ(classText(), crlf("==器具|=网页|{#$}A|{#$}网络|新|看看|=网页|"));
}

// ---- 删除目录或软件 ----

TEST_F(SoftwareEditing, ADeletedRecordLosesEveryLineItsFileAndItsNodeAndTheFormIsEmptied) {
    startWith("==工具|{#$}A|=网络|{#$}A|{#$}K|", {"A", "K"});
    select("K");  // another record shown
    ASSERT_EQ(h.form.ExistSoftName, "K");
    tree().setSelectedItem(&tree().item("A"));
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除软件[A]吗?");
    popup("deleteSoftN");
    EXPECT_EQ(classText(), crlf("==工具|=网络|{#$}K|"));
    EXPECT_FALSE(h.exists(record("A")));
    EXPECT_EQ(tree().find("A"), nullptr);
    EXPECT_EQ(h.form.ExistSoftName, "");
    EXPECT_EQ(h.form.SoftName, "");
    EXPECT_EQ(h.form.SoftNameT.text(), "");
    EXPECT_EQ(h.form.SoftCategoryT.text(), "");
    EXPECT_TRUE(h.exists(record("K")));
}

TEST_F(SoftwareEditing, ARecordNamedOutsideTheSoftwareFolderLosesOnlyItsLineAndNode) {
    h.write("C:\\zelbrin\\x.txt", "keep");
    startWith("==工具|{#$}..\\x|");
    select("..\\x");
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除软件[..\\x]吗?");
    popup("deleteSoftN");
    EXPECT_EQ(h.read("C:\\zelbrin\\x.txt"), "keep");
    EXPECT_EQ(classText(), crlf("==工具|"));
    EXPECT_EQ(tree().find("..\\x"), nullptr);
}

TEST_F(SoftwareEditing, ADeletedCategoryLosesItsOwnLineOnly) {
    struct Case {
        const char* key;
        const char* left;
    };
    const Case cases[] = {
        {"下载", "==工具|=网络|{#$}A|=系统|==其他|"},
        {"系统", "==工具|=网络|{#$}A|下载|==其他|"},
        {"其他", "==工具|=网络|{#$}A|下载|=系统|"},
    };
    constexpr std::string_view stored = "==工具|=网络|{#$}A|下载|=系统|==其他|";
    startWith(stored);
    for (const Case& c : cases) {
        h.write(ClassFile, crlf(stored));
        popup("refreshSoft");
        select(c.key);
        h.ui.answerMsgBox(platform::MsgYes, std::string("确实要删除目录[") + c.key + "]吗?");
        popup("deleteSoftN");
        EXPECT_EQ(classText(), crlf(c.left)) << c.key;
        EXPECT_EQ(tree().find(c.key), nullptr);
    }
}

TEST_F(SoftwareEditing, ACategoryWithChildrenOrNoIsKept) {
    startWith(Tools);
    const std::vector<std::string> before = describe();
    select("网络");
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除目录[网络]吗?");
    h.ui.answerMsgBox(platform::MsgOK, "只能删除空目录！如果确实想删除，请先删除子节点！");
    popup("deleteSoftN");
    h.ui.answerMsgBox(platform::MsgNo, "确实要删除目录[网络]吗?");
    popup("deleteSoftN");
    select("A");
    h.ui.answerMsgBox(platform::MsgNo, "确实要删除软件[A]吗?");
    popup("deleteSoftN");
    EXPECT_EQ(classText(), crlf(Tools));
    EXPECT_EQ(describe(), before);
}

TEST_F(SoftwareEditing, ACategoryWhoseLineIsGoneLeavesTheFileAlone) {
    startWith("==工具|=网络|");
    h.write(ClassFile, crlf("==工具|"));
    select("网络");
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除目录[网络]吗?");
    popup("deleteSoftN");
    EXPECT_EQ(classText(), crlf("==工具|"));
    EXPECT_EQ(tree().find("网络"), nullptr);
}

}  // namespace
