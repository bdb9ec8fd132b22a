#include "discpage/folder_runs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalogue/index_line.h"
#include "discpage/folder_tree.h"
#include "index_fixture.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace {

using discpage::FolderRuns;
using discpage::ListedEntry;
using discpage::ListingScope;
using discpage_test::IndexFixture;
using platform::files::RawLineReader;
using Rows = std::vector<std::string>;

std::string rowOf(const ListedEntry& e) {
    std::string s = e.key + " | " + e.text + " | " + e.type + " | " + e.size + " | " +
                    std::to_string(e.bytes) + " | " + std::to_string(e.icon);
    if (e.folder) s += " | folder";
    if (e.ticked) s += " | ticked";
    if (e.mirrored) s += " | mirrored";
    return s;
}

Rows rowsOf(const std::vector<ListedEntry>& entries) {
    Rows rows;
    for (const ListedEntry& e : entries) rows.push_back(rowOf(e));
    return rows;
}

std::string joined(const std::vector<std::string>& lines, const std::string& lineBreak = "\r\n") {
    std::string text;
    for (const std::string& l : lines) text += l + lineBreak;
    return text;
}

// A disc as a scan writes it: each folder's subfolder lines, then its file
// lines, then its subfolders' runs. Names repeat across the tree, come in
// case twins ("docs" and "Docs"), begin with a digit, hold "[", "@", blanks
// and characters whose code page 936 trail byte is "\", "|" or "[".
void scanOrder(std::string& out, const std::string& path, int depth) {
    static const std::vector<std::string> names = {"docs", "Docs", "2004", "誠遊許 x", "[old]"};
    const std::vector<std::string> subs = depth == 0 ? std::vector<std::string>{} : names;
    for (const std::string& s : subs) out += path + "|" + s + "\r\n";
    for (int i = 0; i < 3; ++i)
        out += path + "f" + std::to_string(i) + (i == 1 ? "[1].txt" : ".txt") + "[" +
               std::to_string(100 * i + depth) + "]" + (i == 2 ? "($)" : "") + "\r\n";
    for (const std::string& s : subs) scanOrder(out, path + s + "\\", depth - 1);
}

struct Case {
    std::string what;
    std::string text;  // UTF-8, breaks as they are
    bool hardDisc = false;
};

std::vector<Case> cases() {
    std::string scanned;
    scanOrder(scanned, "E:\\", 2);
    return {
        {"as a scan writes it", scanned},
        {"a folder's lines in several runs, a subfolder's before its parent's",
         joined({
             "E:\\|docs",
             "E:\\|pics",
             "E:\\a.txt[1]",
             "E:\\docs\\img\\x.gif[2]",
             "E:\\docs\\|img",
             "E:\\docs\\b.txt[3]",
             "E:\\pics\\c.jpg[4]",
             "E:\\docs\\d.txt[5]",
             "E:\\docs\\img\\y.gif[6]",
             "E:\\z.txt[7]",
         })},
        {"case twins met apart", joined({
                                     "E:\\|Docs",
                                     "E:\\|docs",
                                     "E:\\|DOCS",
                                     "E:\\Docs\\a.txt[1]",
                                     "E:\\pics\\p.jpg[2]",
                                     "E:\\docs\\b.txt[2]($)",
                                     "e:\\DOCS\\c.txt[3]",
                                     "E:\\docs\\|Sub",
                                     "E:\\docs\\sub\\d.txt[4]",
                                 })},
        {"names holding [, |, {, @ and mirror paths",
         joined({
             "E:\\|[old]",
             "E:\\|a|b",
             "E:\\|me@home",
             "E:\\|x@@",
             "E:\\[old]\\a[1].txt[5]",
             "E:\\[old]\\{c}.txt[6]($){C:\\copies\\[old]\\{c}.txt}",
             "E:\\[old]\\|in[2]",
             "E:\\a|b\\q.txt[1]",
             "E:\\me@home\\m.txt[2]",
             "E:\\x\\y.txt[3]($)",
             "E:\\x\\.hidden[3]",
             "E:\\[old]\\in[2]\\deep.txt[9]",
         })},
        {"every kind of line break, blanks and a last line without one",
         "E:\\|docs\r\n  E:\\|pics  \rE:\\a.txt[1]\nE:\\docs\\b.txt[2]\r\n\r\n"
         "E:\\docs\\c.txt[3]\r\rE:\\pics\\d.jpg[4]\n\nE:\\pics\\|sub\r\n"
         "   E:\\pics\\sub\\e.jpg[5]   \r\nE:\\pics\\sub\\f.jpg[6]"},
        {"a last line without a break that begins a folder",
         "E:\\|docs\r\nE:\\a.txt[1]\r\nE:\\docs\\b.txt[2]"},
        {"a lone CR at the end", "E:\\|docs\rE:\\docs\\b.txt[2]\r"},
        {"a catalogued hard-disk folder",
         joined({
             "D:\\work\\photos\\|2004",
             "D:\\work\\photos\\|Kpop",
             "D:\\work\\photos\\top.jpg[100]",
             "D:\\work\\photos\\2004\\|live@",
             "D:\\work\\photos\\2004\\live\\a.jpg[7]",
             "D:\\work\\photos\\kpop\\b.jpg[8]",
             "d:\\WORK\\photos\\2004\\c.jpg[9]",
         }),
         true},
        {"lines without a backslash", joined({"E:", "nothing here", "E:\\a.txt[1]", "E:"})},
        {"an empty file", ""},
        {"one line", "E:\\a.txt[1]"},
    };
}

// Every folder path worth asking about: each text of a line up to one of
// its "\" (also in other letter case), less the catalogued folder's parent
// for a hard-disk folder, and folders that are not there.
std::vector<std::string> folderPaths(const std::string& text, bool hardDisc) {
    std::set<std::string> paths = {"E:\\nowhere", "Z:", "E:\\docs\\nowhere", "photos\\none"};
    std::string line;
    std::vector<std::string> lines;
    for (char c : text + "\n") {
        if (c == '\r' || c == '\n') {
            lines.push_back(platform::text::trim(line));
            line.clear();
        } else {
            line += c;
        }
    }
    const std::string base = hardDisc ? catalogue::HardDiscBase(lines.front()) : std::string();
    for (const std::string& l : lines) {
        for (std::size_t at = l.find('\\'); at != std::string::npos; at = l.find('\\', at + 1)) {
            std::string path = l.substr(0, at);
            if (hardDisc) {
                if (path.size() <= base.size()) continue;
                path = path.substr(base.size());
            }
            paths.insert(path);
            paths.insert(platform::text::lcase(path));
            paths.insert(platform::text::ucase(path));
        }
    }
    return {paths.begin(), paths.end()};
}

class FolderRunsTest : public IndexFixture {
  protected:
    Rows fullRead(const std::string& path, const ListingScope& scope) {
        RawLineReader lines(path);
        return rowsOf(discpage::listFolder(lines, scope));
    }
    std::optional<Rows> fromRuns(const std::string& path, const FolderRuns& runs,
                                 const ListingScope& scope) {
        RawLineReader lines(path);
        const auto entries = discpage::listFolderRun(lines, runs, scope);
        if (!entries) return std::nullopt;
        return rowsOf(*entries);
    }
    // The record as the opening of a disc makes it.
    FolderRuns recordAsOpening(const std::string& path) {
        RawLineReader lines(path);
        FolderRuns runs(path, lines.stamp());
        discpage::planDiscFolderTree(lines, &runs);
        runs.finish();
        return runs;
    }
};

TEST_F(FolderRunsTest, EveryFolderListsAsTheReadingFromTheStartDoes) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.what);
        const std::string path = writeIndexBytes(platform::text::toCp936(c.text));
        const FolderRuns runs = recordAsOpening(path);
        {
            RawLineReader lines(path);
            const FolderRuns again = discpage::recordFolderRuns(lines, path);
            EXPECT_EQ(again.lineCount(), runs.lineCount());
            EXPECT_EQ(again.firstLine(), runs.firstLine());
        }
        int listed = 0;
        for (const std::string& folder : folderPaths(c.text, c.hardDisc)) {
            for (const bool withTicks : {true, false}) {
                const ListingScope scope{folder, c.hardDisc, withTicks};
                const Rows expected = fullRead(path, scope);
                const std::optional<Rows> got = fromRuns(path, runs, scope);
                ASSERT_TRUE(got.has_value()) << folder;
                EXPECT_EQ(*got, expected) << folder << (withTicks ? "" : " (category tree)");
                if (!expected.empty()) ++listed;
            }
        }
        if (!c.text.empty()) {
            EXPECT_GT(listed, 0);
        }
    }
}

TEST_F(FolderRunsTest, TheRunsOfANonContiguousFolderListAsBefore) {
    // What the listing has always given for a hand-edited index: the run that
    // begins with the first line of the folder, up to a subfolder's contents
    // or a line of another folder.
    const std::string path = writeIndex({
        "E:\\|docs",
        "E:\\docs\\b.txt[3]",
        "E:\\pics\\c.jpg[4]",
        "E:\\docs\\d.txt[5]",
        "E:\\DOCS\\e.txt[6]",
    });
    const FolderRuns runs = recordAsOpening(path);
    EXPECT_EQ(fromRuns(path, runs, {"E:\\docs"}), (Rows{"b.txt[3] | b | txt | 1K | 3 | 24"}));
    // Spelt two other ways ("docs", "DOCS"): neither is taken.
    EXPECT_EQ(fromRuns(path, runs, {"E:\\Docs"}), Rows{});
    EXPECT_EQ(fromRuns(path, runs, {"E:\\DOCS"}), (Rows{"e.txt[6] | e | txt | 1K | 6 | 24"}));
    EXPECT_EQ(fromRuns(path, runs, {"E:\\pics"}), (Rows{"c.jpg[4] | c | jpg | 1K | 4 | 17"}));
    EXPECT_EQ(fromRuns(path, runs, {"E:\\none"}), Rows{});
}

TEST_F(FolderRunsTest, ARecordServesOnlyTheFileAsItWasRecorded) {
    const std::vector<std::string> before = {
        "E:\\|aa", "E:\\|bb", "E:\\aa\\1.txt[1]", "E:\\aa\\2.txt[2]", "E:\\bb\\3.txt[3]",
    };
    const std::string path = writeIndex(before);
    const FolderRuns runs = recordAsOpening(path);
    ASSERT_TRUE(fromRuns(path, runs, {"E:\\aa"}).has_value());

    // Rewritten with the same size, the runs of aa and bb swapped, as the
    // program writes files (a new file renamed over the old one): the stamp
    // tells.
    const std::vector<std::string> after = {
        "E:\\|aa", "E:\\|bb", "E:\\bb\\3.txt[3]", "E:\\aa\\1.txt[1]", "E:\\aa\\2.txt[2]",
    };
    std::filesystem::rename(platform::files::resolveExisting(writeIndex(after, "new.wcd")).native,
                            platform::files::resolveExisting(path).native);
    for (const char* folder : {"E:", "E:\\aa", "E:\\bb", "E:\\none"})
        EXPECT_EQ(fromRuns(path, runs, {folder}), std::nullopt) << folder;

    // Should the stamp not tell (the same file, size and times), a line
    // that is not where the record says is not read from there.
    FolderRuns sameStamp;
    {
        RawLineReader now(path);
        sameStamp = FolderRuns(path, now.stamp());
        const std::string old = writeIndex(before, "old.wcd");
        RawLineReader lines(old);
        std::string_view raw;
        while (lines.next(raw)) sameStamp.add(raw, lines.lineOffset());
        sameStamp.finish();
    }
    EXPECT_EQ(fromRuns(path, sameStamp, {"E:\\aa"}), std::nullopt);
    EXPECT_EQ(fromRuns(path, sameStamp, {"E:\\bb"}), std::nullopt);
    EXPECT_EQ(fromRuns(path, sameStamp, {"E:"}), fullRead(path, {"E:"}));

    // Nor from where the record places a line of the folder but no line
    // begins: inside a line, or between the CR and the LF of a break.
    const std::string bytes = "E:\\|aa\r\nE:\\bb\\x E:\\aa\\y.txt[2]\r\n";
    const std::string inside = writeIndexBytes(bytes, "inside.wcd");
    for (const std::uint64_t offset : {bytes.find("E:\\aa\\y"), bytes.find('\n')}) {
        FolderRuns shifted;
        {
            RawLineReader lines(inside);
            shifted = FolderRuns(inside, lines.stamp());
            shifted.add("E:\\|aa", 0);
            shifted.add("E:\\aa\\y.txt[2]", offset);
            shifted.finish();
        }
        EXPECT_EQ(fromRuns(inside, shifted, {"E:\\aa"}), std::nullopt) << offset;
    }
}

TEST_F(FolderRunsTest, TheOffsetsAreThoseOfTheFirstLineOfEachText) {
    const std::string bytes = "E:\\|a\r\n  E:\\a\\x.txt[1]\nE:\\b\\y.txt[2]\rE:\\A\\z.txt[3]\r\n";
    const std::string path = writeIndexBytes(bytes);
    const FolderRuns runs = recordAsOpening(path);
    EXPECT_EQ(runs.lineCount(), 4u);
    EXPECT_EQ(runs.firstLine(), "E:\\|a");
    EXPECT_EQ(runs.firstLineBeginning("E:\\"), 0u);
    EXPECT_EQ(runs.firstLineBeginning("e:\\A\\"), std::nullopt);
    EXPECT_EQ(runs.firstLineBeginning("E:\\A\\"), bytes.find("E:\\A"));
    EXPECT_EQ(runs.firstLineBeginningIgnoringCase("e:\\A\\"), bytes.find("  E:\\a"));
    EXPECT_EQ(runs.firstLineBeginning("E:\\b\\"), bytes.find("E:\\b"));
    EXPECT_EQ(runs.firstLineBeginning("E:\\c\\"), std::nullopt);
    EXPECT_EQ(runs.firstLineBeginning("E:\\a\\x"), std::nullopt);  // not up to a "\"
}

}  // namespace
