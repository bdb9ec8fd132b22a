// The scan dialog in its three modes: the proposed fields, the category
// chooser, the checks of OK (in their order), the number tag, the hand-off
// through Form1 on every way out, and the folder chooser behind
// "选择硬盘目录".
#include "catalogue/scan_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/scan_command.h"
#include "copies/sendto_dialog.h"
#include "platform/text/text.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr const char* Guangpan = "C:\\zelbrin\\guangpan\\";
constexpr const char* Catalogue = "C:\\zelbrin\\ini.ini";
constexpr const char* NoDisc = "你的光驱中没有光盘";

constexpr const char* NoFolder = "你的光驱里没有光盘,而且你也没有选择硬盘目录!";
constexpr const char* EmptyField = "不能有空的文本输入框";
constexpr const char* Hash = "光盘信息中不能含有#";
constexpr const char* Ampersand = "光盘信息中不能含有&&";
constexpr const char* AmpersandAtEdge = "备注的末尾和日期的开头不能是“&”！";
constexpr const char* NameExists = "光盘名已经存在！请另起一个名字！";
constexpr const char* Unchanged = "你未作任何修改！如果不想修改，请点击［取消］按钮！";
constexpr const char* BadName =
    "光盘名不能为空，不能是“.”或“..”，前后不能有空格，也不能含有\\ / : * ? \" < > |等字符！";
constexpr const char* BadPattern = "扫描的文件类型不能为空，也不能含有\\或/！";
constexpr const char* NoCategory = "请从左边的目录树中选择光盘的分类！";

// A started program with a category tree, a fixed date and the CD drive E:
// holding the disc "DATA"; the scan's members as the scan command leaves them
// before it shows the dialog.
class ScanDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(Catalogue, "|音乐\r\n#old#1#r&&2004-1-1#\r\n@外国\r\n|2004\r\n");
        h.clock.set(2004, 5, 1);
        h.setCdLabel("DATA");
        h.start();
        h.form.DialogFromWhere = "";
        h.form.cdRom = "DATA";
        h.form.SearchPath = "E:\\";
    }

    // Shows the dialog modally with the script as the user.
    void show(std::function<void(Dialog&)> script) {
        h.ui.onModal<Dialog>(std::move(script));
        Dialog d(h.form);
        d.showModal();
    }

    static platform::Node& category(Dialog& d, const std::string& text) {
        for (const auto& node : d.TreeView1.nodes())
            if (node->text() == text) return *node;
        throw std::runtime_error("no category " + text);
    }

    // Chooses the category "音乐" and presses OK.
    static void fileUnderMusicAndOk(Dialog& d) {
        d.TreeView1.userClickNode(category(d, "音乐"));
        d.OKButton.userClick();
    }

    Harness h;
};

TEST_F(ScanDialogTest, NewScanProposesLabelNextNumberTodayAndPatterns) {
    for (const char* f : {"a.wcd", "b_hard.wcd", "c.wcd", "d_HARD.wcd"})
        h.write(std::string(Guangpan) + f, "");
    h.form.File1.setPath("C:\\zelbrin");
    show([](Dialog& d) {
        EXPECT_EQ(d.caption(), "information");
        EXPECT_EQ(d.Text1.text(), "DATA");
        EXPECT_EQ(d.Text2.text(), "4");  // "_hard" is matched exactly: d_HARD counts
        EXPECT_EQ(d.Text3.text(), "");
        EXPECT_EQ(d.Text5.text(), "2004-5-1");
        EXPECT_EQ(d.Label4.caption(),
                  "你的光驱中有光盘！它的卷标是DATA；如果你不想扫描光驱请取出光盘！");
        EXPECT_TRUE(d.Command1.visible());
        EXPECT_TRUE(d.Label6.visible());
        EXPECT_TRUE(d.Combo1.visible());
        EXPECT_EQ(d.Combo1.items(), (std::vector<std::string>{"*.*", "*.exe", "*.dll", "*.txt",
                                                              "*.htm", "*.mp3", "*.doc"}));
        EXPECT_EQ(d.Combo1.text(), "*.*");
        EXPECT_TRUE(d.Text4.locked());
        d.CancelButton.userClick();
    });
    // The enumerator is set back afterwards.
    EXPECT_EQ(h.form.File1.path(), "C:\\");
    EXPECT_EQ(h.form.File1.pattern(), "*.*");
}

TEST_F(ScanDialogTest, PlacedBelowTheMainWindowsTopEdge) {
    h.form.setTop(1300);
    show([this](Dialog& d) {
        EXPECT_EQ(d.top(), 1500);
        EXPECT_NEAR(d.left() + d.width() / 2, h.form.left() + h.form.width() / 2, 15);
    });
}

TEST_F(ScanDialogTest, ChooserHoldsCategoriesExpandedAndFillsPathAndRemark) {
    h.write(Catalogue, "@孤儿\r\n|音乐\r\n@外国\r\n#x#1#r&&#\r\n|2004\r\n");
    show([](Dialog& d) {
        ASSERT_EQ(d.TreeView1.count(), 3);  // the sub-category above every category is skipped
        platform::Node& music = category(d, "音乐");
        EXPECT_TRUE(music.expanded());
        EXPECT_EQ(music.image(), 3);
        EXPECT_EQ(music.child()->text(), "外国");
        EXPECT_EQ(category(d, "2004").text(), "2004");  // digits alone are no problem

        d.Text4.userType("typed");  // the category field cannot be typed into
        EXPECT_EQ(d.Text4.text(), "");
        d.TreeView1.userClickNode(*music.child());
        EXPECT_EQ(d.Text4.text(), "音乐\\外国");
        EXPECT_EQ(d.Text3.text(), "外国");
        d.CancelButton.userClick();
    });
}

TEST_F(ScanDialogTest, CdScanGetsTheNumberTagByTheNumbersLength) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"7", "[007]DATA"}, {"12", "[012]DATA"}, {"123", "[123]DATA"}, {"1234", "DATA"}};
    for (const auto& [number, name] : cases) {
        show([&](Dialog& d) {
            d.Text2.userType(number);
            fileUnderMusicAndOk(d);
            EXPECT_FALSE(d.loaded());
        });
        EXPECT_TRUE(h.form.ok);
        EXPECT_EQ(h.form.txtName, name);
        EXPECT_EQ(h.form.txtOrder, number);
        EXPECT_EQ(h.form.txtTip, "音乐&&2004-5-1");
        EXPECT_EQ(h.form.txtPath, "音乐");
        EXPECT_EQ(h.form.FindStr, "*.*");
    }
    // The drives are compared without case.
    h.form.SearchPath = "e:\\docs";
    show([](Dialog& d) {
        d.Text2.userType("9");
        fileUnderMusicAndOk(d);
    });
    EXPECT_EQ(h.form.txtName, "[009]DATA");
}

TEST_F(ScanDialogTest, RefusedNameIsNotTaggedTwice) {
    h.write(std::string(Guangpan) + "[007]data.wcd", "");  // names compare without case
    show([this](Dialog& d) {
        d.Text2.userType("7");
        h.ui.answerMsgBox(platform::MsgOK, NameExists);
        fileUnderMusicAndOk(d);
        EXPECT_TRUE(d.loaded());
        EXPECT_EQ(d.Text1.text(), "DATA");
        d.Text2.userType("8");
        d.OKButton.userClick();
        EXPECT_FALSE(d.loaded());
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.txtName, "[008]DATA");
}

TEST_F(ScanDialogTest, NamesThatCannotBeFileNamesAreRefused) {
    h.form.SearchPath = "C:\\music";  // not the CD drive: no tag
    for (const char* name : {".", "..", "a/b", "..\\..\\x", "c:x", "?", "a*", "\"q\"", "<a>", "a|b",
                             " lead", "trail ", "tab\tx"}) {
        show([&](Dialog& d) {
            d.Text1.userType(name);
            h.ui.answerMsgBox(platform::MsgOK, BadName);
            fileUnderMusicAndOk(d);
            EXPECT_TRUE(d.loaded()) << name;
            d.CancelButton.userClick();
        });
        EXPECT_FALSE(h.form.ok);
    }
    // The final name is checked, after the tag: a number "..\" gives "[..\]".
    h.form.SearchPath = "E:\\";
    show([&](Dialog& d) {
        d.Text2.userType("..\\");
        h.ui.answerMsgBox(platform::MsgOK, BadName);
        fileUnderMusicAndOk(d);
        EXPECT_TRUE(d.loaded());
    });
}

TEST_F(ScanDialogTest, ChecksRunInOrderAndKeepTheFormOpen) {
    struct Case {
        std::function<void(Dialog&)> edit;
        const char* message;
    };
    const std::vector<Case> cases = {
        {[](Dialog& d) { d.Text3.userType(""); }, EmptyField},
        {[](Dialog& d) { d.Text4.setText(""); }, EmptyField},
        {[](Dialog& d) { d.Text5.userType("2004#5"); }, Hash},
        {[](Dialog& d) { d.Text3.userType("a&&b"); }, Ampersand},
        {[](Dialog& d) { d.Combo1.userType(""); }, BadPattern},
        {[](Dialog& d) { d.Combo1.userType("..\\*"); }, BadPattern},
        {[](Dialog& d) { d.Combo1.userType("a/*.mp3"); }, BadPattern},
        {[](Dialog& d) { d.Text4.setText("没有这个分类"); }, NoCategory},
        // With several faults the first check in the order speaks.
        {[](Dialog& d) {
             d.Text3.userType("");
             d.Text5.userType("2004#5");
         },
         EmptyField},
        {[](Dialog& d) {
             d.Text2.userType("a&&b");
             d.Text1.userType("x#");
         },
         Hash},
        {[](Dialog& d) {
             d.Text3.userType("a&&b");
             d.Combo1.userType("");
         },
         Ampersand},
    };
    for (const Case& c : cases) {
        show([&](Dialog& d) {
            d.TreeView1.userClickNode(category(d, "音乐"));
            c.edit(d);
            h.ui.answerMsgBox(platform::MsgOK, c.message);
            d.OKButton.userClick();
            EXPECT_TRUE(d.loaded()) << c.message;
        });
        EXPECT_FALSE(h.form.ok);
    }
    // The date may be empty; "#" in the category is not a refusal.
    h.write(Catalogue, "|a#b\r\n");
    show([](Dialog& d) {
        d.TreeView1.userClickNode(category(d, "a#b"));
        d.Text3.userType("r");
        d.Text5.userType("");
        d.OKButton.userClick();
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.txtTip, "r&&");
    EXPECT_EQ(h.form.txtPath, "a#b");
}

// Each field the user types into, holding what means something in the
// catalogue's disc line, through a whole scan: a line break typed or pasted
// into a single-line box is dropped; "#", "&&" and an "&" where remark and
// date meet are refused with their message and nothing is filed; whatever is
// accepted is filed in one line that reads back as the fields stood.
TEST(ScanDialogFields, EachIsRefusedOrFiledSoThatItsLineReadsBack) {
    enum Field { Name, Number, Remark, Date, Pattern };
    struct Case {
        Field field;
        std::string typed;
        std::string kept;     // what the box holds then
        const char* message;  // the refusal, or nullptr when the scan files the disc
    };
    const std::vector<Case> cases = {
        {Name, "a\r\nb", "ab", nullptr},
        {Name, "\nDATA\r", "DATA", nullptr},
        {Name, "a#b", "a#b", Hash},
        {Name, "a&&b", "a&&b", Ampersand},
        {Name, "a&", "a&", nullptr},
        {Name, "&a", "&a", nullptr},
        {Number, "1\r\n", "1", nullptr},
        {Number, "#1", "#1", Hash},
        {Number, "1&&", "1&&", Ampersand},
        {Number, "1&", "1&", nullptr},
        {Number, "&1", "&1", nullptr},
        {Remark, "live\r\n|evil", "live|evil", nullptr},
        {Remark, "\r\n", "", EmptyField},
        {Remark, "r#", "r#", Hash},
        {Remark, "a&&b", "a&&b", Ampersand},
        {Remark, "r&", "r&", AmpersandAtEdge},
        {Remark, "&r", "&r", nullptr},
        {Date, "2024-5\n-6", "2024-5-6", nullptr},
        {Date, "#2024", "#2024", Hash},
        {Date, "2024&&5", "2024&&5", Ampersand},
        {Date, "&2024", "&2024", AmpersandAtEdge},
        {Date, "2024&", "2024&", nullptr},
        {Date, "", "", nullptr},
        {Pattern, "*.*\r\n", "*.*", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.typed);
        Harness h;
        h.write(Catalogue, "|音乐\r\n@外国\r\n|2004\r\n");
        h.clock.set(2004, 5, 1);
        h.setCdLabel("DATA");
        h.start();
        const std::string before = h.read(Catalogue);
        catalogue::DiscLine typed;  // the fields as they stand on OK
        h.ui.onModal<Dialog>([&](Dialog& d) {
            for (const auto& node : d.TreeView1.nodes())
                if (node->text() == "音乐") d.TreeView1.userClickNode(*node);
            platform::TextBox* const boxes[] = {&d.Text1, &d.Text2, &d.Text3, &d.Text5};
            if (c.field == Pattern) {
                d.Combo1.userType(c.typed);
                EXPECT_EQ(d.Combo1.text(), c.kept);
            } else {
                boxes[c.field]->userType(c.typed);
                EXPECT_EQ(boxes[c.field]->text(), c.kept);
            }
            typed = {d.Text1.text(), d.Text2.text(), d.Text3.text(), d.Text5.text()};
            if (c.message) h.ui.answerMsgBox(platform::MsgOK, c.message);
            d.OKButton.userClick();
            EXPECT_EQ(d.loaded(), c.message != nullptr);
            if (d.loaded()) d.CancelButton.userClick();
        });
        h.form.maker.userClick();

        const std::string after = h.read(Catalogue);
        if (c.message) {
            EXPECT_EQ(after, before);
            continue;
        }
        // Filed from the CD drive: the name has its number tag.
        typed.name = catalogue::discNumberTag(typed.number) + typed.name;
        EXPECT_EQ(platform::text::splitLines(after).size(),
                  platform::text::splitLines(before).size() + 1)
            << after;
        const auto back = catalogue::ReadDiscFields(after, typed.name);
        ASSERT_TRUE(back) << after;
        EXPECT_EQ(static_cast<const catalogue::DiscLine&>(*back), typed) << after;
        EXPECT_EQ(back->categoryPath, "音乐");
        EXPECT_TRUE(h.exists("C:\\zelbrin\\guangpan\\" + typed.name + ".wcd"));
        EXPECT_EQ(h.form.FindStr, "*.*");
    }
}

TEST_F(ScanDialogTest, NoDiscAndNoFolderIsRefused) {
    h.form.cdRom = NoDisc;
    h.form.SearchPath = "";
    show([this](Dialog& d) {
        EXPECT_EQ(d.Text1.text(), NoDisc);
        EXPECT_EQ(d.Label4.caption().rfind("你的光驱中没有光盘！如果你刚刚把光盘放进光驱", 0), 0u);
        h.ui.answerMsgBox(platform::MsgOK, NoFolder);
        fileUnderMusicAndOk(d);
        EXPECT_TRUE(d.loaded());
    });
    EXPECT_FALSE(h.form.ok);
}

TEST_F(ScanDialogTest, ChosenPatternIsHandedBack) {
    show([](Dialog& d) {
        d.Combo1.userChoose(5);
        fileUnderMusicAndOk(d);
    });
    EXPECT_EQ(h.form.FindStr, "*.mp3");
}

TEST_F(ScanDialogTest, CancelAndCloseBoxHandBackTheFieldsWithOkFalse) {
    for (const bool closeBox : {false, true}) {
        h.form.ok = true;  // left over from an earlier dialog
        show([&](Dialog& d) {
            d.Text1.userType("名字");
            d.Combo1.userType("*.txt");
            d.TreeView1.userClickNode(category(d, "2004"));
            d.Text3.userType("备注");
            if (closeBox)
                d.userClose();
            else
                d.CancelButton.userClick();
        });
        EXPECT_FALSE(h.form.ok);
        EXPECT_EQ(h.form.txtName, "名字");
        EXPECT_EQ(h.form.txtOrder, "1");
        EXPECT_EQ(h.form.txtTip, "备注&&2004-5-1");
        EXPECT_EQ(h.form.txtPath, "2004");
        EXPECT_EQ(h.form.FindStr, "*.txt");
    }
}

TEST_F(ScanDialogTest, ImportProposesTheFileTitleAndNeverTags) {
    h.form.DialogFromWhere = "import";
    h.form.ImportFileName = "D:\\export\\Games.v1.wcd";
    h.form.FindStr = "*.*";
    show([](Dialog& d) {
        EXPECT_EQ(d.Label4.caption(), "请为你要导入的光盘文件填写备注和选择分类！");
        EXPECT_EQ(d.Text1.text(), "Games.v1");
        EXPECT_EQ(d.Text2.text(), "1");
        EXPECT_EQ(d.Text5.text(), "2004-5-1");
        EXPECT_FALSE(d.Combo1.visible());
        EXPECT_FALSE(d.Command1.visible());
        d.Combo1.setText("changed");
        fileUnderMusicAndOk(d);
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.txtName, "Games.v1");  // SearchPath equals the CD drive, still no tag
    EXPECT_EQ(h.form.FindStr, "*.*");       // the hidden pattern is not handed back
    EXPECT_EQ(catalogue::fileTitleOf("D:\\export\\noext"), "noext");
}

// ---- change mode ----

class ChangeModeTest : public ScanDialogTest {
  protected:
    void SetUp() override {
        ScanDialogTest::SetUp();
        h.write(Catalogue,
                "|音乐\r\n@外国\r\n#abc#3#演唱会&&2004-1-2#\r\n#nodate#5#r#\r\n|软件\r\n");
        h.write(std::string(Guangpan) + "abc.wcd", "");
        h.write(std::string(Guangpan) + "nodate.wcd", "");
        h.form.DialogFromWhere = "changeorder";
        h.form.OpenedDisk = "abc";
    }
};

TEST_F(ChangeModeTest, ShowsTheDiscsFieldsAndAsksAboutEachChange) {
    show([this](Dialog& d) {
        EXPECT_EQ(d.Label4.caption(),
                  "请只修改你要改变的项目！如果你要修改的是硬盘目录而不是光盘，请在修改名字时保留后"
                  "缀“_hard”。");
        EXPECT_EQ(d.Text1.text(), "abc");
        EXPECT_EQ(d.Text2.text(), "3");
        EXPECT_EQ(d.Text3.text(), "演唱会");
        EXPECT_EQ(d.Text5.text(), "2004-1-2");
        EXPECT_EQ(d.Text4.text(), "音乐\\外国");
        EXPECT_FALSE(d.Combo1.visible());

        // Nothing changed: the box has no title of its own.
        h.ui.answerMsgBox(platform::MsgOK, Unchanged);
        d.OKButton.userClick();
        EXPECT_EQ(h.ui.log().back().title, "Zelbrin");

        // The remark stays when a category is chosen in this mode.
        d.TreeView1.userClickNode(category(d, "软件"));
        EXPECT_EQ(d.Text3.text(), "演唱会");
        d.Text2.userType("4");
        const std::string question =
            "你把光盘的序号［3］改成了［4］。\r\n你把光盘的分类［音乐\\外国］改成了［软件］。\r\n"
            "如果上述提示不正确，请点击［No］按钮！";
        h.ui.answerMsgBox(platform::MsgNo, question);
        d.OKButton.userClick();
        EXPECT_TRUE(d.loaded());
        h.ui.answerMsgBox(platform::MsgYes, question);
        d.OKButton.userClick();
        EXPECT_FALSE(d.loaded());
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.txtName, "abc");  // no tag in this mode
    EXPECT_EQ(h.form.txtOrder, "4");
    EXPECT_EQ(h.form.txtPath, "软件");
}

// Every other disc's index file counts, in any letter case; the disc's own
// does not, so that it can be renamed in letter case only.
TEST_F(ChangeModeTest, ANewNameIsTestedAgainstEveryOtherIndexFile) {
    show([this](Dialog& d) {
        d.Text1.userType("NoDate");
        h.ui.answerMsgBox(platform::MsgOK, NameExists);
        d.OKButton.userClick();
        d.Text1.userType("a:b");
        h.ui.answerMsgBox(platform::MsgOK, BadName);
        d.OKButton.userClick();
        d.Text1.userType("新名");
        h.ui.answerMsgBox(
            platform::MsgYes,
            "你把光盘的名字［abc］改成了［新名］。\r\n如果上述提示不正确，请点击［No］按钮！");
        d.OKButton.userClick();
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.txtName, "新名");
}

TEST_F(ChangeModeTest, ALineWithoutDateShowsTodayAndListsTheDate) {
    h.form.OpenedDisk = "nodate";
    show([this](Dialog& d) {
        EXPECT_EQ(d.Text5.text(), "2004-5-1");
        h.ui.answerMsgBox(
            platform::MsgYes,
            "你把光盘的购买日期［］改成了［2004-5-1］。\r\n如果上述提示不正确，请点击［No］按钮！");
        d.OKButton.userClick();
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.txtTip, "r&&2004-5-1");
}

// ---- "选择硬盘目录" through the folder chooser ----

TEST_F(ScanDialogTest, HardDiskFolderChosenInTheFolderChooser) {
    h.makeFolder("C:\\music\\pop");
    h.ui.onModal<sendto>([this](sendto& s) {
        EXPECT_TRUE(h.form.fromMaker);
        s.Drive1.userChoose("c:");
        s.Dir1.userOpen("C:\\music\\pop");
        s.OKButton.userClick();
    });
    show([this](Dialog& d) {
        d.Command1.userClick();
        EXPECT_FALSE(h.form.fromMaker);
        EXPECT_EQ(h.form.SearchPath, "C:\\music\\pop");
        EXPECT_EQ(d.Text1.text(), "pop");
        EXPECT_EQ(d.Label4.caption(),
                  "你要扫描的目录是[C:\\music\\pop]。如果选择错了，请重新选择。");
        fileUnderMusicAndOk(d);
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.txtName, "pop");  // another drive than the CD's: no tag
    EXPECT_EQ(h.settings.get("Zelbrin", "Expiry", "yourfolder", "none"), "none");
}

TEST_F(ScanDialogTest, DriveRootGivesItsLetterAndCancelKeepsTheLastFolder) {
    h.ui.onModal<sendto>([](sendto& s) {
        s.Dir1.userOpen("C:\\");
        s.OKButton.userClick();
    });
    h.ui.onModal<sendto>([](sendto& s) { s.CancelButton.userClick(); });
    show([this](Dialog& d) {
        d.Command1.userClick();
        EXPECT_EQ(d.Text1.text(), "C");
        d.Text1.userType("typed");
        d.Command1.userClick();  // cancelled: the same folder again
        EXPECT_EQ(h.form.SearchPath, "C:\\");
        EXPECT_EQ(d.Text1.text(), "C");
        EXPECT_EQ(d.Label4.caption(), "你要扫描的目录是[C:\\]。如果选择错了，请重新选择。");
        d.CancelButton.userClick();
    });
}

TEST_F(ScanDialogTest, FolderOnTheCdDriveIsTagged) {
    h.makeFolder("E:\\docs");
    h.ui.onModal<sendto>([](sendto& s) {
        s.Dir1.userOpen("E:\\docs");
        s.OKButton.userClick();
    });
    show([](Dialog& d) {
        d.Command1.userClick();
        d.Text2.userType("7");
        fileUnderMusicAndOk(d);
    });
    EXPECT_EQ(h.form.txtName, "[007]docs");
}

}  // namespace
