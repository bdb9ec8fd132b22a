#include "platform/files/system_probe.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::files;

TEST(MountInfo, ParsesFieldsAndDecodesEscapes) {
    const char* text =
        "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
        "97 29 11:0 / /media/user/My\\040Disc\\134x ro,nosuid shared:52 master:3 - iso9660 "
        "/dev/sr0 ro,norock\n"
        "98 29 8:1 /sub /mnt/bind rw - ext4 /dev/sda1 rw\n"
        "broken line\n";
    auto m = parseMountInfo(text);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].mountPoint, "/proc");
    EXPECT_FALSE(m[0].readOnly);
    EXPECT_EQ(m[1].major, 11u);
    EXPECT_EQ(m[1].minor, 0u);
    EXPECT_EQ(m[1].mountPoint, "/media/user/My Disc\\x");
    EXPECT_EQ(m[1].fsType, "iso9660");
    EXPECT_EQ(m[1].source, "/dev/sr0");
    EXPECT_TRUE(m[1].readOnly);
    EXPECT_EQ(m[2].root, "/sub");
}

TEST(MountInfo, DecodesOctalEscapesOnly) {
    EXPECT_EQ(decodeMountEscapes("a\\040b\\011c\\012d"), "a b\tc\nd");
    EXPECT_EQ(decodeMountEscapes("no\\escape\\04"), "no\\escape\\04");  // left as they are
}

TEST(MountInfo, PrefersTheWholeFileSystemMountOfADevice) {
    std::vector<MountEntry> mounts(2);
    mounts[0].source = mounts[1].source = "/nonexistent/sr9";
    mounts[0].root = "/sub";
    mounts[0].mountPoint = "/mnt/bind";
    mounts[1].root = "/";
    mounts[1].mountPoint = "/media/disc";
    auto m = mountOfDevice("/nonexistent/sr9", mounts);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->mountPoint, "/media/disc");
    EXPECT_FALSE(mountOfDevice("/nonexistent/sr8", mounts));
}

TEST(ByLabel, DecodesUdevHexEscapes) {
    EXPECT_EQ(decodeUdevEscapes("DATA\\x2001"), "DATA 01");
    EXPECT_EQ(decodeUdevEscapes("a\\x2fb"), "a/b");
    EXPECT_EQ(decodeUdevEscapes("光盘"), "光盘");
    // Escaped bytes that are not UTF-8 are read as code page 936 (GBK).
    EXPECT_EQ(decodeUdevEscapes("\\xb9\\xe2\\xc5\\xcc"), "光盘");
    EXPECT_EQ(decodeUdevEscapes("x\\xZZ"), "x\\xZZ");
}

TEST(CdromInfo, ListsDriveNamesInNumberOrder) {
    const char* text =
        "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
        "drive name:\t\tsr10\tsr1\tsr0\n"
        "drive speed:\t\t24\t24\t24\n";
    EXPECT_EQ(parseCdromInfo(text), (std::vector<std::string>{"sr0", "sr1", "sr10"}));
    EXPECT_TRUE(parseCdromInfo("nothing here\n").empty());
}

TEST(UserDirs, ReadsTheDocumentsFolder) {
    const char* text =
        "# comment\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n";
    EXPECT_EQ(parseUserDir(text, "XDG_DOCUMENTS_DIR", "/home/u"), "/home/u/文档");
    EXPECT_EQ(parseUserDir("XDG_DOCUMENTS_DIR=\"/data/docs/\"\n", "XDG_DOCUMENTS_DIR", "/home/u"),
              "/data/docs");
    EXPECT_EQ(parseUserDir("XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "XDG_DOCUMENTS_DIR", "/home/u"),
              "/home/u");
    EXPECT_EQ(parseUserDir(text, "XDG_MUSIC_DIR", "/home/u"), "");
}

}  // namespace
