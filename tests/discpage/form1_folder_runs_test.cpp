// Clicking through the folders of an opened disc: each listing reads only the
// folder's own lines, and lists exactly what reading the index from its start
// lists, also once the index has been written again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "disc_page_steps.h"
#include "discpage/file_listing.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

constexpr std::string_view Many = "many";

// A disc as a scan writes it, with case twins, names holding "[", "@",
// blanks and characters whose code page 936 trail byte is "\" or "|"; then
// hand-edited lines: a folder's lines in two runs, a subfolder's file before
// its folder's own lines, a line in another letter case, blanks around a
// line, every kind of line break and a last line without one.
std::string manyFolders() {
    const Strings names = {"docs", "Docs", "2004", "誠遊許 x", "[old]", "me@home"};
    std::string text;
    // path, depth: the folder's lines, then its subfolders' runs.
    struct Walk {
        const Strings& names;
        std::string& out;
        int files = 0;
        void operator()(const std::string& path, int depth) {
            if (depth > 0)
                for (const std::string& n : names) out += path + "|" + n + "\r\n";
            for (int i = 0; i < 3; ++i, ++files)
                out += path + "f" + std::to_string(files) + (i == 1 ? "[1].txt" : ".txt") + "[" +
                       std::to_string(100 * files) + "]" + (files % 7 == 0 ? "($)" : "") +
                       (files % 14 == 0 ? "{C:\\copies\\f.txt}" : "") + "\r\n";
            if (depth > 0)
                for (const std::string& n : names) (*this)(path + n + "\\", depth - 1);
        }
    } walk{names, text};
    walk("E:\\", 2);
    text +=
        "E:\\|split\r\n"
        "E:\\split\\inner\\x.gif[2]\r\n"
        "E:\\split\\|inner\r\n"
        "E:\\split\\b.txt[3]\n"
        "E:\\docs\\late.txt[5]\r"
        "E:\\SPLIT\\d.txt[5]\r\n\r\n"
        "  E:\\split\\e.txt[6]($)  \r\n"
        "E:\\split\\inner\\y.gif[6]";
    return text;
}

// The rows a listing of the index read from its start gives, as
// disc_page_steps' rowText shows them, sorted; and the count it shows.
struct Expected {
    Strings rows;
    std::size_t count = 0;
};

Expected readFromStart(const std::string& index, const discpage::ListingScope& scope) {
    platform::files::RawLineReader lines(index);
    const std::vector<discpage::ListedEntry> entries = discpage::listFolder(lines, scope);
    Expected out;
    out.count = entries.size();
    std::set<std::string> keys;
    for (const discpage::ListedEntry& e : entries) {
        if (!keys.insert(e.key).second) continue;  // a key taken already
        std::string s = e.key + " | " + e.text + " | " + e.type + " | " + (e.folder ? "" : e.size) +
                        " |  |  | " + std::to_string(e.icon);
        if (e.ticked) s += " ✓";
        if (e.mirrored) s += " red";
        out.rows.push_back(s);
    }
    std::sort(out.rows.begin(), out.rows.end());
    return out;
}

Strings sortedRows(const Form1& form) {
    Strings r = rows(form);
    std::sort(r.begin(), r.end());
    return r;
}

// The folder nodes below a node, in tree order.
std::vector<platform::Node*> foldersBelow(platform::Node& top) {
    std::vector<platform::Node*> out;
    for (platform::Node* c = top.child(); c; c = c->next()) {
        out.push_back(c);
        for (platform::Node* n : foldersBelow(*c)) out.push_back(n);
    }
    return out;
}

class FolderClicks : public DiscPage {
  protected:
    void SetUp() override {
        h.writeBytes(indexPath(Many), platform::text::toCp936(manyFolders()));
        h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#many#9#许多文件夹&&#\r\n");
        h.start();
    }

    // Clicks every folder of the disc in the disc list (or the category
    // tree) and compares each listing with the index read from its start.
    void clickEveryFolder(bool discList) {
        platform::TreeView& tree = discList ? f().TreeView1 : f().TreeView2;
        const std::string discPath = discList ? std::string(Many) : "软件\\many";
        platform::Node& disc = node(tree, discPath);
        const std::vector<platform::Node*> folders = foldersBelow(disc);
        ASSERT_GT(folders.size(), 40u);
        for (platform::Node* n : folders) {
            tree.userClickNode(*n);
            const std::string folderPath = n->fullPath().substr(discPath.size() + 1);
            const Expected expected = readFromStart(indexPath(Many), {folderPath, false, discList});
            EXPECT_EQ(sortedRows(f()), expected.rows) << n->fullPath();
            EXPECT_EQ(f().StatusBar1.panel(2).text(),
                      std::to_string(expected.count) + "个文件夹或文件")
                << n->fullPath();
        }
    }
};

}  // namespace

TEST_F(FolderClicks, EveryFolderListsWhatTheIndexReadFromItsStartGives) {
    clickDiscList({Many});
    clickEveryFolder(true);
    // Some folders the hand-edited lines make special, as they have always
    // listed: a folder's first run only, from its first line on.
    clickDiscList({"many\\E:\\split"});
    EXPECT_EQ(rows(f()), (Strings{}));  // its first line is a subfolder's file
    clickDiscList({"many\\E:\\split\\inner"});
    EXPECT_EQ(rows(f()), (Strings{"x.gif[2] | x | gif | 1K |  |  | 14"}));
    clickDiscList({"many\\E:\\docs"});
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "9个文件夹或文件");
}

TEST_F(FolderClicks, EveryFolderOfTheCategoryTreeListsWhatTheIndexReadFromItsStartGives) {
    clickCategoryTree({"软件", "软件\\many"});
    clickEveryFolder(false);
}

TEST_F(FolderClicks, AfterATickTheNextClickListsTheIndexAsItIsNow) {
    clickDiscList({Many, "many\\E:\\2004\\[old]"});
    platform::ListItem* file = nullptr;
    for (const auto& r : f().ListView1.items())
        if (r->smallIcon() != images::Folder && !r->checked()) file = r.get();
    ASSERT_NE(file, nullptr);
    const std::string text = file->text(), key = file->key();
    const std::string before = index(Many);
    f().ListView1.userToggleCheck(*file);
    ASSERT_NE(index(Many), before);

    clickDiscList({"many\\E:\\docs\\Docs", "many\\E:\\2004\\[old]"});
    EXPECT_TRUE(row(f(), text).checked());
    EXPECT_EQ(row(f(), text).key(), key + "($)");
    clickEveryFolder(true);
}

TEST_F(FolderClicks, AnIndexWrittenAgainInPlaceWithItsSizeAndTimeIsReadAnew) {
    clickDiscList({Many, "many\\E:\\docs"});
    const std::string native = h.nativePath(indexPath(Many));
    struct stat st {};
    ASSERT_EQ(::stat(native.c_str(), &st), 0);

    // The runs of two folders of one length change places, and the file
    // keeps its size and its time.
    std::string text = manyFolders();
    const std::string a = "E:\\docs\\2004\\", b = "E:\\Docs\\2004\\";
    std::string swapped;
    Strings runA, runB;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        const std::string line = text.substr(at, end == std::string::npos ? end : end - at + 2);
        at = end == std::string::npos ? text.size() : end + 2;
        if (line.rfind(a, 0) == 0) {
            runA.push_back(line);
            continue;
        }
        if (line.rfind(b, 0) == 0) {
            runB.push_back(line);
            continue;
        }
        if (!runA.empty() && !runB.empty()) {
            for (const std::string& l : runB) swapped += l;
            for (const std::string& l : runA) swapped += l;
            runA.clear();
            runB.clear();
        }
        swapped += line;
    }
    ASSERT_EQ(swapped.size(), text.size());
    ASSERT_NE(swapped, text);
    h.writeBytes(indexPath(Many), platform::text::toCp936(swapped));
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, native.c_str(), times, 0), 0);

    clickEveryFolder(true);
}
