// Keeping paths read from stored files inside a folder.
#include <gtest/gtest.h>

#include "files_fixture.h"
#include "platform/files/confined.h"
#include "platform/files/paths.h"

namespace {

using namespace platform::files;
using files_test::errorOf;
using files_test::FilesTest;
using files_test::writeBytes;
namespace fs = std::filesystem;

// C:\zelbrin is the folder; beside it a sibling whose name begins the same,
// and links leading in and out.
class ConfineTest : public FilesTest {
  protected:
    ConfineTest() {
        writeBytes(root() + "/guangpan/a.wcd", "a");
        writeBytes(c() + "/zelbrin2/b.wcd", "b");
        writeBytes(c() + "/.bashrc", "secret");
        fs::create_directory_symlink(c(), root() + "/out");               // a folder outside
        fs::create_symlink(c() + "/.bashrc", root() + "/rc");             // a file outside
        fs::create_symlink(c() + "/new-file", root() + "/dangling");      // to nothing, outside
        fs::create_directory_symlink(root() + "/guangpan", c() + "/in");  // from outside in
    }
    std::string root() const { return c() + "/zelbrin"; }
};

TEST_F(ConfineTest, OnlyPathsThatResolveBelowTheRootAreInside) {
    struct Case {
        std::string path;
        bool inside;
    };
    const Case cases[] = {
        {root(), true},  // the root itself
        {root() + "/", true},
        {root() + "/guangpan/a.wcd", true},
        {root() + "/guangpan/new.wcd", true},            // a file not made yet
        {root() + "/new/folder/x.wcd", true},            // below folders not made yet
        {root() + "/guangpan/../guangpan/a.wcd", true},  // ".." that stays inside
        {c() + "/in/a.wcd", true},                       // a link from outside that leads in
        {root() + "/../.bashrc", false},                 // ".." that climbs out
        {root() + "/new/../../.bashrc", false},          // ".." below a missing folder
        {root() + "/out/.bashrc", false},                // through a link to a folder outside
        {root() + "/rc", false},                         // a link to a file outside
        {root() + "/dangling", false},                   // a link to a file not made yet
        {root() + "2/b.wcd", false},                     // a sibling sharing the name's start
        {c() + "/zelbrin2", false},
        {c(), false},
        {"/", false},
        {"zelbrin/guangpan/a.wcd", false},  // not absolute
        {"", false},
    };
    for (const Case& k : cases) EXPECT_EQ(isInside({root()}, {k.path}), k.inside) << k.path;
    EXPECT_FALSE(isInside({root() + "/missing"}, {root() + "/missing/x"}))
        << "a root that does not exist holds nothing";
    EXPECT_TRUE(isInside({"/"}, {c() + "/.bashrc"}));
    // A root given through a link is the folder it names.
    EXPECT_TRUE(isInside({c() + "/in"}, {root() + "/guangpan/a.wcd"}));
}

// A stored Windows path is changed only beneath the root of the folder:
// one outside it, by its name, a ".." or a link, is refused.
TEST_F(ConfineTest, AStoredWindowsPathOutsideTheFolderIsRefused) {
    const ConfinedRoot folder = ConfinedRoot::open("C:\\zelbrin");
    const auto change = [&](const std::string& path) {
        folder.write(folder.relativeOf(path), "changed");
    };
    change("C:\\zelbrin\\guangpan\\A.WCD");
    EXPECT_EQ(files_test::readBytes(root() + "/guangpan/a.wcd"), "changed");
    change("c:\\ZELBRIN\\mirror.txt");
    EXPECT_EQ(files_test::readBytes(root() + "/mirror.txt"), "changed");
    struct Case {
        const char* path;
        int error;
    };
    const Case cases[] = {
        {"C:\\.bashrc", 75},
        {"Z:\\etc\\passwd", 75},
        {"C:\\zelbrin\\..\\.bashrc", 75},
        {"C:\\zelbrin\\rc", 75},
        {"C:\\zelbrin\\out\\.bashrc", 75},
        {"C:\\zelbrin\\dangling", 75},
        {"C:\\zelbrin2\\b.wcd", 75},
        {"C:\\..\\..\\etc\\passwd", 52},
        {"Q:\\zelbrin\\a.wcd", 68},
    };
    for (const Case& k : cases) EXPECT_EQ(errorOf([&] { change(k.path); }), k.error) << k.path;
    EXPECT_EQ(files_test::readBytes(c() + "/.bashrc"), "secret");
    EXPECT_FALSE(fs::exists(c() + "/new-file"));
    try {
        change("C:\\.bashrc");
        ADD_FAILURE() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.description(), "路径不在允许的文件夹里：C:\\.bashrc");
    }
}

}  // namespace
