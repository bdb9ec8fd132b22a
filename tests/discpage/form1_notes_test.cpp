// Remarks and usage notes of the disc page: the notes dialog shown from the
// file list's pop-up (修改或添加备注, 修改或添加[使用情况]) and from a row of a
// search of remarks, and what each stores in the disc's note files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "disc_page_steps.h"
#include "discpage/notes_dialog.h"
#include "platform/text/text.h"
#include "support/failing_step.h"
#include "support/outside_snapshot.h"
#include "support/unreadable_file.h"

using namespace disc_page_test;

namespace {

const std::string ToolsNotes = discFile(Tools, ".note");
const std::string ToolsUsage = discFile(Tools, ".exam");
const std::string PopNotes = discFile(Pop, ".note");

class Notes : public DiscPage {
  protected:
    // Selects the row of that text and chooses a command of the file list's
    // pop-up; the dialog, when it shows, runs script.
    void command(std::string_view rowText, const char* item,
                 std::function<void(notes&)> script = nullptr) {
        f().ListView1.setSelectedItem(&row(f(), rowText));
        if (script) h.ui.onModal<notes>(std::move(script));
        h.ui.choosePopup(item);
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100);
        expectAtRest();
    }
    // The remark (or usage note) typed and confirmed.
    void remark(std::string_view rowText, std::string text, const char* item = "addnotes") {
        command(rowText, item, [text](notes& d) {
            d.Text1.userType(text);
            d.OKButton.userClick();
        });
    }
    void expectAtRest() {
        EXPECT_EQ(f().fileNotes, "");
        EXPECT_FALSE(f().IsExample);
    }
    std::string cell(std::string_view rowText, int column) {
        return row(f(), rowText).subItem(column);
    }

    // ListView2 as a search of remarks (or of usage notes) leaves it, with
    // one row selected.
    platform::ListItem& resultRow(std::string disc, std::string path, std::string text,
                                  const char* heading = "备注") {
        platform::ListView& l = f().ListView2;
        l.clearColumns();
        l.addColumn("disc", "光盘名", 1500);
        l.addColumn("path", "路径", 3000);
        l.addColumn("note", heading, 3000);
        l.clear();
        platform::ListItem& r = l.add("r1", std::move(disc), 73);
        r.setSubItem(1, std::move(path));
        r.setSubItem(2, std::move(text));
        l.setSelectedItem(&r);
        return r;
    }
};

std::string records(const std::vector<std::string_view>& ls) { return lines(ls); }

}  // namespace

TEST_F(Notes, TheWorkedExampleOfARemarkFileStepByStep) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    command("Readme", "addnotes", [](notes& d) {
        EXPECT_EQ(d.caption(), "添加备注");
        EXPECT_EQ(d.Label1.caption(), "Readme.TXT");
        EXPECT_EQ(d.Text1.text(), "");
        d.Text1.userType("Install notes");
        d.OKButton.userClick();
    });
    EXPECT_EQ(cell("Readme", 3), "Install notes");
    EXPECT_EQ(h.readBytes(ToolsNotes),
              "@##note##@[003]Tools\\E:\\docs\\Readme.txt==Install notes\r\n");

    clickDiscList({"[003]Tools\\E:"});
    command("docs", "addnotes", [](notes& d) {
        EXPECT_EQ(d.Label1.caption(), "docs.文件夹");
        d.Text1.userType("Manuals");
        d.OKButton.userClick();
    });
    // Code page 936 on disk: 文件夹 is CE C4 BC FE BC D0.
    EXPECT_EQ(h.readBytes(ToolsNotes),
              "@##note##@[003]Tools\\E:\\docs\\Readme.txt==Install notes\r\n"
              "@##note##@[003]Tools\\E:\\docs.\xCE\xC4\xBC\xFE\xBC\xD0==Manuals\r\n");

    clickDiscList({"[003]Tools\\E:\\docs"});
    command("Readme", "addnotes", [](notes& d) {
        EXPECT_EQ(d.Text1.text(), "Install notes");
        d.Text1.userType("See also\r\nsetup.txt");
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.read(ToolsNotes),
              records({"@##note##@[003]Tools\\E:\\docs\\Readme.txt==See also", "setup.txt",
                       "@##note##@[003]Tools\\E:\\docs.文件夹==Manuals"}));

    // 删除 empties the box; OK then removes the record.
    clickDiscList({"[003]Tools\\E:"});
    command("docs", "addnotes", [](notes& d) {
        EXPECT_EQ(d.Text1.text(), "Manuals");
        d.Command1.userClick();
        EXPECT_EQ(d.Text1.text(), "");
        EXPECT_TRUE(d.loaded());
        d.OKButton.userClick();
    });
    EXPECT_EQ(cell("docs", 3), "");
    EXPECT_EQ(h.read(ToolsNotes),
              records({"@##note##@[003]Tools\\E:\\docs\\Readme.txt==See also", "setup.txt"}));

    clickDiscList({"[003]Tools\\E:\\docs"});
    EXPECT_EQ(cell("Readme", 3), "See also\r\nsetup.txt");
    remark("Readme", "");
    EXPECT_EQ(h.readBytes(ToolsNotes), "\r\n");
    EXPECT_EQ(cell("Readme", 3), "");
    // A later remark comes after the empty line.
    remark("README", "x");
    EXPECT_EQ(h.read(ToolsNotes), "\r\n@##note##@[003]Tools\\E:\\docs\\README.No扩展名==x\r\n");
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(Notes, UsageNotesGoToTheUsageFileAndItsColumn) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    command("README", "addexample", [this](notes& d) {
        EXPECT_TRUE(f().IsExample);
        EXPECT_EQ(d.caption(), "添加使用情况");
        EXPECT_EQ(d.Label1.caption(), "README.No扩展名");
        d.Text1.userType("借给老王");
        d.OKButton.userClick();
    });
    EXPECT_EQ(cell("README", 4), "借给老王");
    EXPECT_EQ(cell("README", 3), "");
    EXPECT_EQ(h.read(ToolsUsage), "@##exam##@[003]Tools\\E:\\docs\\README.No扩展名==借给老王\r\n");
    EXPECT_FALSE(h.exists(ToolsNotes));

    // The remark of the same file is its own; the dialog starts from each cell.
    remark("README", "备注一");
    command("README", "addexample", [](notes& d) {
        EXPECT_EQ(d.Text1.text(), "借给老王");
        d.Text1.userType("已还");
        d.OKButton.userClick();
    });
    command("README", "addnotes", [](notes& d) {
        EXPECT_EQ(d.Text1.text(), "备注一");
        d.CancelButton.userClick();
    });
    EXPECT_EQ(h.read(ToolsUsage), "@##exam##@[003]Tools\\E:\\docs\\README.No扩展名==已还\r\n");
    EXPECT_EQ(h.read(ToolsNotes), "@##note##@[003]Tools\\E:\\docs\\README.No扩展名==备注一\r\n");

    // Listed again, both columns read back from the files.
    clickDiscList({"[003]Tools\\E:", "[003]Tools\\E:\\docs"});
    EXPECT_EQ(cell("README", 3), "备注一");
    EXPECT_EQ(cell("README", 4), "已还");
}

TEST_F(Notes, AHardDiskFoldersFilesAndFoldersHaveTheirKeys) {
    clickDiscList({Pop, "pop_hard\\pop"});
    remark("kpop", "韩国");
    remark("top", "最好");
    EXPECT_EQ(h.read(PopNotes), records({"@##note##@pop_hard\\pop\\kpop.文件夹==韩国",
                                         "@##note##@pop_hard\\pop\\top.mp3==最好"}));
}

TEST_F(Notes, NamesThatBeginOthersEditTheirOwnRecords) {
    std::vector<std::string_view> index = ToolsIndex;
    // Beside the folder's other files.
    index.insert(index.begin() + 14, {"E:\\docs\\page.html[2]", "E:\\docs\\page.htm[1]"});
    h.write(indexPath(Tools), lines(index));
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    // The rows' type column tells them apart.
    platform::ListItem* html = nullptr;
    platform::ListItem* htm = nullptr;
    for (const auto& r : f().ListView1.items())
        if (r->text() == "page") (r->subItem(1) == "html" ? html : htm) = r.get();
    ASSERT_TRUE(html && htm);
    const auto remarkOf = [this](platform::ListItem* r, std::string text) {
        f().ListView1.setSelectedItem(r);
        h.ui.onModal<notes>([text](notes& d) {
            d.Text1.userType(text);
            d.OKButton.userClick();
        });
        f().addnotes_Click();
    };
    remarkOf(html, "网页");
    remarkOf(htm, "短");
    remarkOf(htm, "短的");
    EXPECT_EQ(h.read(ToolsNotes), records({"@##note##@[003]Tools\\E:\\docs\\page.html==网页",
                                           "@##note##@[003]Tools\\E:\\docs\\page.htm==短的"}));
    remarkOf(htm, "");
    EXPECT_EQ(h.read(ToolsNotes), records({"@##note##@[003]Tools\\E:\\docs\\page.html==网页"}));
    clickDiscList({"[003]Tools\\E:", "[003]Tools\\E:\\docs"});
    for (const auto& r : f().ListView1.items())
        if (r->text() == "page") {
            EXPECT_EQ(r->subItem(3), r->subItem(1) == "html" ? "网页" : "");
        }
}

TEST_F(Notes, ATextHoldingARecordMarkerIsRefusedAndTheDialogStaysOpen) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    remark("a", "kept");
    const std::string before = h.readBytes(ToolsNotes);
    for (const char* text : {"x@##note##@[003]Tools\\E:\\docs\\a.txt==y", "@##exam##@"}) {
        h.ui.answerMsgBox(platform::MsgOK, "备注中不能含有“@##note##@”或“@##exam##@”。");
        command("a", "addnotes", [text](notes& d) {
            d.Text1.userType(text);
            d.OKButton.userClick();
            EXPECT_TRUE(d.loaded());
            EXPECT_EQ(d.Text1.text(), text);
            d.CancelButton.userClick();
        });
        EXPECT_EQ(h.ui.log().back().title, "提示");
        EXPECT_EQ(cell("a", 3), "kept");
        EXPECT_EQ(h.readBytes(ToolsNotes), before);
    }
    // The marker alone with its hashes broken is an ordinary text.
    remark("a", "@##note#@");
    EXPECT_EQ(cell("a", 3), "@##note#@");
}

TEST_F(Notes, CancelEscTheCloseBoxAndATypedCancelMarkerChangeNothing) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    remark("a", "old");
    const std::string before = h.readBytes(ToolsNotes);
    const std::vector<std::pair<const char*, std::function<void(notes&)>>> ways = {
        {"cancel",
         [](notes& d) {
             d.Text1.userType("");
             d.CancelButton.userClick();
         }},
        {"Esc",
         [](notes& d) {
             d.Text1.userType("");
             EXPECT_TRUE(d.userPressEscape());
         }},
        {"close box",
         [](notes& d) {
             d.Text1.userType("");
             d.userClose();
         }},
        {"typed marker",
         [](notes& d) {
             d.Text1.userType("($$$$$$)");
             d.OKButton.userClick();
         }},
    };
    for (const auto& [name, script] : ways) {
        SCOPED_TRACE(name);
        command("a", "addnotes", script);
        EXPECT_EQ(cell("a", 3), "old");
        EXPECT_EQ(h.readBytes(ToolsNotes), before);
        // Nothing written for a file without a record either.
        command("README", "addexample", script);
        EXPECT_EQ(cell("README", 4), "");
        EXPECT_FALSE(h.exists(ToolsUsage));
    }
}

TEST_F(Notes, BlanksAreStoredAndOnlyAnEmptyTextRemoves) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    remark("a", "   ");
    EXPECT_EQ(cell("a", 3), "   ");
    EXPECT_EQ(h.read(ToolsNotes), "@##note##@[003]Tools\\E:\\docs\\a.txt==   \r\n");
    // An empty text for a key without a record creates no file.
    remark("README", "", "addexample");
    EXPECT_FALSE(h.exists(ToolsUsage));
}

TEST_F(Notes, AMultiLineTextGoesOutWithCrLfAndComesBackAsLines) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    // Line breaks typed as the front end hands them, and bare LF and CR.
    remark("a", "一\r\n二\n三\r");
    EXPECT_EQ(cell("a", 3), "一\r\n二\r\n三\r\n");
    remark("Readme", "last\r\nlines");
    EXPECT_EQ(h.read(ToolsNotes),
              records({"@##note##@[003]Tools\\E:\\docs\\a.txt==一", "二", "三", "",
                       "@##note##@[003]Tools\\E:\\docs\\Readme.txt==last", "lines"}));
    clickDiscList({"[003]Tools\\E:", "[003]Tools\\E:\\docs"});
    EXPECT_EQ(cell("a", 3), "一\r\n二\r\n三\r\n");
    EXPECT_EQ(cell("Readme", 3), "last\r\nlines");
    command("Readme", "addnotes", [](notes& d) {
        EXPECT_TRUE(d.Text1.multiLine());
        EXPECT_EQ(d.Text1.text(), "last\r\nlines");
        d.OKButton.userClick();
    });
    EXPECT_EQ(cell("Readme", 3), "last\r\nlines");
}

TEST_F(Notes, ANoteFileThatCannotBeWrittenIsToldAndTheCellKeepsItsText) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    for (testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        SCOPED_TRACE(testsupport::kindName(kind));
        std::filesystem::remove_all(h.nativePath(ToolsNotes));
        testsupport::UnreadableFile bad(h.nativePath(ToolsNotes), kind);
        h.ui.answerMsgBox(platform::MsgOK);
        remark("a", "new");
        ASSERT_FALSE(h.ui.messages().empty());
        EXPECT_EQ(h.ui.messages().back(),
                  "不能保存文件: C:\\zelbrin\\guangpan\\[003]Tools.note" + bad.reason());
        EXPECT_EQ(h.ui.log().back().title, "提示");
        EXPECT_EQ(cell("a", 3), "");
        EXPECT_TRUE(bad.unchanged());
    }
    std::filesystem::remove_all(h.nativePath(ToolsNotes));

    // A read-only file: neither appended to nor rewritten.
    remark("a", "old");
    const std::string before = h.readBytes(ToolsNotes);
    std::filesystem::permissions(h.nativePath(ToolsNotes), std::filesystem::perms::owner_read);
    for (const char* rowText : {"a", "Readme"}) {
        h.ui.answerMsgBox(platform::MsgOK);
        remark(rowText, "changed");
        EXPECT_EQ(
            h.ui.messages().back().rfind("不能保存文件: C:\\zelbrin\\guangpan\\[003]Tools.note", 0),
            0u);
        EXPECT_EQ(cell(rowText, 3), rowText == std::string("a") ? "old" : "");
    }
    EXPECT_EQ(h.readBytes(ToolsNotes), before);
}

// A note file whose write fails at any step before its rename (a full disk,
// a device error): whether the remark or usage note is the file's first,
// appended, replaced or removed, the file keeps its old bytes (a missing one
// stays missing), the cell its text, no temporary file is left, and the user
// is told the file and the reason once.
TEST_F(Notes, AFailedWriteKeepsTheOldBytesAndTheCellAndIsTold) {
    struct Edit {
        const char* name;
        std::string file;
        std::string before;  // the file's text; "" none
        const char* item;
        const char* row;
        std::string text;
        int column;
        std::string shown;  // the cell's text before and after
    };
    const std::string notes = records({"@##note##@[003]Tools\\E:\\docs\\Readme.txt==old"});
    const std::string usage = records({"@##exam##@[003]Tools\\E:\\docs\\Readme.txt==old"});
    const Edit edits[] = {
        {"first", ToolsNotes, "", "addnotes", "a", "new", 3, ""},
        {"appended", ToolsNotes, notes, "addnotes", "a", "new", 3, ""},
        {"replaced", ToolsNotes, notes, "addnotes", "Readme", "new\r\nlines", 3, "old"},
        {"removed", ToolsNotes, notes, "addnotes", "Readme", "", 3, "old"},
        {"usage appended", ToolsUsage, usage, "addexample", "a", "new", 4, ""},
        {"usage removed", ToolsUsage, usage, "addexample", "Readme", "", 4, "old"},
    };
    for (const Edit& edit : edits) {
        for (const testsupport::StepFailure& failure : testsupport::commitFailures()) {
            SCOPED_TRACE(std::string(edit.name) + ": " + failure.name());
            for (const std::string& file : {ToolsNotes, ToolsUsage})
                std::filesystem::remove(h.nativePath(file));
            if (!edit.before.empty()) h.write(edit.file, edit.before);
            const std::string bytes = edit.before.empty() ? "" : h.readBytes(edit.file);
            clickDiscList({Tools, "[003]Tools\\E:\\docs"});
            ASSERT_EQ(cell(edit.row, edit.column), edit.shown);
            h.ui.clearLog();
            const std::string told =
                "不能保存文件: " + edit.file + platform::errorText(failure.number);
            {
                const testsupport::FailingStep failing(failure);
                h.ui.answerMsgBox(platform::MsgOK, told);
                remark(edit.row, edit.text, edit.item);
            }
            EXPECT_EQ(h.ui.messages(), std::vector<std::string>{told});
            EXPECT_EQ(h.ui.log().back().title, "提示");
            if (edit.before.empty())
                EXPECT_FALSE(h.exists(edit.file));
            else
                EXPECT_EQ(h.readBytes(edit.file), bytes);
            EXPECT_EQ(cell(edit.row, edit.column), edit.shown);
            EXPECT_EQ(testsupport::tempFilesIn(h.nativePath("C:\\zelbrin\\guangpan")),
                      std::vector<std::string>{});
        }
    }
}

TEST_F(Notes, AResultRowEditsItsOwnDiscsFileAndTheLastRemovalDeletesIt) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.write(PopNotes, lines({"@##note##@pop_hard\\pop\\live\\a.mp3==live one"}));
    platform::ListItem& r = resultRow("pop_hard", "pop\\live\\a.mp3($)", "live one");
    h.ui.onModal<notes>([](notes& d) {
        EXPECT_EQ(d.caption(), "添加备注");
        EXPECT_EQ(d.Label1.caption(), "a.mp3($)");
        EXPECT_EQ(d.Text1.text(), "live one");
        // The name is no link here: a click opens nothing.
        d.Label1.userClick();
        d.Text1.userType("现场");
        d.OKButton.userClick();
    });
    f().addnotes111_Click();
    EXPECT_TRUE(f().Is_addnotes111);
    EXPECT_EQ(r.subItem(2), "现场");
    EXPECT_EQ(h.read(PopNotes), "@##note##@pop_hard\\pop\\live\\a.mp3==现场\r\n");
    EXPECT_FALSE(h.exists(ToolsNotes));
    EXPECT_TRUE(h.shell.calls().empty());
    expectAtRest();

    // Removed: the disc keeps no note file.
    h.ui.onModal<notes>([](notes& d) {
        d.Command1.userClick();
        d.OKButton.userClick();
    });
    f().addnotes111_Click();
    EXPECT_EQ(r.subItem(2), "");
    EXPECT_FALSE(h.exists(PopNotes));
    expectAtRest();

    // The file-list commands leave an empty line instead.
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    remark("a", "x");
    remark("a", "");
    EXPECT_EQ(h.readBytes(PopNotes), "\r\n");
    EXPECT_FALSE(f().Is_addnotes111);
}

TEST_F(Notes, AResultRowRemovalKeepsTheOtherRecords) {
    h.write(PopNotes, lines({"@##note##@pop_hard\\pop\\top.mp3==顶",
                             "@##note##@pop_hard\\pop\\live\\b.mp3==b"}));
    resultRow("pop_hard", "pop\\top.mp3($)($)", "顶");
    h.ui.onModal<notes>([](notes& d) {
        d.Text1.userType("");
        d.OKButton.userClick();
    });
    f().addnotes111_Click();
    EXPECT_EQ(h.read(PopNotes), "@##note##@pop_hard\\pop\\live\\b.mp3==b\r\n");
}

TEST_F(Notes, NothingSelectedOrNothingToEditShowsNoDialog) {
    // No script is queued: a dialog shown would fail the test.
    f().addnotes_Click();
    f().addexample_Click();
    f().addnotes111_Click();
    // A disc's information rows.
    clickDiscList({Tools});
    f().ListView1.setSelectedItem(&f().ListView1.item(2));
    f().addnotes_Click();
    // A row without a selected folder node.
    clickDiscList({"[003]Tools\\E:\\docs"});
    f().ListView1.setSelectedItem(&row(f(), "a"));
    f().TreeView1.setSelectedItem(nullptr);
    f().addexample_Click();
    // A result list without a selected row, and a row of a search of usage notes.
    resultRow("pop_hard", "pop\\top.mp3", "x");
    f().ListView2.setSelectedItem(nullptr);
    f().addnotes111_Click();
    resultRow("pop_hard", "pop\\top.mp3", "x", "使用情况");
    f().addnotes111_Click();
    EXPECT_TRUE(h.ui.log().empty());
    EXPECT_FALSE(h.exists(ToolsNotes));
    EXPECT_FALSE(h.exists(PopNotes));
    expectAtRest();
}

TEST_F(Notes, TheDialogsDesignAndItsLink) {
    h.write("E:\\docs\\a.txt", "a");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    command("a", "addnotes", [this](notes& d) {
        EXPECT_EQ(d.name(), "notes");
        EXPECT_EQ(d.scaleWidth(), 6240);
        EXPECT_EQ(d.scaleHeight(), 3120);
        EXPECT_TRUE(d.fixedBorder());
        EXPECT_EQ(d.focusedControl(), &d.Text1);
        std::vector<std::string> focusable;
        for (platform::Control* c : d.controls())
            if (c != &d.Label1) focusable.push_back(c->name());
        EXPECT_EQ(focusable,
                  (std::vector<std::string>{"OKButton", "CancelButton", "Text1", "Command1"}));
        EXPECT_EQ(d.OKButton.caption(), "确定");
        EXPECT_EQ(d.CancelButton.caption(), "取消");
        EXPECT_EQ(d.Command1.caption(), "删除");
        EXPECT_EQ(d.defaultButton(), nullptr);
        EXPECT_EQ(d.cancelButton(), &d.CancelButton);  // Esc is 取消
        EXPECT_EQ(d.Command1.left(), 5280);
        EXPECT_EQ(d.Label1.top(), 2760);

        // The label: blue at rest, red and underlined under the mouse, blue
        // again over the free area.
        EXPECT_EQ(d.Label1.foreColor(), notes::LinkColor);
        EXPECT_FALSE(d.Label1.fontUnderline());
        d.Label1.userMouseMove(0, 0, 30, 30);
        EXPECT_EQ(d.Label1.foreColor(), notes::HoverColor);
        EXPECT_TRUE(d.Label1.fontUnderline());
        d.userMouseMove(0, 0, 60, 3000);
        EXPECT_EQ(d.Label1.foreColor(), notes::LinkColor);
        EXPECT_FALSE(d.Label1.fontUnderline());
        // A click opens the file from the disc and keeps the dialog open.
        d.Label1.userClick();
        ASSERT_EQ(h.shell.calls().size(), 1u);
        EXPECT_EQ(h.shell.calls()[0].target, "E:\\docs\\a.txt");
        EXPECT_TRUE(d.loaded());
        EXPECT_EQ(f().fileNotes, "");
        d.CancelButton.userClick();
    });
    EXPECT_EQ(notes::LinkColor, 0xFF0000u);   // RGB(0, 0, 255)
    EXPECT_EQ(notes::HoverColor, 0x0000FFu);  // RGB(255, 0, 0)
}

namespace {

// The disc's remark or usage-note file made a link: to a file outside
// guangpan, to a folder outside, to a missing file outside, or to another
// file inside guangpan. The notes dialog (from the file list and from a row
// of a search of remarks) never writes outside: the file outside keeps its
// bytes and mode, nothing is made there, the link stays, the cell keeps its
// text and the user is told with the path. Through a link inside guangpan
// the note is still stored.
TEST_F(Notes, TheNotesDialogNeverWritesThroughALinkOutOfGuangpan) {
    namespace fs = std::filesystem;
    const std::string outside = h.nativePath("C:\\outside");
    const std::string guangpan = h.nativePath("C:\\zelbrin\\guangpan");
    const std::string kept = lines({"@##note##@[003]Tools\\docs\\b.txt==kept"});
    struct Case {
        const char* name;
        std::string target;  // the link's target
        bool exact;          // told exactly the refusal, else a message naming the file
        bool stored;
    };
    const Case cases[] = {
        {"file outside", outside + "/notes", true, false},
        {"folder outside", outside + "/folder", false, false},
        {"missing file outside", outside + "/none", true, false},
        {"file inside guangpan", "kept.note", true, true},
    };
    struct Command {
        const char* name;
        std::string file;
        int cell;
        std::function<std::string()> run;  // the cell's text afterwards
    };
    const Command commands[] = {
        {"addnotes", ToolsNotes, 3,
         [&] {
             remark("a", "new");
             return cell("a", 3);
         }},
        {"addexample", ToolsUsage, 4,
         [&] {
             remark("a", "new", "addexample");
             return cell("a", 4);
         }},
        {"addnotes111", ToolsNotes, 2,
         [&] {
             platform::ListItem& r = resultRow("[003]Tools", "docs\\a.txt($)", "");
             h.ui.onModal<notes>([](notes& d) {
                 d.Text1.userType("new");
                 d.OKButton.userClick();
             });
             f().addnotes111_Click();
             expectAtRest();
             return r.subItem(2);
         }},
    };
    for (const Command& command : commands) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command.name) + ": " + c.name);
            clickDiscList({Tools, "[003]Tools\\E:\\docs"});
            fs::remove_all(outside);
            h.write("C:\\outside\\notes", kept);
            fs::permissions(outside + "/notes", fs::perms::owner_read);
            h.makeFolder("C:\\outside\\folder");
            h.write("C:\\zelbrin\\guangpan\\kept.note", kept);
            const std::string link = h.nativePath(command.file);
            fs::create_symlink(c.target, link);
            const auto before = testsupport::outsideSnapshot(outside);
            h.ui.clearLog();
            if (!c.stored) h.ui.answerMsgBox(platform::MsgOK);
            const std::string shownAfter = command.run();
            EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
            EXPECT_TRUE(fs::is_symlink(link));
            const std::vector<std::string> shown = h.ui.messages();
            if (c.stored) {
                EXPECT_TRUE(shown.empty());
                EXPECT_EQ(shownAfter, "new");
                EXPECT_NE(h.read("C:\\zelbrin\\guangpan\\kept.note"), kept);
            } else {
                EXPECT_EQ(shownAfter, "");
                ASSERT_EQ(shown.size(), 1u);
                const std::string saving = "不能保存文件: " + command.file;
                if (c.exact)
                    EXPECT_EQ(shown[0], saving + "路径不在允许的文件夹里：" + command.file);
                else
                    EXPECT_EQ(shown[0].rfind(saving, 0), 0u) << shown[0];
            }
            h.ui.verifyAllUsed();
            fs::remove(link);
            fs::remove(guangpan + "/kept.note");
        }
    }
}

}  // namespace
