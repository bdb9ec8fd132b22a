// The small rules of start-up: the mirror colour, the size text, the roots,
// the send-to caption and the box for a stored file that cannot be read.
#include "mainwindow/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "discpage/size_text.h"

namespace {

TEST(StartupRules, MirrorColour) {
    struct Case {
        const char* stored;
        platform::Color colour;
    };
    const std::vector<Case> cases = {
        {"9", platform::qbColor(9)},
        {"abc", platform::qbColor(0)},
        {"20", 20},
        {"Error", platform::qbColor(12)},
        {"", platform::qbColor(12)},
        {"12.5", platform::qbColor(12)},
        {"13.5", platform::qbColor(14)},
        {"-1", 0xFFFFFFFFu},
        {"1e20", platform::qbColor(0)},
    };
    for (const Case& c : cases) EXPECT_EQ(startup::mirrorColour(c.stored), c.colour) << c.stored;
}

TEST(StartupRules, SizeText) {
    const std::vector<std::pair<double, const char*>> cases = {{0, "0K"},
                                                               {500, "1K"},
                                                               {1536, "1K"},
                                                               {1024.0 * 1024, "1024K"},
                                                               {2.0 * 1024 * 1024, "2.00M"},
                                                               {1536.0 * 1024, "1.50M"}};
    for (const auto& [bytes, text] : cases) EXPECT_EQ(discpage::sizeText(bytes), text) << bytes;
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
