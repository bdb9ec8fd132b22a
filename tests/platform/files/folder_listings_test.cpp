// Look-ups through the listings a run keeps find what a listing per name
// finds: the name itself, the one entry of another letter case, a refusal
// among twins, a name the run made under another case, and nothing for an entry
// gone since. The names a run makes are its own spelling, beside those spelt
// alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files_fixture.h"
#include "platform/error.h"
#include "platform/files/confined.h"

using namespace files_test;
using platform::files::ConfinedRoot;
using platform::files::FolderListings;
using platform::files::OnExisting;

namespace {

class FolderListingsTest : public FilesTest {
  protected:
    std::string t() const { return c() + "/t"; }
    // The names of the target folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(t())) out.push_back(e.path().filename());
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_F(FolderListingsTest, WritesFindTheSameEntriesAsAFreshListing) {
    for (const bool kept : {false, true}) {
        SCOPED_TRACE(kept ? "listings kept" : "a listing per name");
        fs::remove_all(t());
        fs::create_directories(t());
        writeBytes(t() + "/One.txt", "1");
        writeBytes(t() + "/TWIN.txt", "a");
        writeBytes(t() + "/twin.txt", "b");
        FolderListings listings;
        ConfinedRoot root = ConfinedRoot::openNative(t());
        if (kept) root.useListings(&listings);
        root.write("one.TXT", "one");  // the one entry of another case
        // Twins and none exact: refused, nothing made.
        EXPECT_EQ(errorOf([&] { root.write("Twin.txt", "new"); }), 75);
        root.write("made.txt", "m");  // made by the run ...
        root.write("MADE.txt", "M");  // ... and found under another case
        root.write("made\\..\\x.txt", "x");
        fs::remove(t() + "/made.txt");  // gone: made anew under the spelling given
        root.write("Made.TXT", "again");
        root.createFolders("Sub\\deep");
        root.write("SUB\\DEEP\\y.txt", "y");  // folders on the way: the one spelt alike
        root.createFolders("SUB\\DEEP\\x");   // folders made: each its own spelling
        // Now two folders spelt alike, none exactly "sub".
        EXPECT_EQ(errorOf([&] { root.write("sub\\z.txt", "z"); }), 75);
        EXPECT_EQ(names(), (std::vector<std::string>{"Made.TXT", "One.txt", "SUB", "Sub",
                                                     "TWIN.txt", "twin.txt", "x.txt"}));
        EXPECT_EQ(readBytes(t() + "/One.txt"), "one");
        EXPECT_EQ(readBytes(t() + "/Made.TXT"), "again");
        EXPECT_EQ(readBytes(t() + "/Sub/deep/y.txt"), "y");
        EXPECT_TRUE(fs::is_directory(t() + "/SUB/DEEP/x"));
        EXPECT_FALSE(fs::exists(t() + "/Sub/deep/x"));
    }
}

TEST_F(FolderListingsTest, CopiesIntoAFolderOfManyNamesMakeTheirOwnSpelling) {
    fs::create_directories(t());
    fs::create_directories(c() + "/src");
    writeBytes(c() + "/src/a.txt", "src");
    writeBytes(t() + "/A.TXT", "old");
    FolderListings listings;
    ConfinedRoot target = ConfinedRoot::openNative(t());
    target.useListings(&listings);
    const ConfinedRoot source = ConfinedRoot::openNative(c() + "/src");
    for (int i = 0; i < 50; ++i)
        target.copyInto("n" + std::to_string(i) + ".txt", source, "a.txt", OnExisting::Replace);
    target.copyInto("a.txt", source, "a.txt", OnExisting::Replace);
    target.copyInto("N7.TXT", source, "a.txt", OnExisting::Replace);
    // Each beside the one spelt alike, which keeps its bytes.
    EXPECT_EQ(readBytes(t() + "/A.TXT"), "old");
    EXPECT_EQ(readBytes(t() + "/a.txt"), "src");
    EXPECT_EQ(readBytes(t() + "/N7.TXT"), "src");
    EXPECT_EQ(names().size(), 53u);
    // Found again under its own spelling: replaced, nothing more made.
    writeBytes(c() + "/src/a.txt", "again");
    target.copyInto("N7.TXT", source, "a.txt", OnExisting::Replace);
    EXPECT_EQ(readBytes(t() + "/N7.TXT"), "again");
    EXPECT_EQ(readBytes(t() + "/n7.txt"), "src");
    EXPECT_EQ(names().size(), 53u);
}

TEST_F(FolderListingsTest, FoldersOnTheWayAreOpenedOnceAndStayConfined) {
    fs::create_directories(t());
    fs::create_directories(c() + "/outside");
    fs::create_directory_symlink(c() + "/outside", t() + "/out");
    FolderListings listings;
    ConfinedRoot root = ConfinedRoot::openNative(t());
    root.useListings(&listings);
    // Missing first, made by the run, then found under either case.
    EXPECT_THROW(root.write("Sub\\a.txt", "a"), platform::Error);
    root.createFolders("Sub\\deep");
    root.write("Sub\\a.txt", "a");
    root.write("SUB\\b.txt", "b");
    root.write("sub\\DEEP\\c.txt", "c");
    root.write("Sub\\deep\\..\\d.txt", "d");
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        try {
            root.write("out\\x.txt", "x");
            ADD_FAILURE() << "a folder on the way that leads out was written into";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), 75);
        }
    }
    EXPECT_EQ(readBytes(t() + "/Sub/a.txt"), "a");
    EXPECT_EQ(readBytes(t() + "/Sub/b.txt"), "b");
    EXPECT_EQ(readBytes(t() + "/Sub/deep/c.txt"), "c");
    EXPECT_EQ(readBytes(t() + "/Sub/d.txt"), "d");
    EXPECT_TRUE(fs::is_empty(c() + "/outside"));
}

}  // namespace
