// The lines of files that could not be written or read, and the box that
// lists them at the end of a run.
#include "copies/copy_failures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"

namespace {

TEST(CopyFailures, EachLineNamesTheFileAndTheReasonARefusalItsOwnText) {
    const platform::Error full(platform::err::DiskFull);
    const platform::Error refused(platform::err::PathFileAccess,
                                  "路径不在允许的文件夹里：C:\\zelbrin\\webhtml\\x");
    const platform::Error other75(platform::err::PathFileAccess);
    EXPECT_EQ(copies::failedWrite("C:\\w\\a.txt", full), "不能保存文件: C:\\w\\a.txt磁盘已满");
    EXPECT_EQ(copies::failedRead("C:\\m\\a.gif", platform::Error(platform::err::FileNotFound)),
              "不能读取文件: C:\\m\\a.gif文件未找到");
    EXPECT_EQ(copies::failedWrite("C:\\w\\a.txt", refused), refused.description());
    EXPECT_EQ(copies::failedRead("C:\\w\\a.txt", refused), refused.description());
    EXPECT_TRUE(copies::isRefusal(refused));
    EXPECT_FALSE(copies::isRefusal(other75));
    EXPECT_EQ(copies::failedWrite("C:\\w\\a.txt", other75),
              "不能保存文件: C:\\w\\a.txt路径/文件访问错误");
}

TEST(CopyFailures, TheBoxShowsTwentyLinesThenTheCountOfThemAll) {
    std::vector<std::string> lines;
    EXPECT_EQ(copies::failureList(lines), "");
    for (int i = 1; i <= 21; ++i) {
        lines.push_back("f" + std::to_string(i));
        std::string expected;
        for (int j = 1; j <= i && j <= 20; ++j) expected += (j > 1 ? "\r\n" : "") + lines[j - 1];
        if (i > 20) expected += "\r\n……共21个文件没有拷贝。";
        EXPECT_EQ(copies::failureList(lines), expected) << i;
    }
}

}  // namespace
