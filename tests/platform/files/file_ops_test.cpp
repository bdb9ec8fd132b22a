#include "platform/files/file_ops.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "files_fixture.h"
#include "platform/files/confined.h"
#include "platform/files/listing.h"
#include "platform/files/text_file.h"

namespace {

using namespace platform::files;
using files_test::errorOf;
using files_test::FilesTest;
using files_test::readBytes;
using files_test::writeBytes;
namespace fs = std::filesystem;

void makeReadOnly(const std::string& native) { ::chmod(native.c_str(), 0444); }

TEST_F(FilesTest, OperationsRaiseTheWindowsErrorNumbers) {
    writeBytes(c() + "/a.txt", "abc");
    fs::create_directories(c() + "/sub");
    table().find("E:")->ready = false;
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    struct Case {
        const char* what;
        std::function<void()> op;
        int error;
    };
    const Case cases[] = {
        {"read missing file", [] { WholeFileRead("C:\\missing.txt"); }, 53},
        {"read in missing folder", [] { WholeFileRead("C:\\nofolder\\a.txt"); }, 76},
        {"read a folder", [] { WholeFileRead("C:\\sub"); }, 75},
        {"read on an empty CD drive", [] { WholeFileRead("E:\\a.txt"); }, 71},
        {"read on an unknown drive", [] { WholeFileRead("Q:\\a.txt"); }, 68},
        {"open missing for input", [] { InputFile f("C:\\missing.txt"); }, 53},
        {"root on an empty CD drive", [] { ConfinedRoot::open("E:\\"); }, 71},
        {"output into missing folder", [&] { root.write("nofolder\\a.txt", ""); }, 76},
        {"output to a folder", [&] { root.write("sub", ""); }, 75},
        {"length of missing file", [] { fileLength("C:\\missing.txt"); }, 53},
        {"delete missing file", [&] { root.remove("missing.txt"); }, 53},
        {"delete in missing folder", [&] { root.remove("nofolder\\x"); }, 76},
        {"delete a folder", [&] { root.remove("sub"); }, 53},
        {"create existing folder", [&] { root.createFolder("sub"); }, 58},
        {"create over a file", [&] { root.createFolder("a.txt"); }, 58},
        {"create below missing folder", [&] { root.createFolder("no\\sub"); }, 76},
        {"copy missing source",
         [&] { root.copyInto("b.txt", root, "missing.txt", OnExisting::Refuse); }, 53},
        {"copy onto itself", [&] { root.copyInto("a.txt", root, "a.txt", OnExisting::Refuse); },
         70},
        {"copy into missing folder",
         [&] { root.copyInto("no\\a.txt", root, "a.txt", OnExisting::Refuse); }, 76},
        {"copy folder missing",
         [&] { root.copyFolderInto("x", root, "nosub", OnExisting::Refuse); }, 76},
        {"copy folder from a file",
         [&] { root.copyFolderInto("x", root, "a.txt", OnExisting::Refuse); }, 76},
        {"copy folder onto existing folder",
         [&] {
             fs::create_directories(c() + "/other");
             root.copyFolderInto("other", root, "sub", OnExisting::Refuse);
         },
         58},
        {"copy folder into itself",
         [&] { root.copyFolderInto("sub\\sub", root, "sub", OnExisting::Replace); }, 75},
    };
    for (const auto& k : cases) EXPECT_EQ(errorOf(k.op), k.error) << k.what;
    EXPECT_EQ(readBytes(c() + "/a.txt"), "abc");
}

// A pipe named like a file (an index file to import, say) is never opened to
// wait for a writer: the copy refuses it at once.
TEST_F(FilesTest, CopyingAPipeFailsAtOnce) {
    ASSERT_EQ(::mkfifo((c() + "/pipe.wcd").c_str(), 0600), 0);
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    EXPECT_EQ(errorOf([&] { root.copyInto("b.wcd", root, "pipe.wcd", OnExisting::Refuse); }), 53);
    EXPECT_FALSE(fs::exists(c() + "/b.wcd"));
}

TEST_F(FilesTest, CopyRefusesAnExistingTargetUnlessToldToReplaceIt) {
    writeBytes(c() + "/a.txt", "new");
    writeBytes(c() + "/dst/a.txt", "old");
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    EXPECT_EQ(errorOf([&] { root.copyInto("dst\\a.txt", root, "a.txt", OnExisting::Refuse); }), 58);
    EXPECT_EQ(readBytes(c() + "/dst/a.txt"), "old");
    root.copyInto("DST\\a.txt", root, "a.txt", OnExisting::Replace);
    EXPECT_EQ(readBytes(c() + "/dst/a.txt"), "new");
    // Never onto itself (that would empty the file).
    EXPECT_EQ(errorOf([&] { root.copyInto("a.txt", root, "a.txt", OnExisting::Replace); }), 70);
    EXPECT_EQ(readBytes(c() + "/a.txt"), "new");
}

TEST_F(FilesTest, CopiesKeepReadOnlyAndAReadOnlyTargetIsNotReplaced) {
    writeBytes(cd() + "/setup.exe", "cd data");
    makeReadOnly(cd() + "/setup.exe");
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    const ConfinedRoot disc = ConfinedRoot::open("E:\\");
    root.copyInto("setup.exe", disc, "setup.exe", OnExisting::Refuse);
    EXPECT_EQ(readBytes(c() + "/setup.exe"), "cd data");
    EXPECT_EQ(*getAttributes("C:\\setup.exe"), attr::Archive | attr::ReadOnly);
    EXPECT_EQ(errorOf([&] { root.copyInto("setup.exe", disc, "setup.exe", OnExisting::Replace); }),
              70);
    EXPECT_EQ(errorOf([&] { root.remove("setup.exe"); }), 75);
    // The archive attribute alone clears read-only; then the file can go.
    root.setAttributes("setup.exe", attr::Archive);
    EXPECT_EQ(*getAttributes("C:\\setup.exe"), attr::Archive);
    root.remove("setup.exe");
    EXPECT_FALSE(fs::exists(c() + "/setup.exe"));
}

TEST_F(FilesTest, AttributesFollowModeNameAndKind) {
    writeBytes(c() + "/plain.txt", "12345");
    writeBytes(c() + "/.hidden", "");
    writeBytes(c() + "/ro.txt", "");
    makeReadOnly(c() + "/ro.txt");
    fs::create_directories(c() + "/dir");
    fs::create_directories(c() + "/rodir");
    ::chmod((c() + "/rodir").c_str(), 0555);
    struct Case {
        const char* path;
        std::uint32_t attributes;
    };
    const Case cases[] = {
        {"C:\\plain.txt", attr::Archive},
        {"C:\\.hidden", attr::Archive | attr::Hidden},
        {"C:\\ro.txt", attr::Archive | attr::ReadOnly},
        {"C:\\dir", attr::Directory},
        {"C:\\rodir", attr::Directory | attr::ReadOnly},
        {"C:\\", attr::Directory},
    };
    for (const auto& k : cases) EXPECT_EQ(getAttributes(k.path), k.attributes) << k.path;
    EXPECT_FALSE(getAttributes("C:\\missing"));
    EXPECT_FALSE(getAttributes("C:\\..\\x"));
    EXPECT_EQ(fileLength("c:\\PLAIN.TXT"), 5u);
}

TEST_F(FilesTest, MoveNeverReplacesAnExistingTargetAndSaysWhyItFailed) {
    writeBytes(c() + "/old.wcd", "index");
    writeBytes(c() + "/taken.wcd", "other");
    fs::create_hard_link(c() + "/old.wcd", c() + "/link.wcd");
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    struct Case {
        const char* from;
        const char* to;
        int error;
    };
    const Case cases[] = {
        {"old.wcd", "taken.wcd", 58},
        {"old.wcd", "link.wcd", 58},  // the same file under another name
        {"missing.wcd", "new.wcd", 53},
        {"nofolder\\old.wcd", "new.wcd", 76},
        {"old.wcd", "nofolder\\new.wcd", 76},
        {"", "new", 75},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(errorOf([&] { root.rename(k.from, k.to, OnExisting::Refuse); }), k.error)
            << k.from << " -> " << k.to;
    }
    EXPECT_EQ(readBytes(c() + "/taken.wcd"), "other");
    EXPECT_EQ(readBytes(c() + "/old.wcd"), "index");
    root.rename("OLD.wcd", "new.wcd", OnExisting::Refuse);
    EXPECT_EQ(readBytes(c() + "/new.wcd"), "index");
    EXPECT_FALSE(fs::exists(c() + "/old.wcd"));
}

TEST_F(FilesTest, MoveToTheSameNameInOtherCaseRenamesInPlace) {
    writeBytes(c() + "/disc.note", "n");
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    root.rename("disc.note", "Disc.NOTE", OnExisting::Refuse);
    EXPECT_TRUE(fs::exists(c() + "/Disc.NOTE"));
    EXPECT_FALSE(fs::exists(c() + "/disc.note"));
    fs::create_directories(c() + "/folder");
    root.rename("folder", "Folder2", OnExisting::Refuse);
    EXPECT_TRUE(fs::is_directory(c() + "/Folder2"));
}

TEST_F(FilesTest, CopyFolderCopiesEverythingBelowIt) {
    writeBytes(cd() + "/music/a.mp3", "A");
    writeBytes(cd() + "/music/pop/b.mp3", "BB");
    fs::create_directories(c() + "/send");
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    const ConfinedRoot disc = ConfinedRoot::open("E:\\");
    root.copyFolderInto("send\\music", disc, "music", OnExisting::Refuse);
    EXPECT_EQ(readBytes(c() + "/send/music/a.mp3"), "A");
    EXPECT_EQ(readBytes(c() + "/send/music/pop/b.mp3"), "BB");
    EXPECT_EQ(
        errorOf([&] { root.copyFolderInto("send\\music", disc, "music", OnExisting::Refuse); }),
        58);
    // A loop of links is copied once, not forever.
    fs::create_directory_symlink("../../music", cd() + "/music/pop/loop");
    root.copyFolderInto("again", disc, "music", OnExisting::Refuse);
    EXPECT_TRUE(fs::exists(c() + "/again/pop/b.mp3"));
    EXPECT_FALSE(fs::exists(c() + "/again/pop/loop"));
}

TEST_F(FilesTest, FindListsDotsFirstThenMatchesInUpperCaseOrder) {
    writeBytes(c() + "/d/b.TXT", "12");
    writeBytes(c() + "/d/A.txt", "1");
    writeBytes(c() + "/d/c.doc", "123");
    writeBytes(c() + "/d/_x.txt", "");
    fs::create_directories(c() + "/d/Sub.txt");
    auto names = [](const std::vector<FindEntry>& es) {
        std::vector<std::string> n;
        for (const auto& e : es) n.push_back(e.name);
        return n;
    };
    auto all = findEntries("C:\\D\\", "*");
    EXPECT_EQ(names(all), (std::vector<std::string>{".", "..", "A.txt", "b.TXT", "c.doc", "Sub.txt",
                                                    "_x.txt"}));
    EXPECT_EQ(names(findEntries("C:\\d", "*.txt")),
              (std::vector<std::string>{"A.txt", "b.TXT", "Sub.txt", "_x.txt"}));
    EXPECT_EQ(all[3].size, 2u);
    EXPECT_EQ(all[3].attributes, attr::Archive);
    EXPECT_EQ(all[5].attributes, attr::Directory);
    // A drive root lists no "." and "..".
    EXPECT_EQ(names(findEntries("C:\\", "*")), (std::vector<std::string>{"d"}));
    // Missing folders and empty drives give nothing, and no error.
    EXPECT_TRUE(findEntries("C:\\nofolder", "*").empty());
    table().find("E:")->ready = false;
    EXPECT_TRUE(findEntries("E:\\", "*").empty());
}

TEST_F(FilesTest, NamesWithoutAWindowsFormAreLeftOutOfListings) {
    const char* bad[] = {"a|b.txt",     "why?.txt", "a\\b.txt", "c:d.txt",     "star*.txt",
                         "q\"uote.txt", "lt<.txt",  "gt>.txt",  "ctl\x01.txt", "bad\xff.txt"};
    for (const char* n : bad) writeBytes(c() + "/" + n, "x");
    writeBytes(c() + "/good.txt", "x");
    std::vector<std::string> found;
    for (const auto& e : findEntries("C:\\", "*")) found.push_back(e.name);
    EXPECT_EQ(found, std::vector<std::string>{"good.txt"});
    EXPECT_EQ(listFiles("C:\\", "*.*"), std::vector<std::string>{"good.txt"});
    EXPECT_EQ(listNativeFolder(c()).size(), 1u);
}

TEST_F(FilesTest, TheFileListBoxListsPlainVisibleFilesSorted) {
    writeBytes(c() + "/g/b.wcd", "");
    writeBytes(c() + "/g/A.wcd", "");
    writeBytes(c() + "/g/.hidden.wcd", "");
    writeBytes(c() + "/g/notes.txt", "");
    fs::create_directories(c() + "/g/folder.wcd");
    EXPECT_EQ(listFiles("C:\\g", "*.wcd"), (std::vector<std::string>{"A.wcd", "b.wcd"}));
    EXPECT_EQ(listFiles("C:\\g\\", "*.*"),
              (std::vector<std::string>{"A.wcd", "b.wcd", "notes.txt"}));
    EXPECT_TRUE(listFiles("C:\\missing", "*.*").empty());
}

}  // namespace
