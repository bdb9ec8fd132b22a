// The scan's texts and the rules the scan dialog names discs by.
#include "catalogue/scan_command.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(ScanTexts, GroupThousands) {
    const std::vector<std::pair<std::int64_t, std::string>> cases = {{0, "0"},
                                                                     {12, "12"},
                                                                     {999, "999"},
                                                                     {1000, "1,000"},
                                                                     {3292, "3,292"},
                                                                     {654321000, "654,321,000"},
                                                                     {4500000000, "4,500,000,000"},
                                                                     {-1234, "-1,234"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(catalogue::groupThousands(n), text) << n;
}

TEST(ScanTexts, ScannedFolderName) {
    EXPECT_EQ(catalogue::scannedFolderName("E:\\"), "");
    EXPECT_EQ(catalogue::scannedFolderName("D:\\music\\pop"), "pop");
    EXPECT_EQ(catalogue::scanSizeText("E:\\", 654321000),
              "在E:\\下所有文件的大小 = 654,321,000 字节");
    EXPECT_EQ(catalogue::scanCountText(1250, 37), "1250个文件在38个文件夹里");
}

TEST(DiscNameRule, PlainFileNamesOnly) {
    for (const char* ok : {"DATA", "[007]DATA", "音乐 合集", "a.b", "...x", "pop_hard"})
        EXPECT_TRUE(catalogue::discNameIsPlainFileName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b",
                            "a|b", " a", "a ", "a\x01", "a\x7f"})
        EXPECT_FALSE(catalogue::discNameIsPlainFileName(bad)) << bad;
}

// The name an import proposes: between the last "\" or "/" and the last ".".
TEST(ImportName, FileTitleOf) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"D:\\backup\\[003]Games.wcd", "[003]Games"},
        {"D:\\export\\Games.v1.wcd", "Games.v1"},
        {"D:\\export\\noext", "noext"},
        {"D:/backup/歌曲.wcd", "歌曲"},
        {"D:\\a.b/c.wcd", "c"},
        {"D:/a\\x.y\\c", "c"},
        {"Games.wcd", "Games"},
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(catalogue::fileTitleOf(path), title) << path;
}

}  // namespace
