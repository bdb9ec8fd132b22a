// 查看或修改备注 on the rows of the result list, driven as a user does: a
// search of remarks lists the records, a row is ticked or not, and the
// remark edited from it replaces its own record in place, whatever the
// file's name holds ("($)", "[", "{", "@", Chinese, a twin in another letter
// case). Rows that name no file or folder (the lines the tick-all commands of
// the disc page list under the headers of a search of remarks) edit nothing.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "discpage/notes_dialog.h"
#include "search/find_dialog.h"
#include "search/result_rows.h"
#include "support/harness.h"

namespace {

using Strings = std::vector<std::string>;

constexpr std::string_view CatalogueFile = "C:\\zelbrin\\ini.ini";
constexpr std::string_view Catalogue = "|文档\r\n#W#1#网页&&2001-1-1#\r\n";
constexpr std::string_view WIndex = "C:\\zelbrin\\guangpan\\W.wcd";
constexpr std::string_view WNotes = "C:\\zelbrin\\guangpan\\W.note";
constexpr std::string_view IndexWait = "如果光盘中index文件比较多，将要花费较多时间，请耐心等待。";

// The CD W, scanned from E:.
const std::vector<std::string> IndexLines = {
    "E:\\|web",
    "E:\\|誠品",
    "E:\\|誠品($)",
    "E:\\web\\index.htm[1]",
    "E:\\web\\default.htm[2]",
    "E:\\誠品\\許($).doc[5]",
    "E:\\誠品\\版($)[6]",
    "E:\\誠品\\備份.bak($)[9]",
    "E:\\誠品\\a[1].txt[3]",
    "E:\\誠品\\b{2}.txt[4]",
    "E:\\誠品\\me@home.txt[7]",
    "E:\\誠品\\Case.txt[10]",
    "E:\\誠品\\case.txt[11]",
    "E:\\誠品($)\\y.txt[12]",
};

// The remarks of W: the note keys without the disc's name, each noting "old".
const std::vector<std::string> NoteKeys = {
    "E:\\誠品\\許($).doc", "E:\\誠品\\版($).No扩展名", "E:\\誠品\\備份.bak($)",
    "E:\\誠品\\a[1].txt",  "E:\\誠品\\b{2}.txt",       "E:\\誠品\\me@home.txt",
    "E:\\誠品\\Case.txt",  "E:\\誠品\\case.txt",       "E:\\誠品($).文件夹",
    "E:\\誠品($)\\y.txt",
};

std::string crlfLines(const std::vector<std::string>& ls) {
    std::string out;
    for (const std::string& l : ls) out += l + "\r\n";
    return out;
}

// The note file of these keys and texts, in this order.
std::string noteFile(const std::vector<std::pair<std::string, std::string>>& records) {
    std::string out;
    for (const auto& [key, text] : records) out += "@##note##@W\\" + key + "==" + text + "\r\n";
    return out;
}

class ResultRowNotes : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(CatalogueFile, Catalogue);
        h.write(WIndex, crlfLines(IndexLines));
        for (const std::string& key : NoteKeys) records.emplace_back(key, "old");
        h.write(WNotes, noteFile(records));
        h.start();
        h.form.TabStrip1.userSelect(2);  // the page 光盘
    }

    // A search of remarks for the term, confirmed in the options dialog.
    void searchRemarks(std::string term) {
        h.ui.onModal<find1>([term](find1& d) {
            d.Option3.userClick();
            d.Combo1.userType(term);
            d.OKButton.userClick();
        });
        h.form.findItem.userClick();
    }

    platform::ListView& list() { return h.form.ListView2; }
    // Each row as "disc|path column|note column", and "|x" when ticked.
    Strings rows() {
        Strings out;
        for (const auto& r : list().items())
            out.push_back(r->text() + "|" + r->subItem(1) + "|" + r->subItem(2) +
                          (r->checked() ? "|x" : ""));
        return out;
    }
    platform::ListItem* rowOf(std::string_view path) {
        for (const auto& r : list().items())
            if (r->subItem(1) == path) return r.get();
        ADD_FAILURE() << "no row " << path;
        return nullptr;
    }
    // The right button over a row, and 查看或修改备注 chosen.
    void editRemark(platform::ListItem& r) {
        list().setSelectedItem(&r);
        h.ui.choosePopup("addnotes111");
        list().userMouseDown(platform::RightButton, 0, 300, 200, &r);
    }

    testsupport::Harness h;
    // The records of W.note as they should be now.
    std::vector<std::pair<std::string, std::string>> records;
};

std::string marks(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += "($)";
    return out;
}

}  // namespace

TEST_F(ResultRowNotes, ARemarkEditedFromARowReplacesItsOwnRecordInPlace) {
    struct Case {
        std::string key;    // the row's path column as listed
        int ticks;          // clicks on the row's box before the edit
        std::string line;   // the file's index line the ticks mark ("" none)
        std::string label;  // the dialog's file name
    };
    const Case cases[] = {
        {"E:\\誠品\\許($).doc", 0, "", "許($).doc"},
        {"E:\\誠品\\版($).No扩展名", 1, "E:\\誠品\\版($)[6]", "版($).No扩展名($)"},
        {"E:\\誠品\\備份.bak($)", 2, "E:\\誠品\\備份.bak($)[9]", "備份.bak($)($)($)"},
        {"E:\\誠品\\a[1].txt", 1, "E:\\誠品\\a[1].txt[3]", "a[1].txt($)"},
        {"E:\\誠品\\b{2}.txt", 0, "", "b{2}.txt"},
        {"E:\\誠品\\me@home.txt", 0, "", "me@home.txt"},
        {"E:\\誠品\\case.txt", 0, "", "case.txt"},
        {"E:\\誠品\\Case.txt", 0, "", "Case.txt"},
        {"E:\\誠品($).文件夹", 0, "", "誠品($).文件夹"},
        {"E:\\誠品($)\\y.txt", 1, "E:\\誠品($)\\y.txt[12]", "y.txt($)"},
        // Edited once more, now ticked: still its own record.
        {"E:\\誠品\\許($).doc", 1, "E:\\誠品\\許($).doc[5]", "許($).doc($)"},
    };
    std::vector<std::string> index = IndexLines;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.key);
        const std::string was = [&] {
            for (const auto& [key, text] : records)
                if (key == c.key) return text;
            return std::string();
        }();
        searchRemarks(was);
        platform::ListItem* r = rowOf(c.key);
        ASSERT_NE(r, nullptr);
        const std::uint64_t serial = r->serial();
        for (int t = 0; t < c.ticks; ++t) list().userToggleCheck(*r);
        if (!c.line.empty()) {
            for (std::string& l : index)
                if (l.starts_with(c.line)) l += marks(c.ticks);
        }
        EXPECT_EQ(h.read(WIndex), crlfLines(index));
        EXPECT_EQ(r->subItem(1), c.key + marks(c.ticks));

        const std::string now = "新" + std::to_string(i) + "($)";
        h.ui.onModal<notes>([&](notes& d) {
            EXPECT_EQ(d.Label1.caption(), c.label);
            EXPECT_EQ(d.Text1.text(), was);
            d.Text1.userType(now);
            d.OKButton.userClick();
        });
        editRemark(*r);
        for (auto& [key, text] : records)
            if (key == c.key) text = now;
        // The record keeps its place; no record is added.
        EXPECT_EQ(h.read(WNotes), noteFile(records));
        ASSERT_EQ(list().findSerial(serial), r);
        EXPECT_EQ(r->subItem(1), c.key + marks(c.ticks));
        EXPECT_EQ(r->subItem(2), now);
        EXPECT_EQ(h.form.fileNotes, "");

        // The next search lists what the row shows.
        searchRemarks(now);
        EXPECT_EQ(rows(), Strings{"W|" + c.key + "|" + now});
    }
    EXPECT_EQ(h.read(WIndex), crlfLines(index));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(ResultRowNotes, RemovingARemarkFromARowRemovesItsOwnRecordOnly) {
    const std::vector<std::string> removed = {"E:\\誠品\\許($).doc", "E:\\誠品\\備份.bak($)",
                                              "E:\\誠品\\Case.txt"};
    for (const std::string& key : removed) {
        SCOPED_TRACE(key);
        searchRemarks("old");
        platform::ListItem* r = rowOf(key);
        ASSERT_NE(r, nullptr);
        h.ui.onModal<notes>([](notes& d) {
            d.Command1.userClick();
            d.OKButton.userClick();
        });
        editRemark(*r);
        std::erase_if(records, [&](const auto& n) { return n.first == key; });
        EXPECT_EQ(h.read(WNotes), noteFile(records));
        EXPECT_EQ(r->subItem(2), "");
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(ResultRowNotes, RowsListedByTickingAllPagesUnderRemarkHeadersEditNothing) {
    // A search of remarks sets the headers; the tick-all command of the disc
    // page then lists its marked lines under them, with no path.
    searchRemarks("old");
    ASSERT_EQ(list().column(2).text(), "路径");
    for (std::string_view path : {"W", "W\\E:\\web"}) {
        platform::Node* node = nullptr;
        for (const auto& n : h.form.TreeView1.nodes())
            if (n->fullPath() == path) node = n.get();
        ASSERT_NE(node, nullptr) << path;
        h.form.TreeView1.userClickNode(*node);
    }
    ASSERT_GT(h.form.ListView1.count(), 0);
    h.ui.clearLog();
    h.ui.answerMsgBox(platform::MsgOK, std::string(IndexWait));
    h.ui.choosePopup("selectAllIndex");
    h.form.ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &h.form.ListView1.item(1));
    const Strings listed = {"W||E:\\web\\index.htm[1]($)", "W||E:\\web\\default.htm[2]($)"};
    ASSERT_EQ(rows(), listed);
    const std::string index = h.read(WIndex);
    h.ui.clearLog();

    // No dialog shows (the scripted Ui fails the test on one), nothing is
    // written, no row changes: from the menu and by the command itself.
    for (int i = 1; i <= list().count(); ++i) {
        editRemark(list().item(i));
        list().setSelectedItem(&list().item(i));
        h.form.addnotes111_Click();
    }
    EXPECT_EQ(h.read(WNotes), noteFile(records));
    EXPECT_EQ(h.read(WIndex), index);
    EXPECT_EQ(rows(), listed);
    EXPECT_EQ(h.form.fileNotes, "");
    for (const auto& shown : h.ui.log())
        EXPECT_EQ(shown.kind, testsupport::ShownKind::Popup) << shown.prompt;
}

TEST_F(ResultRowNotes, AFileRowsBoxCountsOnlyTheMarksAfterItsSize) {
    // The lines as stored: marks only after the size, "($)" in names.
    std::vector<std::string> index = IndexLines;
    for (std::string& l : index)
        if (l.starts_with("E:\\誠品\\版($)[") || l.starts_with("E:\\誠品\\Case.txt[")) l += "($)";
    h.write(WIndex, crlfLines(index));
    h.ui.onModal<find1>([](find1& d) {
        d.Option2.userClick();
        d.Combo1.userType("($)");
        d.OKButton.userClick();
    });
    h.form.findItem.userClick();
    Strings listed;
    for (const auto& r : list().items())
        listed.push_back(r->subItem(2) + (r->checked() ? "|x" : ""));
    // The tick query lists the files ticked by their own marks: neither a
    // folder nor a file whose name alone holds "($)".
    EXPECT_EQ(listed, (Strings{"E:\\誠品\\版($)[6]($)|x", "E:\\誠品\\Case.txt[10]($)|x"}));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(ResultRowNotes, ANoteRowsKeyIsItsListedPathLessTheMarksAppendedToIt) {
    searchRemarks("old");
    platform::ListItem* r = rowOf("E:\\誠品\\備份.bak($)");
    ASSERT_NE(r, nullptr);
    const auto key = [&] { return search::resultRowKey(search::ResultLayout::Note, *r); };
    struct Case {
        std::string column;
        std::string key;
    };
    const Case cases[] = {
        {"E:\\誠品\\備份.bak($)", "E:\\誠品\\備份.bak($)"},
        {"E:\\誠品\\備份.bak($)($)($)", "E:\\誠品\\備份.bak($)"},
        // A column that no longer begins with the listed path loses its
        // trailing marks only.
        {"E:\\誠品\\許($).doc($)($)", "E:\\誠品\\許($).doc"},
        {"E:\\誠品\\備份.bak($)x($)", "E:\\誠品\\備份.bak($)x"},
        {"($)", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        r->setSubItem(1, c.column);
        EXPECT_EQ(key(), c.key);
    }
    // A row the search did not list keeps its whole name before the marks.
    platform::ListItem& added = list().add({}, "W", 73);
    added.setSubItem(1, "E:\\誠品\\許($).doc($)");
    EXPECT_EQ(search::resultRowKey(search::ResultLayout::Note, added), "E:\\誠品\\許($).doc");
    // In the file layout the path column is the key as it stands.
    EXPECT_EQ(search::resultRowKey(search::ResultLayout::File, *r), r->subItem(2));
    EXPECT_EQ(search::resultRowKey(search::ResultLayout::Remark, *r), "");
}
