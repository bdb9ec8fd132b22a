// The lines of drives.ini that the drive table cannot use: each is passed
// over (the drives keep their defaults for it) and kept with its number and
// reason for the message start-up shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files/drive_table.h"

namespace {

using platform::files::DriveIniProblem;
using platform::files::DriveKind;
using platform::files::DriveTable;

DriveTable defaults() {
    DriveTable t;
    t.set({.name = "C:", .folder = "/home/u"});
    t.set({.name = "D:", .device = "/dev/sr0", .kind = DriveKind::CdRom});
    return t;
}

TEST(DrivesIniProblems, EachUnusableLineIsToldAndChangesNothing) {
    DriveTable t = defaults();
    t.applyIni(
        "\xEF\xBB\xBF# a file saved with a UTF-8 mark\r\n"  // 1
        "folder = /before/any/section\r\n"                  // 2
        "[D:]\r\n"                                          // 3
        "lable = Music\r\n"                                 // 4 unknown key
        "type = dvd\r\n"                                    // 5 bad type
        "label = Music\r\n"                                 // 6 used
        "[C:]\r\n"                                          // 7
        "folder = relative/path\r\n"                        // 8 refused: C: keeps its folder
        "just some words\r\n"                               // 9 no "="
        "[Q]\r\n"                                           // 10 malformed name
        "folder = /q\r\n"                                   // 11 (its section's: not told again)
        "[E:\r\n"                                           // 12 no "]"
        "[F:]\r\n"                                          // 13 new name without folder or device
        "label = X\r\n"                                     // 14
        "[G:]\r\n"                                          // 15 fine
        "folder = /g\r\n");                                 // 16
    std::vector<int> lines;
    for (const DriveIniProblem& p : t.problems()) lines.push_back(p.line);
    EXPECT_EQ(lines, (std::vector<int>{2, 4, 5, 8, 9, 10, 12, 13}));
    EXPECT_EQ(
        t.problems()[1],
        (DriveIniProblem{4, "lable = Music", "未知的设置项（只有folder、device、type和label）"}));
    EXPECT_EQ(t.problems()[3].text, "folder = relative/path");

    // What the good lines said is done; the bad ones left the defaults.
    ASSERT_TRUE(t.find("C:"));
    EXPECT_EQ(t.find("C:")->folder, "/home/u");
    ASSERT_TRUE(t.find("D:"));
    EXPECT_EQ(t.find("D:")->kind, DriveKind::CdRom);
    EXPECT_EQ(t.find("D:")->label, "Music");
    EXPECT_FALSE(t.find("F:"));
    ASSERT_TRUE(t.find("G:"));
    EXPECT_EQ(t.find("G:")->folder, "/g");
}

TEST(DrivesIniProblems, TheReportNamesEveryLineOnce) {
    DriveTable t = defaults();
    EXPECT_EQ(t.problemReport(), "");
    t.applyIni("[E:]\nfolder = /cd\ntype = CD\n[bad]\n");
    EXPECT_EQ(t.problemReport(),
              "驱动器设置文件drives.ini中有以下几行无法使用，已被忽略，相关驱动器仍用默认设置："
              "\r\n第3行 type = CD：type只能是cdrom或fixed"
              "\r\n第4行 [bad]：不是驱动器名（应如[E:]或[C:\\My Documents]）");
    // The good lines of a file with problems still count.
    ASSERT_TRUE(t.find("E:"));
    EXPECT_EQ(t.find("E:")->folder, "/cd");
    EXPECT_EQ(t.find("E:")->kind, DriveKind::Fixed);
}

TEST(DrivesIniProblems, AWellFormedFileHasNone) {
    DriveTable t = defaults();
    t.applyIni(
        "# comment\n; another\n\n[e:]\nfolder = ~/cd\ntype = CDROM\nlabel = DATA\n"
        "[C:\\My Documents]\nfolder = /docs\n[D:]\nfolder =\n");
    EXPECT_TRUE(t.problems().empty());
    EXPECT_EQ(t.problemReport(), "");
    EXPECT_FALSE(t.find("D:"));  // "folder =" alone removes the entry, as documented
}

}  // namespace
