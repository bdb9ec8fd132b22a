// Category editing, driven as a user drives it: the items 建立顶级目录,
// 建立子目录 and 修改目录名 of the category tree's pop-up menu, the name
// dialog answered by script and the label edit ended with a text or Esc.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/name_dialog.h"
#include "catalogue/scan_dialog.h"
#include "support/harness.h"
#include "support/tree_text.h"

namespace {

using testsupport::Harness;

constexpr const char* Catalogue = "C:\\zelbrin\\ini.ini";
constexpr const char* Exists = "你要新建的分类已经有了!";
constexpr const char* Taken = "这个名字已经存在！";
constexpr const char* BadName = "目录名不能为空，也不能含有\\或#";

constexpr auto describe = testsupport::describeTree;

class CategoryEditing : public ::testing::Test {
  protected:
    void startWith(std::string_view catalogue) {
        h.write(Catalogue, catalogue);
        h.start();
        h.ui.clearLog();
    }
    // The catalogue file written anew and the tree rebuilt by 刷新.
    void reload(std::string_view catalogue) {
        h.write(Catalogue, catalogue);
        popup("refresh2");
    }
    platform::TreeView& tree() { return h.form.TreeView2; }
    // Selects the node without the click's opening of a disc.
    void select(std::string_view key) { tree().setSelectedItem(&tree().item(key)); }
    void popup(std::string item) {
        h.ui.choosePopup(std::move(item));
        tree().userMouseDown(platform::RightButton, 0, 100, 100);
    }
    // The name dialog: the name typed and OK, or nothing and Cancel (or the
    // close box).
    void answerName(std::optional<std::string> name, bool closeBox = false) {
        h.ui.onModal<Dialog1>([name, closeBox](Dialog1& d) {
            if (!name) return closeBox ? d.userClose() : d.CancelButton.userClick();
            d.Text1.userType(*name);
            d.OKButton.userClick();
        });
    }
    void addTop(std::string name) {
        answerName(std::move(name));
        popup("insert");
    }
    void addSub(std::string_view selectedKey, std::string name) {
        select(selectedKey);
        answerName(std::move(name));
        popup("insertsub");
    }
    // 修改目录名 on the node, then the edit ended with the text (Enter) or
    // without one (Esc).
    void rename(std::string_view key, std::optional<std::string> text) {
        select(key);
        popup("ChangeMulu");
        ASSERT_EQ(tree().editingNode(), &tree().item(key));
        tree().userEndLabelEdit(std::move(text));
    }
    void expectHandOffCleared() {
        EXPECT_EQ(h.form.Txtcontent_Name, "");
        EXPECT_FALSE(h.form.OkName);
    }

    Harness h;
};

// ---- 建立顶级目录 ----

TEST_F(CategoryEditing, AFreshCatalogueGetsItsFirstCategoryAndTheScanFilesADiscUnderIt) {
    h.setCdLabel("DATA");
    h.writeBytes("E:\\b.bin", "abc");
    h.start();  // no catalogue file: start-up creates it empty
    ASSERT_EQ(h.readBytes(Catalogue), "");

    h.ui.onModal<Dialog1>([](Dialog1& d) {
        EXPECT_EQ(d.Label2.caption(), "你将建立一个顶级目录！");
        d.Text1.userType("音乐");
        d.OKButton.userClick();
    });
    popup("insert");
    EXPECT_EQ(h.readBytes(Catalogue), "|\xd2\xf4\xc0\xd6\r\n");  // code page 936
    EXPECT_EQ(describe(tree()), std::vector<std::string>{"音乐 [音乐*] 3"});
    expectHandOffCleared();

    h.ui.onModal<Dialog>([](Dialog& d) {
        d.TreeView1.userClickNode(d.TreeView1.item(1));
        d.OKButton.userClick();
    });
    h.form.maker.userClick();
    const auto filed = catalogue::ReadDiscFields(h.read(Catalogue), "[001]DATA");
    ASSERT_TRUE(filed);
    EXPECT_EQ(filed->categoryPath, "音乐");
    ASSERT_NE(tree().find("[001]DATA*"), nullptr);
    EXPECT_EQ(tree().item("[001]DATA*").fullPath(), "音乐\\[001]DATA");
}

TEST_F(CategoryEditing, ATopLevelCategoryComesAfterAllOthers) {
    startWith("|A\r\n#d#1#&&#\r\n@s\r\n|B");  // no final line end
    addTop("C");
    EXPECT_EQ(h.read(Catalogue), "|A\r\n#d#1#&&#\r\n@s\r\n|B\r\n|C\r\n");
    EXPECT_EQ(tree().firstRoot()->lastSibling(), &tree().item("C*"));
    EXPECT_EQ(tree().item("C*").image(), 3);
    EXPECT_TRUE(h.ui.log().size() == 2);  // the pop-up and the dialog, no box
}

TEST_F(CategoryEditing, NamesTakenOrUnusableAreRefused) {
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"music", Exists},   // a disc node, letter case ignored
        {"A", Exists},       // a top-level category
        {"S", Exists},       // a sub-category
        {"hidden", Exists},  // a disc line the tree could not show
        {"", BadName},       // empty
        {"a\\b", BadName},   // would read as a category path
        {"a#b", BadName},    // would break the remark search
    };
    const char* stored = "#hidden#1#&&#\r\n|A\r\n#Music#1#&&#\r\n@s\r\n";
    startWith(stored);
    for (const auto& c : cases) {
        reload(stored);
        const std::vector<std::string> before = describe(tree());
        answerName(c.name);
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        popup("insert");
        EXPECT_EQ(h.read(Catalogue), stored) << c.name;
        EXPECT_EQ(describe(tree()), before) << c.name;
        EXPECT_EQ(h.ui.log().back().title, "提示");
        expectHandOffCleared();
    }
}

TEST_F(CategoryEditing, AFolderOfAnOpenedDiscDoesNotTakeTheName) {
    startWith("|A\r\n#d#1#&&#\r\n");
    tree().addChild("d*", "Music", "Music", 1);  // a folder node of the opened disc
    addTop("Music");
    EXPECT_EQ(h.read(Catalogue), "|A\r\n#d#1#&&#\r\n|Music\r\n");
    EXPECT_EQ(tree().item("Music*").text(), "Music");
}

TEST_F(CategoryEditing, CancelOrTheCloseBoxAfterAnEarlierOkAddsNothing) {
    startWith("|A\r\n");
    addTop("B");
    for (const bool closeBox : {false, true}) {
        answerName(std::nullopt, closeBox);
        popup("insert");
        EXPECT_EQ(h.read(Catalogue), "|A\r\n|B\r\n");
        EXPECT_EQ(tree().count(), 2);
        expectHandOffCleared();
    }
}

// ---- 建立子目录 ----

TEST_F(CategoryEditing, ASubCategoryGoesUnderTheSelectedNodesTopLevelCategory) {
    startWith("|A\r\n#d1#1#&&#\r\n@s\r\n#d2#2#&&#\r\n|B\r\n");
    tree().item("A*").setExpanded(false);
    h.ui.onModal<Dialog1>([](Dialog1& d) {
        EXPECT_EQ(d.Label2.caption(), "    你将建立一个子目录，在 {A} 目录的下面！");
        d.Text1.userType("new");
        d.OKButton.userClick();
    });
    select("d2*");  // a disc of the sub-category s
    popup("insertsub");
    EXPECT_EQ(h.read(Catalogue), "|A\r\n#d1#1#&&#\r\n@s\r\n#d2#2#&&#\r\n@new\r\n|B\r\n");
    EXPECT_EQ(tree().item("new*").parent(), &tree().item("A*"));
    EXPECT_EQ(tree().item("A*").lastChild(), &tree().item("new*"));
    EXPECT_TRUE(tree().item("A*").expanded());
    EXPECT_EQ(h.form.Txt1, "");
    expectHandOffCleared();
}

TEST_F(CategoryEditing, TheTopCategorysDiscsStayItsOwnAfterARebuild) {
    startWith("|电影2\r\n|电影\r\n#d1#1#&&#\r\n#d2#2#&&#");
    addSub("电影*", "国产");
    EXPECT_EQ(h.read(Catalogue), "|电影2\r\n|电影\r\n#d1#1#&&#\r\n#d2#2#&&#\r\n@国产\r\n");
    const std::vector<std::string> shown = describe(tree());
    popup("refresh2");
    EXPECT_EQ(describe(tree()), shown);
    EXPECT_EQ(describe(tree()), (std::vector<std::string>{
                                    "电影2 [电影2*] 3 +",
                                    "电影 [电影*] 3 +",
                                    "电影>d1 [d1*] 73",
                                    "电影>d2 [d2*] 73",
                                    "电影>国产 [国产*] 3",
                                }));
}

TEST_F(CategoryEditing, ASubCategoryWithATakenNameOrNoSelectionAddsNothing) {
    startWith("|A\r\n#d#1#&&#\r\n");
    h.ui.answerMsgBox(platform::MsgOK, Exists);
    addSub("A*", "D");
    h.ui.answerMsgBox(platform::MsgOK, BadName);
    addSub("A*", "x#y");
    EXPECT_EQ(h.read(Catalogue), "|A\r\n#d#1#&&#\r\n");
    EXPECT_EQ(tree().count(), 2);

    tree().setSelectedItem(nullptr);
    popup("insertsub");  // nothing is asked
    EXPECT_EQ(h.read(Catalogue), "|A\r\n#d#1#&&#\r\n");
    expectHandOffCleared();
}

// ---- 修改目录名 ----

TEST_F(CategoryEditing, RenamingRewritesTheLineAndReKeysTheNode) {
    startWith("|A\r\n#d#1#&&#\r\n@s\r\n|A2\r\n@s2\r\n");
    rename("A*", "音乐");
    rename("s*", "外国");
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n#d#1#&&#\r\n@外国\r\n|A2\r\n@s2\r\n");
    EXPECT_EQ(tree().item("音乐*").text(), "音乐");
    EXPECT_EQ(tree().item("外国*").text(), "外国");
    EXPECT_EQ(tree().find("A*"), nullptr);
    EXPECT_TRUE(h.ui.messages().empty());

    // The commands that find a category by its key find it by its new name,
    // and the old name is free again.
    addSub("d*", "new");
    addTop("A");
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n#d#1#&&#\r\n@外国\r\n@new\r\n|A2\r\n@s2\r\n|A\r\n");
    EXPECT_EQ(tree().item("new*").parent(), &tree().item("音乐*"));
}

TEST_F(CategoryEditing, TakenAndUnusableNewNamesCancelTheEdit) {
    struct Case {
        const char* key;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"s*", "B", Taken},  // a sub-category to a top-level category's name
        {"s*", "D", Taken},  // ... to a disc's name
        {"B*", "S", Taken},  // a top-level category to a sub-category's name
        {"s*", "S", Taken},  // letter case alone: the test finds itself
        {"s*", "", BadName}, {"B*", "x\\y", BadName}, {"B*", "#", BadName},
    };
    const char* stored = "|A\r\n#d#1#&&#\r\n@s\r\n|B\r\n";
    startWith(stored);
    for (const auto& c : cases) {
        reload(stored);
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        rename(c.key, c.text);
        EXPECT_EQ(h.read(Catalogue), stored) << c.text;
        EXPECT_EQ(tree().item(c.key).text() + "*", c.key) << c.text;
    }
}

TEST_F(CategoryEditing, EscOrTheSameTextChangesNothing) {
    const char* stored = "|A\r\n@s\r\n";
    startWith(stored);
    rename("s*", std::nullopt);
    rename("s*", "s");
    EXPECT_EQ(h.read(Catalogue), stored);
    EXPECT_EQ(tree().item("s*").text(), "s");
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(CategoryEditing, OnlyACategorysLabelIsEdited) {
    startWith("|A\r\n#d#1#&&#\r\n");
    select("d*");
    popup("ChangeMulu");
    EXPECT_EQ(tree().editingNode(), nullptr);
    tree().userStartLabelEdit(tree().item("A*"));  // a second click on a category
    EXPECT_EQ(tree().editingNode(), nullptr);
    tree().setSelectedItem(nullptr);
    popup("ChangeMulu");
    EXPECT_EQ(tree().editingNode(), nullptr);
}

TEST_F(CategoryEditing, ALineGoneFromTheFileCancelsTheEdit) {
    startWith("|A\r\n@s\r\n");
    h.write(Catalogue, "|A\r\n@s2\r\n|As\r\n");  // changed since the tree was built
    rename("s*", "t");
    EXPECT_EQ(h.read(Catalogue), "|A\r\n@s2\r\n|As\r\n");
    EXPECT_EQ(tree().item("s*").text(), "s");
}

}  // namespace
