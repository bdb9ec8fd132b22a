#include "platform/files/paths.h"

#include <gtest/gtest.h>

#include <optional>

#include "files_fixture.h"
#include "platform/files/confined.h"
#include "platform/files/drive_table.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"

namespace {

using namespace platform::files;
using files_test::errorOf;
using files_test::FilesTest;
using files_test::writeBytes;

TEST(DriveNames, HaveOneNormalForm) {
    EXPECT_EQ(normalizeDriveName("e"), "");
    EXPECT_EQ(normalizeDriveName("e:"), "E:");
    EXPECT_EQ(normalizeDriveName("E:\\"), "E:");
    EXPECT_EQ(normalizeDriveName("c:/My Documents\\"), "C:\\My Documents");
    EXPECT_EQ(normalizeDriveName("C:\\a\\..\\b"), "");
    EXPECT_EQ(normalizeDriveName("1:"), "");
}

TEST(DrivesIni, AddsChangesAndRemovesEntries) {
    DriveTable t;
    t.set({.name = "C:", .folder = "/home/u"});
    t.set({.name = "D:", .device = "/dev/sr0", .kind = DriveKind::CdRom});
    t.set({.name = "Z:", .folder = "/"});
    t.applyIni(
        "# test drives\r\n"
        "[e:]\r\n"
        "folder = /srv/cd/data01/\r\n"
        "type = CDROM\r\n"
        "label = DATA 01\r\n"
        "\r\n"
        "[D:]\n"
        "label=Music\n"
        "[Z:]\n"
        "folder =\n"
        "[C:\\My Documents]\n"
        "folder = /data/docs\n"
        "[bad name]\n"
        "folder = /x\n"
        "[F:]\n"
        "folder = relative/is/refused\n");
    const DriveEntry* e = t.find("E:\\");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->folder, "/srv/cd/data01");
    EXPECT_EQ(e->kind, DriveKind::CdRom);
    EXPECT_EQ(e->label, "DATA 01");
    const DriveEntry* d = t.find("d:");
    ASSERT_TRUE(d);  // only its label changed
    EXPECT_EQ(d->device, "/dev/sr0");
    EXPECT_EQ(d->kind, DriveKind::CdRom);
    EXPECT_EQ(d->label, "Music");
    EXPECT_FALSE(t.find("Z:"));
    EXPECT_FALSE(t.find("F:"));
    ASSERT_TRUE(t.find("c:\\my documents"));
    EXPECT_EQ(t.find("C:\\My Documents")->kind, DriveKind::Fixed);
    std::vector<std::string> names;
    for (const auto& entry : t.entries()) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"C:", "C:\\My Documents", "D:", "E:"}));
}

TEST_F(FilesTest, WindowsPathsMapToNativeThroughTheLongestEntry) {
    struct Case {
        const char* windows;
        std::string native;
    };
    const Case cases[] = {
        {"C:\\", c()},
        {"c:", c()},
        {"C:\\a\\b.txt", c() + "/a/b.txt"},
        {"C:/a/b.txt", c() + "/a/b.txt"},
        {"C:\\My Documents\\x.doc", docs() + "/x.doc"},
        {"c:\\MY DOCUMENTS\\x.doc", docs() + "/x.doc"},
        {"C:\\My Documents2\\x", c() + "/My Documents2/x"},
        {"C:\\a\\.\\b\\..\\c", c() + "/a/c"},
        {"E:\\docs\\readme.txt", cd() + "/docs/readme.txt"},
        {"Z:\\etc", "/etc"},
    };
    for (const auto& k : cases) EXPECT_EQ(toNative(k.windows), k.native) << k.windows;
}

TEST_F(FilesTest, NativePathsMapToWindowsThroughTheLongestEntry) {
    struct Case {
        std::string native;
        const char* windows;
    };
    const Case cases[] = {
        {c(), "C:\\"},
        {c() + "/a/b.txt", "C:\\a\\b.txt"},
        {docs(), "C:\\My Documents"},
        {docs() + "/x.doc", "C:\\My Documents\\x.doc"},
        {cd() + "/docs/", "E:\\docs"},
        {"/etc/passwd", "Z:\\etc\\passwd"},
        {"/", "Z:\\"},
    };
    for (const auto& k : cases) EXPECT_EQ(toWindows(k.native), k.windows) << k.native;
}

TEST_F(FilesTest, NamesResolveExactlyElseWithoutRegardToCase) {
    writeBytes(c() + "/Docs/ReadMe.TXT", "x");
    writeBytes(c() + "/Docs/readme.txt", "y");
    writeBytes(c() + "/Docs/Notes.txt", "z");
    // The exact spelling first.
    EXPECT_EQ(toNative("C:\\Docs\\readme.txt"), c() + "/Docs/readme.txt");
    EXPECT_EQ(toNative("C:\\Docs\\ReadMe.TXT"), c() + "/Docs/ReadMe.TXT");
    // Else the only name alike but for case; several alike and none exact
    // are refused, for a read as for a change.
    EXPECT_EQ(toNative("c:\\DOCS\\NOTES.TXT"), c() + "/Docs/Notes.txt");
    for (const char* path : {"C:\\docs\\README.txt", "C:\\docs\\README.txt\\x"}) {
        try {
            WholeFileRead(path);
            ADD_FAILURE() << path;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), 75);
            EXPECT_EQ(e.description(), std::string(AmbiguousNameText) + path);
        }
    }
    EXPECT_FALSE(getAttributes("C:\\docs\\README.txt"));
    // A missing name keeps the spelling given, below the folder found.
    ResolvedPath r = resolvePath("C:\\docs\\New.txt");
    EXPECT_EQ(r.native, c() + "/Docs/New.txt");
    EXPECT_FALSE(r.exists);
    EXPECT_TRUE(r.folderExists);
    r = resolvePath("C:\\nofolder\\New.txt");
    EXPECT_FALSE(r.folderExists);
}

TEST(WindowsNames, ANameThatIsNotUtf8IsDecodedAsCodePage936WhenClean) {
    struct Case {
        const char* native;
        std::optional<std::string> windows;
    };
    const Case cases[] = {
        {"abc.txt", "abc.txt"},
        {"遊戲[1].exe", "遊戲[1].exe"},
        {"\xD6\xD0\xCE\xC4.txt", "中文.txt"},
        {"\xB8\xE8", "歌"},
        {"bad\xff", std::nullopt},    // an invalid byte
        {"cut\xD6", std::nullopt},    // a cut sequence
        {"a|b", std::nullopt},        // UTF-8, but no Windows name
        {"\xD6\xD0|", std::nullopt},  // decoded, but no Windows name
        {"\xD6\xD0\x01", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& k : cases) EXPECT_EQ(windowsNameOf(k.native), k.windows) << k.native;
}

// A decoded name leads back to its own native bytes, by either spelling of
// case, so files can be opened, read and copied through Windows paths.
TEST_F(FilesTest, DecodedNamesResolveToTheirNativeBytes) {
    writeBytes(c() + "/g/\xD6\xD0\xCE\xC4.TXT", "gbk");  // 中文.TXT
    writeBytes(c() + "/g/\xB8\xE8/a.txt", "in");         // 歌\a.txt
    writeBytes(c() + "/dup/中文.txt", "utf8");
    writeBytes(c() + "/dup/\xD6\xD0\xCE\xC4.txt", "gbk");

    ResolvedPath r = resolvePath("C:\\g\\中文.TXT");
    EXPECT_TRUE(r.exists);
    EXPECT_EQ(r.native, c() + "/g/\xD6\xD0\xCE\xC4.TXT");
    EXPECT_EQ(toNative("c:\\G\\中文.txt"), c() + "/g/\xD6\xD0\xCE\xC4.TXT");
    EXPECT_EQ(toNative("C:\\g\\歌\\a.txt"), c() + "/g/\xB8\xE8/a.txt");
    // A new name below a decoded folder goes into that folder.
    EXPECT_EQ(toNative("C:\\g\\歌\\new.txt"), c() + "/g/\xB8\xE8/new.txt");
    // The exact native name comes first.
    EXPECT_EQ(toNative("C:\\dup\\中文.txt"), c() + "/dup/中文.txt");
    EXPECT_EQ(toWindows(c() + "/g/\xB8\xE8/a.txt"), "C:\\g\\歌\\a.txt");

    EXPECT_EQ(WholeFileRead("C:\\g\\歌\\a.txt"), "in");
    const ConfinedRoot g = ConfinedRoot::open("C:\\g");
    g.copyInto("歌\\copy.txt", g, "中文.TXT", OnExisting::Refuse);
    EXPECT_EQ(files_test::readBytes(c() + "/g/\xB8\xE8/copy.txt"), "gbk");
}

TEST_F(FilesTest, MalformedPathsAndUnknownDrivesAreRefused) {
    struct Case {
        const char* path;
        int error;
    };
    const Case cases[] = {
        {"C:\\..", 52},
        {"C:\\a\\..\\..\\b", 52},
        {"E:\\docs\\..\\..\\etc", 52},
        {"\\\\server\\share", 52},
        {"C:\\a|b", 52},
        {"C:\\a*.txt", 52},
        {"Q:\\x.txt", 68},
    };
    for (const auto& k : cases) EXPECT_EQ(errorOf([&] { toNative(k.path); }), k.error) << k.path;
}

TEST_F(FilesTest, ACdDriveWithoutDiscHasNoNativeFolder) {
    table().find("E:")->ready = false;
    EXPECT_EQ(errorOf([] { toNative("E:\\docs"); }), 71);
    // Its folder no longer has a Windows form on E:, only through Z:.
    EXPECT_EQ(toWindows(cd() + "/x").substr(0, 3), "Z:\\");
}

TEST_F(FilesTest, NamesWithoutAWindowsFormAreRefused) {
    EXPECT_EQ(errorOf([&] { toWindows(c() + "/a:b"); }), 52);
    EXPECT_EQ(errorOf([&] { toWindows(c() + "/bad\xff"); }), 52);
    EXPECT_EQ(errorOf([] { toWindows("relative/path"); }), 52);
    EXPECT_FALSE(isWindowsName("a?b"));
    EXPECT_FALSE(isWindowsName("tab\there"));
    EXPECT_TRUE(isWindowsName("遊戲[1].exe"));
}

}  // namespace
