// The small rules of start-up: the mirror colour, the size text, the roots,
// the send-to caption and the box for a stored file that cannot be read.
#include "mainwindow/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(StartupRules, MirrorColour) {
    struct Case {
        const char* stored;
        platform::Color colour;
    };
    const std::vector<Case> cases = {
        {"9", platform::qbColor(9)},         {"abc", platform::qbColor(0)},
        {"20", platform::qbColor(12)},       {"15", platform::qbColor(15)},
        {"0", platform::qbColor(0)},         {"Error", platform::qbColor(12)},
        {"", platform::qbColor(12)},         {"12.5", platform::qbColor(12)},
        {"13.5", platform::qbColor(14)},     {"-1", platform::qbColor(12)},
        {"16777215", platform::qbColor(12)}, {"1e20", platform::qbColor(12)},
    };
    for (const Case& c : cases) EXPECT_EQ(startup::mirrorColour(c.stored), c.colour) << c.stored;
}

TEST(StartupRules, RootsAndSendToCaption) {
    EXPECT_EQ(startup::rootOfFirstCharacter("e:\\data"), "e:\\");
    EXPECT_EQ(startup::rootOfFirstCharacter("e"), "e:\\");
    EXPECT_EQ(startup::rootOfFirstCharacter(""), ":\\");
    EXPECT_EQ(startup::rootOfFirstCharacter("光"), "光:\\");
    EXPECT_EQ(startup::sendToCaption("   "), "你的文件夹");
    EXPECT_EQ(startup::sendToCaption(""), "你的文件夹");
    EXPECT_EQ(startup::sendToCaption(" D:\\work"), " D:\\work");
}

TEST(StartupRules, UnreadableFileMessage) {
    EXPECT_EQ(startup::unreadableFileMessage("C:\\zelbrin\\ini.ini", "没有权限"),
              "无法读取文件“C:\\zelbrin\\ini.ini”：没有权限。\r\n"
              "程序将不使用这个文件继续运行，也不会覆盖它。");
}

}  // namespace
