// The sitemap files of the open disc ("生成当前光盘的目录树网页",
// "生成当前光盘的目录索引网页"): the nested contents, the flat index, the
// support files copied without replacing, and the refusal of any selection
// but the open disc's node.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/failing_step.h"
#include "support/outside_snapshot.h"
#include "web_steps.h"

using namespace web_test;
using Strings = std::vector<std::string>;

namespace {

const std::string ContentsHeader =
    "<HTML><!-- Sitemap 1.0 --><OBJECT type=\"text/site properties\"><param name=\"FrameName\" "
    "value=\"right\"></OBJECT>";
const std::string IndexHeader =
    "<HTML><HEAD><!-- Sitemap 1.0 --></HEAD><BODY><OBJECT type=\"text/site properties\"><param "
    "name=\"FrameName\" value=\"right\"><param name=\"ImageList\" value=\"\"></OBJECT><UL>";

std::string entry(const std::string& name, const std::string& local, bool first) {
    return std::string(first ? "<UL>" : "") +
           "<LI><OBJECT type=\"Text/sitemap\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT></LI>";
}
std::string indexEntry(const std::string& name, const std::string& local) {
    return "<LI><OBJECT type=\"Text/sitemap;\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>";
}

const std::string Contents = "C:\\zelbrin\\webhtml\\[003]Tools\\zelbrinleft1.hhc";
const std::string Index = "C:\\zelbrin\\webhtml\\[003]Tools\\zelbrinleft1.hhk";

TEST_F(WebPages, ContentsAndIndexOfACd) {
    clickDiscList({"[003]Tools"});
    popup("createhtmlcontent");
    popup("createhtmlindex");
    EXPECT_EQ(crlfLines(h.read(Contents)),
              (Strings{ContentsHeader, entry("[003]Tools", "ZelbrinIndex.html", true),
                       entry("docs", "docs\\ZelbrinIndex.html", true),
                       entry("img", "docs\\img\\ZelbrinIndex.html", true),
                       entry("old", "docs\\img\\old\\ZelbrinIndex.html", true), "</UL>",
                       entry("me@home", "docs\\me%40home\\ZelbrinIndex.html", false), "</UL>",
                       entry("pics", "pics\\ZelbrinIndex.html", false),
                       entry("img", "pics\\img\\ZelbrinIndex.html", true), "</UL>",
                       entry("2004", "2004\\ZelbrinIndex.html", false), "</UL>", "</UL></HTML>"}));
    EXPECT_EQ(crlfLines(h.read(Index)),
              (Strings{IndexHeader, indexEntry("docs", "docs\\ZelbrinIndex.html"),
                       indexEntry("img", "docs\\img\\ZelbrinIndex.html"),
                       indexEntry("old", "docs\\img\\old\\ZelbrinIndex.html"),
                       indexEntry("me@home", "docs\\me%40home\\ZelbrinIndex.html"),
                       indexEntry("pics", "pics\\ZelbrinIndex.html"),
                       indexEntry("img", "pics\\img\\ZelbrinIndex.html"),
                       indexEntry("2004", "2004\\ZelbrinIndex.html"), "</UL></HEAD></HTML>"}));
    EXPECT_TRUE(h.ui.messages().empty());
}

// A Name value is HTML-escaped, a Local value percent-encoded name by name.
TEST_F(WebPages, HardDiskFolderAndEscapedNames) {
    clickDiscList({"pop_hard"});
    popup("createhtmlcontent");
    EXPECT_EQ(crlfLines(h.read("C:\\zelbrin\\webhtml\\pop_hard\\zelbrinleft1.hhc")),
              (Strings{ContentsHeader, entry("pop_hard", "ZelbrinIndex.html", true),
                       entry("kpop", "kpop\\ZelbrinIndex.html", true),
                       entry("live", "kpop\\live\\ZelbrinIndex.html", true), "</UL>",
                       entry("live", "live\\ZelbrinIndex.html", false), "</UL>", "</UL></HTML>"}));
    clickDiscList({"[010]Odd"});
    popup("createhtmlindex");
    EXPECT_EQ(
        crlfLines(h.read("C:\\zelbrin\\webhtml\\[010]Odd\\zelbrinleft1.hhk")),
        (Strings{IndexHeader,
                 indexEntry("a&amp;b &#39;c&#39; #1", "a%26b%20%27c%27%20%231\\ZelbrinIndex.html"),
                 indexEntry("..", "..\\ZelbrinIndex.html"), "</UL></HEAD></HTML>"}));
    // A whole drive catalogued: no subfolder below "sub".
    clickDiscList({"d_hard"});
    popup("createhtmlcontent");
    EXPECT_EQ(crlfLines(h.read("C:\\zelbrin\\webhtml\\d_hard\\zelbrinleft1.hhc")),
              (Strings{ContentsHeader, entry("d_hard", "ZelbrinIndex.html", true),
                       entry("sub", "sub\\ZelbrinIndex.html", true), "</UL>", "</UL></HTML>"}));
}

TEST_F(WebPages, SupportFilesAreCopiedOnceAndNeverReplaced) {
    const char* files[] = {"cont.gif",           "nocont.gif",        "index.gif",
                           "noindex.gif",        "i386.cab",          "zelbrindefault.html",
                           "zelbrinindex1.html", "zelbrinindex2.html"};
    for (const char* name : files)
        h.write("C:\\zelbrin\\webmodel\\treeviewimage\\" + std::string(name), name);
    h.write("C:\\zelbrin\\webhtml\\image\\index.gif", "mine");
    clickDiscList({"[003]Tools"});
    popup("createhtmlindex");
    for (std::size_t i = 0; i < std::size(files); ++i) {
        const std::string folder =
            i < 5 ? "C:\\zelbrin\\webhtml\\image\\" : "C:\\zelbrin\\webhtml\\[003]Tools\\";
        EXPECT_EQ(h.read(folder + files[i]), i == 2 ? "mine" : files[i]) << files[i];
    }
    EXPECT_FALSE(h.exists(Contents));
    // The installed files of the program.
    const char* source = std::getenv("ZELBRIN_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    for (const char* name : files)
        EXPECT_GT(std::filesystem::file_size(std::filesystem::path(source) /
                                             "webmodel/webmodel/treeviewimage" / name),
                  40u)
            << name;
}

TEST_F(WebPages, OnlyTheOpenDiscNodeHasASitemap) {
    const std::string message = "请选择光盘节点!";
    auto refused = [&](const char* item) {
        h.ui.answerMsgBox(platform::MsgOK, message);
        popup(item);
        EXPECT_EQ(h.ui.log().back().title, "提示");
    };
    refused("createhtmlcontent");  // nothing selected
    EXPECT_FALSE(h.exists("C:\\zelbrin\\webhtml"));
    clickDiscList({"[003]Tools"});
    popup("createhtmlcontent");
    const std::string before = h.read(Contents);
    clickDiscList({"[003]Tools\\E:\\docs"});
    refused("createhtmlindex");
    // pop_hard selected by its number, not opened.
    for (char c : std::to_string(f().TreeView1.find("pop_hard*")->index()))
        f().TreeView1.userKeyPress(c);
    f().TreeView1.userKeyPress(13);
    ASSERT_EQ(f().TreeView1.selectedItem()->text(), "pop_hard");
    refused("createhtmlcontent");
    EXPECT_EQ(h.read(Contents), before);
    EXPECT_FALSE(h.exists("C:\\zelbrin\\webhtml\\pop_hard"));
    EXPECT_FALSE(h.exists(Index));
}

}  // namespace

namespace {

// Links out of webhtml at the disc's folder, the shared image folder, the
// sitemap file and a support file, and a support file's source leading out
// of the program folder: nothing outside changes (bytes, modes, new files),
// a refused folder is told once and a refused file by its path, and what
// stays inside is still written.
TEST_F(WebPages, SitemapsNeverWriteOutsideWebhtml) {
    namespace fs = std::filesystem;
    const char* support[] = {"cont.gif",           "nocont.gif",        "index.gif",
                             "noindex.gif",        "i386.cab",          "zelbrindefault.html",
                             "zelbrinindex1.html", "zelbrinindex2.html"};
    const std::string web = h.nativePath("C:\\zelbrin\\webhtml");
    const std::string outside = h.nativePath("C:\\outside");
    const std::string model = h.nativePath("C:\\zelbrin\\webmodel\\treeviewimage");
    const std::string Refused = "路径不在允许的文件夹里：";
    struct Case {
        const char* name;
        std::function<void()> link;  // made before the command
        std::string told;            // the one message; "" none
        bool sitemap;                // the sitemap file written
        bool images;                 // the shared support files copied
        bool discFiles;              // the disc's support files copied
    };
    const Case cases[] = {
        {"nothing", [] {}, "", true, true, true},
        {"disc folder",
         [&] { fs::create_directory_symlink(outside + "/folder", web + "/[003]Tools"); },
         Refused + "C:\\zelbrin\\webhtml\\[003]Tools", false, true, false},
        {"image folder", [&] { fs::create_directory_symlink(outside + "/folder", web + "/image"); },
         Refused + "C:\\zelbrin\\webhtml\\image", true, false, true},
        {"sitemap file",
         [&] {
             fs::create_directories(web + "/[003]Tools");
             fs::create_symlink(outside + "/file", web + "/[003]Tools/zelbrinleft1.hhc");
             fs::create_symlink(outside + "/file", web + "/[003]Tools/zelbrinleft1.hhk");
         },
         "*", false, true, true},
        {"support file",
         [&] {
             fs::create_directories(web + "/[003]Tools");
             fs::create_symlink(outside + "/file", web + "/[003]Tools/zelbrinindex1.html");
         },
         Refused + "C:\\zelbrin\\webhtml\\[003]Tools\\zelbrinindex1.html", true, true, true},
        {"support file, a link to nothing outside",
         [&] {
             fs::create_directories(web + "/[003]Tools");
             fs::create_symlink(outside + "/none", web + "/[003]Tools/zelbrinindex2.html");
         },
         Refused + "C:\\zelbrin\\webhtml\\[003]Tools\\zelbrinindex2.html", true, true, true},
        {"support file's source",
         [&] {
             fs::remove(model + "/cont.gif");
             fs::create_symlink(outside + "/file", model + "/cont.gif");
         },
         Refused + "C:\\zelbrin\\webmodel\\treeviewimage\\cont.gif", true, true, true},
    };
    for (const char* item : {"createhtmlcontent", "createhtmlindex"}) {
        const std::string sitemap = web + "/[003]Tools/zelbrinleft1." +
                                    (item == std::string("createhtmlcontent") ? "hhc" : "hhk");
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(item) + ": " + c.name);
            fs::remove_all(web);
            fs::remove_all(outside);
            fs::remove_all(model);
            for (const char* name : support)
                h.write("C:\\zelbrin\\webmodel\\treeviewimage\\" + std::string(name), name);
            h.write("C:\\outside\\file", "outside");
            fs::permissions(outside + "/file", fs::perms::owner_read);
            h.makeFolder("C:\\outside\\folder");
            fs::create_directories(web);
            c.link();
            const auto before = testsupport::outsideSnapshot(outside);
            clickDiscList({"[003]Tools"});
            h.ui.clearLog();
            if (!c.told.empty()) h.ui.answerMsgBox(platform::MsgOK);
            popup(item);
            h.ui.verifyAllUsed();
            EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
            const std::string told =
                c.told == "*" ? Refused + "C:\\zelbrin\\webhtml\\[003]Tools\\zelbrinleft1." +
                                    sitemap.substr(sitemap.size() - 3)
                              : c.told;
            EXPECT_EQ(h.ui.messages(), told.empty() ? Strings{} : Strings{told});
            EXPECT_EQ(fs::is_regular_file(fs::symlink_status(sitemap)), c.sitemap);
            for (std::size_t i = 0; i < std::size(support); ++i) {
                const std::string file = web + (i < 5 ? "/image/" : "/[003]Tools/") + support[i];
                const bool linkedOut = fs::is_symlink(file);
                const bool expected = (i < 5 ? c.images : c.discFiles) &&
                                      !(i == 0 && c.told.find("cont.gif") != std::string::npos);
                if (!linkedOut) {
                    EXPECT_EQ(fs::is_regular_file(file), expected) << support[i];
                }
            }
        }
    }
}

}  // namespace

namespace {

// A sitemap on a disk that fails, at each step of a commit before its rename
// (full, a device error): the sitemap and every support file are named with
// the reason in one box, the old sitemap keeps its bytes and no temporary
// file is left; a folder that cannot be made is told once and nothing goes
// into it; a support file whose source is missing is named as not read and
// the others are copied.
TEST_F(WebPages, SitemapFailuresAreToldWithTheirReasons) {
    namespace fs = std::filesystem;
    const std::string web = "C:\\zelbrin\\webhtml\\";
    const std::string disc = web + "[003]Tools\\";
    const auto cannotSave = [](const std::string& path, int number) {
        return "不能保存文件: " + path + platform::errorText(number);
    };
    const auto supportTargets = [&] {
        Strings out;
        for (std::size_t i = 0; i < std::size(webpages::SupportFiles); ++i)
            out.push_back((i < webpages::SharedSupportFiles ? web + "image\\" : disc) +
                          std::string(webpages::SupportFiles[i]));
        return out;
    };
    clickDiscList({"[003]Tools"});
    for (const testsupport::StepFailure& failure : testsupport::commitFailures()) {
        SCOPED_TRACE(failure.name());
        fs::remove_all(h.nativePath("C:\\zelbrin\\webhtml"));
        h.write(Contents, "old sitemap");
        h.makeFolder(web + "image");
        h.ui.clearLog();
        {
            const testsupport::FailingStep failing(failure);
            h.ui.answerMsgBox(platform::MsgOK);
            popup("createhtmlcontent");
        }
        std::string told = cannotSave(Contents, failure.number);
        for (const std::string& target : supportTargets())
            told += "\r\n" + cannotSave(target, failure.number);
        EXPECT_EQ(h.ui.messages(), Strings{told});
        EXPECT_EQ(h.read(Contents), "old sitemap");
        EXPECT_EQ(pageTree(), (Strings{"[003]Tools/", "[003]Tools/zelbrinleft1.hhc", "image/"}));
        EXPECT_EQ(testsupport::tempFilesIn(h.nativePath("C:\\zelbrin\\webhtml")), Strings{});
    }

    // The folders cannot be made.
    fs::remove_all(h.nativePath("C:\\zelbrin\\webhtml"));
    h.makeFolder("C:\\zelbrin\\webhtml");
    h.ui.clearLog();
    {
        const testsupport::FailingStep failing(
            {platform::files::CommitStep::MakeFolder, platform::err::DiskFull});
        h.ui.answerMsgBox(platform::MsgOK);
        popup("createhtmlcontent");
    }
    EXPECT_EQ(h.ui.messages(), Strings{cannotSave(web + "image", platform::err::DiskFull) + "\r\n" +
                                       cannotSave(Contents, platform::err::DiskFull)});
    EXPECT_EQ(pageTree(), Strings{});

    // A support file's source missing.
    fs::remove(h.nativePath("C:\\zelbrin\\webmodel\\treeviewimage\\cont.gif"));
    h.ui.clearLog();
    h.ui.answerMsgBox(platform::MsgOK,
                      "不能读取文件: C:\\zelbrin\\webmodel\\treeviewimage\\cont.gif文件未找到");
    popup("createhtmlcontent");
    EXPECT_FALSE(h.exists(web + "image\\cont.gif"));
    EXPECT_EQ(h.read(web + "image\\nocont.gif"), "nocont.gif");
    EXPECT_EQ(h.read(disc + "zelbrinindex2.html"), "zelbrinindex2.html");
    EXPECT_TRUE(h.exists(Contents));
}

}  // namespace
