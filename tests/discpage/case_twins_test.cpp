// The disc page on names that differ only in letter case: a row's own file
// is opened, the notes dialog names it, and the folders Docs and docs are
// listed and counted apart.
#include "discpage/case_twins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "discpage/folder_runs.h"
#include "discpage/index_edits.h"
#include "discpage/index_fixture.h"
#include "discpage/note_file.h"
#include "discpage/notes_dialog.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/ui/ui.h"

using namespace case_twins;
using Strings = std::vector<std::string>;

namespace {

class DiscPageTwins : public CaseTwins {
  protected:
    // Selects the node of the disc list and chooses a command of its pop-up.
    void onNode(std::string_view path, std::string item) {
        f().TreeView1.setSelectedItem(&disc_page_test::node(f().TreeView1, path));
        h.ui.choosePopup(std::move(item));
        f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
    }
    std::string panel() { return f().StatusBar1.panel(1).text(); }
};

// Dropping a.TXT with its line while a.txt stays beside it, the index
// failing to be written: the work waits, and the next start drops the line
// of a.TXT (its file is gone, whatever its twin) and keeps a.txt's.
TEST_F(DiscPageTwins, ADroppedFileWhoseTwinStaysLosesItsLineAtTheNextStart) {
    using platform::files::CommitStep;
    clickDiscList({Twins, "twins_hard\\twins"});
    f().ListView1.setSelectedItem(&rowOfKey(f(), "a.TXT[5]"));
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除 C:\\twins\\a.TXT 文件吗？");
    h.ui.answerMsgBox(platform::MsgOK);
    {
        bool removed = false, failed = false;
        const platform::files::ScopedCommitHook hook([&](CommitStep kind, const std::string& path) {
            if (kind == CommitStep::Remove && path.ends_with("/twins/a.TXT")) removed = true;
            if (removed && !failed && path.find("/guangpan/") != std::string::npos) {
                failed = true;
                platform::raise(platform::err::DiskFull);
            }
        });
        f().DeleteFromMulu_Click();
        EXPECT_TRUE(failed);
    }
    h.ui.verifyAllUsed();
    EXPECT_TRUE(h.ui.messages().back().starts_with("不能保存文件: ")) << h.ui.messages().back();
    EXPECT_FALSE(std::filesystem::exists(h.nativePath("C:\\twins") + "/a.TXT"));
    EXPECT_TRUE(std::filesystem::exists(h.nativePath("C:\\twins") + "/a.txt"));

    testsupport::Harness next(h, testsupport::Harness::NextStart);
    next.ui.answerMsgBox(platform::MsgOK);
    next.start();
    next.ui.verifyAllUsed();
    std::vector<std::string_view> expected = TwinsIndex;
    expected.erase(expected.begin());
    EXPECT_EQ(next.read(indexPath(Twins)), lines(expected));
    EXPECT_FALSE(next.exists("C:\\zelbrin\\guangpan\\pending.ini"));
}

TEST_F(DiscPageTwins, EachRowOpensItsOwnFile) {
    clickDiscList({Twins, "twins_hard\\twins"});
    for (const auto& [key, path] : std::vector<std::pair<std::string, std::string>>{
             {"a.TXT[5]", "C:\\twins\\a.TXT"},
             {"a.txt[6]", "C:\\twins\\a.txt"},
             {"p.HTM[9]", "C:\\twins\\p.HTM"},
             {"README.TXT[4]", "C:\\twins\\README.TXT"},
         }) {
        SCOPED_TRACE(key);
        onRow(key, "OpenOpticDisk");
        ASSERT_FALSE(h.shell.calls().empty());
        EXPECT_EQ(h.shell.calls().back().target, path);
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(DiscPageTwins, TheNotesDialogNamesTheRowsOwnFile) {
    clickDiscList({Twins, "twins_hard\\twins"});
    for (const auto& [key, label] : std::vector<std::pair<std::string, std::string>>{
             {"a.TXT[5]", "a.TXT"}, {"a.txt[6]", "a.txt"}, {"README.TXT[4]", "README.TXT"}}) {
        SCOPED_TRACE(key);
        f().ListView1.setSelectedItem(&rowOfKey(f(), key));
        std::string shown;
        h.ui.onModal<notes>([&shown](notes& d) {
            shown = d.Label1.caption();
            d.CancelButton.userClick();
        });
        h.ui.choosePopup("addnotes");
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100);
        EXPECT_EQ(shown, label);
    }
}

TEST_F(DiscPageTwins, FoldersThatDifferInCaseAreListedAndCountedApart) {
    struct Case {
        std::string folder;
        Strings rows;
        std::string count;
    };
    for (const Case& c : std::vector<Case>{
             {"[005]Folders\\E:\\Docs", {"a.txt", "b.txt"}, "2个文件，共1K"},
             {"[005]Folders\\E:\\docs", {"c.txt"}, "1个文件，共1K"},
         }) {
        SCOPED_TRACE(c.folder);
        // Clicked again after the other, so the recorded runs serve it.
        clickDiscList({Folders, c.folder});
        Strings rows = rowTexts(f());
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, c.rows);
        onNode(c.folder, "property1");
        EXPECT_EQ(panel(), c.count);
    }
    // 文件夹属性 on the folder rows of the disc's root.
    clickDiscList({"[005]Folders\\E:"});
    onRow("Docs", "property3");
    EXPECT_EQ(panel(), "2个文件，共1K");
    onRow("docs", "property3");
    EXPECT_EQ(panel(), "1个文件，共1K");
}

// The same through the category tree and its 属性.
TEST_F(DiscPageTwins, TheCategoryTreeListsAndCountsTheFoldersApart) {
    f().TabStrip1.userSelect(disc_page_test::CategoryTab);
    f().TreeView2.userClickNode(disc_page_test::node(f().TreeView2, "盘\\[005]Folders"));
    for (const auto& [folder, rows, count] :
         std::vector<std::tuple<std::string, Strings, std::string>>{
             {"盘\\[005]Folders\\E:\\Docs", {"a.txt", "b.txt"}, "2个文件，共1K"},
             {"盘\\[005]Folders\\E:\\docs", {"c.txt"}, "1个文件，共1K"},
         }) {
        SCOPED_TRACE(folder);
        platform::Node& node = disc_page_test::node(f().TreeView2, folder);
        f().TreeView2.userClickNode(node);
        Strings listed = rowTexts(f());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, rows);
        h.ui.choosePopup("property");
        f().TreeView2.userMouseDown(platform::RightButton, 0, 100, 100);
        EXPECT_EQ(panel(), count);
    }
}

TEST_F(DiscPageTwins, TheTickedFilesOfAFolderAreItsOwn) {
    h.write(indexPath(Folders),
            lines({"E:\\|Docs", "E:\\|docs", "E:\\Docs\\a.txt[1]($)", "E:\\Docs\\b.txt[2]",
                   "E:\\docs\\c.txt[4]($)", "E:\\docs\\d.txt[4]($)"}));
    clickDiscList({Folders, "[005]Folders\\E:"});
    onNode("[005]Folders\\E:\\Docs", "property2");
    EXPECT_EQ(panel(), "1个文件，共1K");
    onNode("[005]Folders\\E:\\docs", "property2");
    EXPECT_EQ(panel(), "2个文件，共1K");
}

// A folder line spelt exactly so makes the folder the one meant, even
// without a line below it: an empty Docs beside docs, DOCS beside the files
// of Docs, list and count nothing.
TEST_F(DiscPageTwins, AFolderNamedExactlyNeverTakesTheLinesOfItsTwin) {
    for (const std::vector<std::string_view>& index : std::vector<std::vector<std::string_view>>{
             {"E:\\|Docs", "E:\\|docs", "E:\\docs\\c.txt[4]"},
             {"E:\\|Docs", "E:\\Docs\\c.txt[4]", "E:\\|DOCS"},
         }) {
        SCOPED_TRACE(index.back());
        h.write(indexPath(Folders), lines(index));
        f().TreeView1.userClickNode(disc_page_test::node(f().TreeView1, Lower));
        const std::string folder =
            index.back() == "E:\\|DOCS" ? "[005]Folders\\E:\\DOCS" : "[005]Folders\\E:\\Docs";
        clickDiscList({Folders, folder});
        EXPECT_EQ(rowTexts(f()), Strings{});
        onNode(folder, "property1");
        EXPECT_EQ(panel(), "0个文件，共1K");
    }
}

// Lines that spell a folder only in another letter case, where no line
// names it exactly, are its lines when they spell it one way.
class FolderSpeltOtherwise : public discpage_test::IndexFixture {};

TEST_F(FolderSpeltOtherwise, TheOnlyOtherSpellingIsTaken) {
    struct Case {
        std::vector<std::string> index;
        Strings rows;
        std::int64_t files;
    };
    for (const Case& c : std::vector<Case>{
             {{"E:\\Docs\\a.txt[1]", "E:\\Docs\\b.txt[2]", "E:\\x.txt[1]"}, {"a.txt", "b.txt"}, 2},
             {{"E:\\|Docs", "E:\\Docs\\a.txt[1]", "E:\\docs\\b.txt[2]"}, {}, 0},
             {{"E:\\|dOCS", "E:\\x.txt[1]"}, {}, 0},
         }) {
        SCOPED_TRACE(c.index.front());
        const std::string path = writeIndex(c.index);
        const discpage::ListingScope scope{.folderPath = "E:\\DOCS"};
        platform::files::RawLineReader lines(path);
        Strings rows;
        for (const discpage::ListedEntry& e : discpage::listFolder(lines, scope))
            rows.push_back(e.text + "." + e.type);
        EXPECT_EQ(rows, c.rows);
        // The same through the record of the folders' runs.
        lines.seek(0);
        const discpage::FolderRuns runs = discpage::recordFolderRuns(lines, path);
        const auto run = discpage::listFolderRun(lines, runs, scope);
        ASSERT_TRUE(run);
        EXPECT_EQ(run->size(), c.rows.size());
        lines.seek(0);
        EXPECT_EQ(discpage::countFiles(lines, "E:\\DOCS", false, false).files, c.files);
    }
}

TEST(NoteRecordsOfTwinDiscs, ARecordOfDiscWNeverCountsForDiscWx) {
    const std::string text =
        "@##note##@W\\E:\\a.txt==of W\r\n@##note##@Wx\\E:\\a.txt==of Wx\r\n"
        "@##note##@W\\E:\\b.txt==of W too\r\n";
    // A record of W ends where one of Wx begins; Wx's records are not W's.
    EXPECT_EQ(discpage::readNote(text, discpage::NoteMarker, "W", "W\\E:\\a.txt"), "of W");
    EXPECT_EQ(discpage::readNote(text, discpage::NoteMarker, "W", "Wx\\E:\\a.txt"), std::nullopt);
    std::vector<std::string> keys;
    for (const discpage::NoteRecordSpan& r : discpage::noteRecords(text, discpage::NoteMarker, "W"))
        keys.push_back(text.substr(r.keyBegin, r.keyEnd - r.keyBegin));
    EXPECT_EQ(keys, (std::vector<std::string>{"W\\E:\\a.txt", "W\\E:\\b.txt"}));
    const discpage::NoteLookup lookup(text, discpage::NoteMarker, "W");
    EXPECT_EQ(lookup.find("W\\E:\\b.txt"), "of W too");
    EXPECT_EQ(lookup.find("Wx\\E:\\a.txt"), "");
    // Storing a record of W never touches Wx's.
    const discpage::NoteChange change =
        discpage::planStoreNote(text, discpage::NoteMarker, "W", "W\\E:\\a.txt", "new");
    EXPECT_EQ(discpage::noteTextAfter(text, change),
              "@##note##@W\\E:\\a.txt==new\r\n@##note##@Wx\\E:\\a.txt==of Wx\r\n"
              "@##note##@W\\E:\\b.txt==of W too\r\n");
}

}  // namespace
