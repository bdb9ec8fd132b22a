// Record and category names made of digits alone ("2048", "360"), and names
// that begin with a digit or with "noStr": they show in both views of the
// software tree and every command of the tree works on them, with the node's
// key "noStr" + the name (the tree takes no all-numeric key) and its text the
// name itself. No command shows a runtime error for such a name.
#include <string>

#include "software/crlf_text.h"
#include "software/software_steps.h"

using namespace software_test;

namespace {

constexpr const char* NameExists = "你要改的软件或目录名字已经存在!";
constexpr const char* Ready =
    "在点击这个菜单之前，你必须把新得到软件说明文件放在[software]文件夹下，这些工作做好了吗？";

class DigitNames : public SoftwarePage {
  protected:
    // The category file and the record files (filed under 工具), the
    // program started on the page 软件; the category view when asked.
    void startWith(std::string_view classText, const Strings& records, bool categories) {
        for (const std::string& name : records) h.write(recordPath(name), recordText(name, "工具"));
        start(crlf(classText));
        if (categories) categoryView();
        h.ui.clearLog();
    }
    void popup(std::string item) {
        h.ui.choosePopup(std::move(item));
        f.TreeView3.userMouseDown(platform::RightButton, 0, 100, 100);
    }
    // 修改目录或软件名 on the node of that key, ended with the text.
    void rename(std::string_view key, std::string text) {
        click(std::string(key));
        popup("ChangeSoftName");
        ASSERT_EQ(f.TreeView3.editingNode(), &f.TreeView3.item(key));
        f.TreeView3.userEndLabelEdit(std::move(text));
    }
    // A new category through the name dialog, beside or below the node.
    void insert(std::string_view selectedKey, const char* item, const std::string& name) {
        click(std::string(selectedKey));
        h.ui.onModal<Dialog1>([name](Dialog1& d) {
            d.Text1.userType(name);
            d.OKButton.userClick();
        });
        popup(item);
    }
    // The nodes, whatever is unfolded.
    Strings nodes() {
        Strings out = tree();
        for (std::string& line : out)
            if (line.ends_with(" +")) line.resize(line.size() - 2);
        return out;
    }
    std::string classText() { return h.read(ClassFile); }

    // A new record "2048" filed under 网络 and saved with the tree in one
    // view or the other: its line, its file, its node, and the node after 刷新.
    void newRecordSaved(bool categories) {
        startWith("==工具|=网络|{#$}A|", {"A"}, categories);
        newRecord("2048");
        if (!categories) f.softlist.userClick();  // to choose the category
        click("网络");
        if (!categories) f.softlist.userClick();
        save("你要保存新建软件2048?");
        EXPECT_EQ(classText(), crlf("==工具|=网络|{#$}2048|{#$}A|"));
        EXPECT_TRUE(h.read(recordPath("2048")).starts_with("软件名称：2048\r\n"));
        platform::Node* added = f.TreeView3.find("noStr2048");
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->text(), "2048");
        EXPECT_EQ(added->image(), 99);
        EXPECT_EQ(added->parent() ? added->parent()->text() : "", categories ? "网络" : "");
        popup("refreshSoft");
        ASSERT_NE(f.TreeView3.find("noStr2048"), nullptr);
        EXPECT_EQ(f.TreeView3.item("noStr2048").text(), "2048");
        h.ui.verifyAllUsed();
    }
};

TEST_F(DigitNames, BothViewsShowThemWithKeysThatGiveTheirNamesBack) {
    startWith("==1999|{#$}2048|{#$}A|==工具|{#$}360安全|{#$}noStr5|{#$}-1|",
              {"2048", "A", "360安全", "noStr5", "-1"}, false);
    // The alphabetical list at start-up.
    EXPECT_EQ(nodes(),
              (Strings{"-1 [noStr-1] 99", "2048 [noStr2048] 99", "360安全 [noStr360安全] 99",
                       "A [A] 99", "noStr5 [noStrnoStr5] 99"}));
    // A record copied in shows after 刷新.
    h.write(recordPath("4096"), recordText("4096", "工具"));
    popup("refreshSoft");
    EXPECT_EQ(f.TreeView3.item("noStr4096").text(), "4096");
    EXPECT_EQ(f.TreeView3.count(), 6);

    // The category view, at the switch and after 刷新.
    const Strings categoryNodes{
        "1999 [noStr1999] 94", "1999>2048 [noStr2048] 99",       "1999>A [A] 99",
        "工具 [工具] 94",      "工具>360安全 [noStr360安全] 99", "工具>noStr5 [noStrnoStr5] 99",
        "工具>-1 [noStr-1] 99"};
    f.softlist.userClick();
    EXPECT_EQ(nodes(), categoryNodes);
    popup("refreshSoft");
    EXPECT_EQ(nodes(), categoryNodes);
    EXPECT_EQ(f.TreeView3.item("noStr2048").fullPath(), "1999\\2048");
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(DigitNames, ANewRecordIsSavedFiledAndShownInTheCategoryView) { newRecordSaved(true); }

TEST_F(DigitNames, ANewRecordIsSavedFiledAndShownInTheAlphabeticalList) { newRecordSaved(false); }

TEST_F(DigitNames, ARecordOpensIsRenamedAndIsDeleted) {
    startWith("==工具|{#$}2048|{#$}A|", {"2048", "A"}, true);
    click("noStr2048");
    EXPECT_EQ(f.ExistSoftName, "2048");
    EXPECT_EQ(f.SoftCategoryT.text(), "工具");

    // An edit saved back into its own file.
    f.SoftVersionT.userType("9");
    save("你要保存软件2048的修改?");
    EXPECT_EQ(h.read(recordPath("2048")), recordText("2048", "工具", "9"));

    // Renamed to other digits, and a letter name to digits.
    rename("noStr2048", "4096");
    rename("A", "1024");
    EXPECT_EQ(classText(), crlf("==工具|{#$}4096|{#$}1024|"));
    EXPECT_FALSE(h.exists(recordPath("2048")));
    EXPECT_TRUE(h.exists(recordPath("4096")));
    EXPECT_TRUE(h.exists(recordPath("1024")));
    EXPECT_EQ(f.TreeView3.item("noStr4096").text(), "4096");
    EXPECT_EQ(f.TreeView3.item("noStr1024").text(), "1024");
    EXPECT_EQ(f.TreeView3.find("noStr2048"), nullptr);
    EXPECT_EQ(f.TreeView3.find("A"), nullptr);
    // A name the tree bears already is refused as any other.
    h.ui.answerMsgBox(platform::MsgOK, NameExists);
    rename("noStr1024", "4096");
    EXPECT_EQ(f.TreeView3.item("noStr1024").text(), "1024");

    // The renamed record opens.
    click("noStr1024");
    EXPECT_EQ(f.ExistSoftName, "1024") << "the name inside the file";

    // Deleted.
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除软件[4096]吗?");
    click("noStr4096");
    popup("deleteSoftN");
    EXPECT_EQ(classText(), crlf("==工具|{#$}1024|"));
    EXPECT_FALSE(h.exists(recordPath("4096")));
    EXPECT_EQ(f.TreeView3.find("noStr4096"), nullptr);
    EXPECT_EQ(f.ExistSoftName, "");
    h.ui.verifyAllUsed();
}

TEST_F(DigitNames, AnImportedRecordIsFiledAndShowsAfterRefresh) {
    startWith("==工具|=网络|{#$}A|", {"A"}, true);
    h.write(recordPath("360"), recordText("360", "工具\\网络"));
    h.ui.answerMsgBox(platform::MsgYes, Ready);
    h.ui.answerMsgBox(platform::MsgOK, "整理完毕,请刷新一下");
    popup("ClassSoft");
    EXPECT_EQ(classText(), crlf("==工具|=网络|{#$}360|{#$}A|"));
    popup("refreshSoft");
    EXPECT_EQ(nodes(), (Strings{"工具 [工具] 94", "工具>网络 [网络] 94", "网络>360 [noStr360] 99",
                                "网络>A [A] 99"}));
    click("noStr360");
    EXPECT_EQ(f.ExistSoftName, "360");
}

TEST_F(DigitNames, NewCategoriesBesideAndBelowAndTheirRecords) {
    startWith("==工具|=网络|{#$}A|", {"A"}, true);
    insert("工具", "insertSoftBrother", "2048");
    insert("noStr2048", "insertSoftChild", "64");
    insert("noStr64", "insertSoftChild", "8");
    insert("noStr8", "insertSoftBrother", "noStr8");  // its key is not 8's
    insert("网络", "insertSoftBrother", "1.5");
    EXPECT_EQ(classText(), crlf("==工具|=1.5|=网络|{#$}A|==2048|=64|noStr8|8|"));
    const Strings shown{"工具 [工具] 94",
                        "工具>网络 [网络] 94",
                        "网络>A [A] 99",
                        "2048 [noStr2048] 94",
                        "2048>64 [noStr64] 94",
                        "64>8 [noStr8] 94",
                        "64>noStr8 [noStrnoStr8] 94",
                        "工具>1.5 [noStr1.5] 94"};
    EXPECT_EQ(nodes(), shown);

    // A record filed in a digit category, and a record moved into one.
    newRecord("N");
    click("noStr8");
    save("你要保存新建软件N?");
    click("A");
    click("noStr64");
    save("你要保存软件A的修改?");
    EXPECT_EQ(classText(), crlf("==工具|=1.5|=网络|==2048|=64|{#$}A|noStr8|8|{#$}N|"));
    EXPECT_EQ(f.TreeView3.item("N").parent(), &f.TreeView3.item("noStr8"));
    EXPECT_EQ(f.TreeView3.item("A").parent(), &f.TreeView3.item("noStr64"));

    // After 刷新 the file's order shows.
    popup("refreshSoft");
    EXPECT_EQ(nodes(), (Strings{"工具 [工具] 94", "工具>1.5 [noStr1.5] 94", "工具>网络 [网络] 94",
                                "2048 [noStr2048] 94", "2048>64 [noStr64] 94", "64>A [A] 99",
                                "64>noStr8 [noStrnoStr8] 94", "64>8 [noStr8] 94", "8>N [N] 99"}));

    // An empty digit category is deleted.
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除目录[1.5]吗?");
    click("noStr1.5");
    popup("deleteSoftN");
    EXPECT_EQ(classText(), crlf("==工具|=网络|==2048|=64|{#$}A|noStr8|8|{#$}N|"));
    EXPECT_EQ(f.TreeView3.find("noStr1.5"), nullptr);
    h.ui.verifyAllUsed();
}

TEST_F(DigitNames, ACategoryRenamedToDigitsKeepsWorking) {
    startWith("==工具|=网络|{#$}A|浏览|=系统|", {"A"}, true);
    rename("网络", "2048");
    rename("浏览", "007");
    rename("工具", "360");
    EXPECT_EQ(classText(), crlf("==360|=2048|{#$}A|007|=系统|"));
    EXPECT_EQ(f.TreeView3.item("noStr2048").text(), "2048");
    EXPECT_EQ(f.TreeView3.item("noStr007").fullPath(), "360\\2048\\007");
    // The new keys are the ones the next commands find.
    insert("noStr007", "insertSoftBrother", "新");
    EXPECT_EQ(classText(), crlf("==360|=2048|{#$}A|新|007|=系统|"));
    rename("noStr2048", "网络");
    EXPECT_EQ(classText(), crlf("==360|=网络|{#$}A|新|007|=系统|"));
    EXPECT_EQ(f.TreeView3.item("网络").text(), "网络");
    EXPECT_EQ(f.TreeView3.find("noStr2048"), nullptr);
    h.ui.verifyAllUsed();
}

}  // namespace
