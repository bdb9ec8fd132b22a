// Send-to, the file library and the mirror disc list on names that differ
// only in letter case: each row's own file, each disc's own name.
#include "discpage/case_twins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "copies/library_file.h"
#include "copies/mirror_files.h"
#include "platform/ui/ui.h"

using namespace case_twins;

namespace {

using CopiesTwins = CaseTwins;

// Each row copies its own file under its own name, to two drives D: one
// after the other.
TEST_F(CopiesTwins, SendToDriveDCopiesEachRowsOwnFile) {
    clickDiscList({Twins, "twins_hard\\twins"});
    struct Case {
        const char* drive;
        std::vector<const char*> keys;
    };
    for (const Case& c : std::vector<Case>{{"C:\\d1", {"a.TXT[5]", "p.htm[10]"}},
                                           {"C:\\d2", {"a.txt[6]", "p.HTM[9]"}}}) {
        h.makeFolder(c.drive);
        h.drives().set({.name = "D:", .folder = h.nativePath(c.drive)});
        for (const char* key : c.keys) onRow(key, "SendToDpan");
    }
    EXPECT_TRUE(h.ui.messages().empty());
    const auto names = [&](const char* folder) {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(h.nativePath(folder)))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    };
    EXPECT_EQ(names("C:\\d1"), (std::vector<std::string>{"a.TXT", "p.htm"}));
    EXPECT_EQ(names("C:\\d2"), (std::vector<std::string>{"a.txt", "p.HTM"}));
    EXPECT_EQ(h.read("C:\\d1\\a.TXT"), "UPPER");
    EXPECT_EQ(h.read("C:\\d1\\p.htm"), "<p>lower!</p>");
    EXPECT_EQ(h.read("C:\\d2\\a.txt"), "lower!");
    EXPECT_EQ(h.read("C:\\d2\\p.HTM"), "<p>UPPER</p>");
}

// Both twins into one drive D:: the copy is made under its own name
// ("a.txt") beside the one spelt alike that is there ("a.TXT").
TEST_F(CopiesTwins, SendToOneDriveDCopiesBothTwins) {
    h.makeFolder("C:\\d");
    h.drives().set({.name = "D:", .folder = h.nativePath("C:\\d")});
    clickDiscList({Twins, "twins_hard\\twins"});
    for (const char* key : {"a.TXT[5]", "a.txt[6]"}) onRow(key, "SendToDpan");
    EXPECT_TRUE(h.ui.messages().empty());
    EXPECT_EQ(h.read("D:\\a.TXT"), "UPPER");
    EXPECT_EQ(h.read("D:\\a.txt"), "lower!");
}

TEST_F(CopiesTwins, TheLibraryStoresEachRowsOwnPath) {
    clickDiscList({Twins, "twins_hard\\twins"});
    onRow("a.TXT[5]", "addfilelib");
    onRow("a.txt[6]", "addfilelib");
    EXPECT_TRUE(h.ui.messages().empty());
    const std::string library = h.read(copies::libraryFilePath("C:\\zelbrin"));
    const std::string icon = std::to_string(rowOfKey(f(), "a.txt[6]").smallIcon());
    EXPECT_EQ(library,
              copies::formatRecord({icon, "a", "twins_hard", "C:\\twins\\a.TXT", "空"}) + "\r\n" +
                  copies::formatRecord({icon, "a", "twins_hard", "C:\\twins\\a.txt", "空"}) +
                  "\r\n");
}

TEST(MirrorDiscListOfTwinDiscs, EachDiscIsListedByItsOwnName) {
    EXPECT_EQ(copies::appendMirrorDisc("ABC\r\n", "abc"), "ABC\r\nabc\r\n");
    EXPECT_EQ(copies::appendMirrorDisc("ABC\r\nabc\r\n", "abc"), std::nullopt);
}

}  // namespace
