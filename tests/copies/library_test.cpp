// The library file's records and the loader of the library tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "copies/library_file.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr const char* LibraryFile = "C:\\zelbrin\\favorite.ini";

std::string record(const std::string& icon, const std::string& name, const std::string& disc,
                   const std::string& path, const std::string& remark = "空") {
    return copies::formatRecord({icon, name, disc, path, remark});
}

TEST(LibraryRecord, FormatAndKey) {
    EXPECT_EQ(record("1", "img", "[003]Tools", "F:\\docs\\img"),
              "|文件图标:1;|文件名:img;|光盘名字:[003]Tools;|文件路径:F:\\docs\\img;|文件备注:空");
    EXPECT_EQ(copies::libraryNodeKey("[003]Tools", "F:\\docs\\img"),
              "[003]Tools;|文件路径:F:\\docs\\img");
    EXPECT_EQ(copies::recordKey(record("1", "img", "[003]Tools", "F:\\docs\\img")),
              copies::libraryNodeKey("[003]Tools", "F:\\docs\\img"));
}

TEST(LibraryRecord, ParseLine) {
    auto e =
        copies::parseLibraryLine("  " + record("24", "a.b", "D", "E:\\a.b.txt", "x;|y") + "  ");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->name, "a.b");
    EXPECT_EQ(e->key, "D;|文件路径:E:\\a.b.txt");
    EXPECT_EQ(e->icon, 24);

    EXPECT_FALSE(copies::parseLibraryLine("   "));
    EXPECT_FALSE(copies::parseLibraryLine("no record here"));
    EXPECT_EQ(copies::parseLibraryLine(record("abc", "n", "d", "p"))->icon, 0);
    EXPECT_EQ(copies::parseLibraryLine(record("99999", "n", "d", "p"))->icon, std::nullopt);
    EXPECT_EQ(copies::parseLibraryLine(record("2.5", "n", "d", "p"))->icon, 2);
    // A number too large for any type reads as no icon, not as an error.
    EXPECT_EQ(copies::parseLibraryLine(record("1e999", "n", "d", "p"))->icon, std::nullopt);
}

TEST(LibraryRecord, FindsTheRecordOfItsOwnKeyOnly) {
    // A folder and a file inside it, and two discs whose names end alike.
    const std::string folder = record("1", "docs", "Tools", "F:\\docs");
    const std::string file = record("24", "a", "Tools", "F:\\docs\\a.txt");
    const std::string other = record("1", "docs", "[003]Tools", "F:\\docs");
    for (const std::string& text : {file + "\r\n" + other + "\r\n" + folder + "\r\n",
                                    folder + "\r\n" + other + "\r\n" + file + "\r\n"}) {
        const auto span = copies::findRecord(text, copies::libraryNodeKey("Tools", "F:\\docs"));
        ASSERT_TRUE(span);
        EXPECT_EQ(text.substr(span->begin, span->end - span->begin), folder);
    }
    EXPECT_FALSE(copies::findRecord(file, "Tools;|文件路径:F:\\docs"));
}

TEST(LibraryRecord, RemoveRecordCutsOneLine) {
    const std::string a = record("1", "a", "D", "E:\\a");
    const std::string b = record("1", "b", "D", "E:\\b");
    const std::string keyA = copies::libraryNodeKey("D", "E:\\a");
    const std::string keyB = copies::libraryNodeKey("D", "E:\\b");
    EXPECT_EQ(copies::removeRecord(a + "\r\n" + b + "\r\n", keyA), b + "\r\n");
    EXPECT_EQ(copies::removeRecord(a + "\r\n" + b + "\r\n", keyB), a + "\r\n");
    EXPECT_EQ(copies::removeRecord(a + "\r\n" + b, keyB), a + "\r\n");
    EXPECT_EQ(copies::removeRecord(a + "\r\n", keyA), "");
    EXPECT_EQ(copies::removeRecord(a, keyA), "");
    EXPECT_EQ(copies::removeRecord(a + "\r\n", keyB), a + "\r\n");
}

std::vector<std::string> describe(const platform::TreeView& tree) {
    std::vector<std::string> out;
    for (const auto& n : tree.nodes())
        out.push_back(n->text() + " [" + n->key() + "] " + std::to_string(n->image()));
    return out;
}

TEST(LibraryLoad, OneNodePerRecordInFileOrder) {
    Harness h;
    h.write(LibraryFile, record("1", "img", "[003]Tools", "F:\\docs\\img") + "\r\n   \r\n\r\n" +
                             record("24", "说明", "光盘", "F:\\说明.txt", "备注") + "\r\n" +
                             record("500", "odd", "D", "E:\\odd") + "\r\n");
    h.start();
    EXPECT_EQ(
        describe(h.form.TreeView4),
        (std::vector<std::string>{
            "img [[003]Tools;|文件路径:F:\\docs\\img] 1", "说明 [光盘;|文件路径:F:\\说明.txt] 24",
            // An icon outside the image list shows the picture of other files.
            "odd [D;|文件路径:E:\\odd] 7"}));
    EXPECT_TRUE(h.ui.log().empty());
}

TEST(LibraryLoad, ARepeatedKeyIsToldAndPassedOver) {
    Harness h;
    h.write(LibraryFile, record("1", "a", "D", "E:\\a") + "\r\n" +
                             record("1", "a", "D", "E:\\a", "new") + "\r\n" +
                             record("1", "b", "D", "E:\\b") + "\r\n" +
                             record("1", "b", "D", "E:\\b") + "\r\n");
    h.ui.answerMsgBox(platform::MsgOK, "已经存在该文件!");
    h.ui.answerMsgBox(platform::MsgOK, "已经存在该文件!");
    h.start();
    // The lines after a repeated key are loaded all the same.
    EXPECT_EQ(describe(h.form.TreeView4),
              (std::vector<std::string>{"a [D;|文件路径:E:\\a] 1", "b [D;|文件路径:E:\\b] 1"}));
    EXPECT_EQ(h.ui.log().at(0).title, "提示");
}

TEST(LibraryLoad, NoLibraryFileGivesAnEmptyTree) {
    Harness h;
    h.start();
    EXPECT_EQ(h.form.TreeView4.count(), 0);
    EXPECT_FALSE(h.exists(LibraryFile));
    EXPECT_TRUE(h.ui.log().empty());
}

}  // namespace
