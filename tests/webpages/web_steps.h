// The discs and steps of the web page tests: the disc page's two discs, a
// CD whose names need escaping and whose index names a folder "..", and a
// catalogued whole drive D:; the commands chosen from the disc list's
// pop-up menu as the user does.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "discpage/disc_page_steps.h"
#include "webpages/sitemap.h"

namespace web_test {

using namespace disc_page_test;

inline constexpr std::string_view Odd = "[010]Odd";
inline const std::vector<std::string_view> OddIndex = {
    "E:\\|a&b 'c' #1",
    "E:\\|..",
    "E:\\top.txt[4]",
    "E:\\a&b 'c' #1\\q&a %1.txt[10]",
    "E:\\a&b 'c' #1\\图 片.jpg[3000]",
    "E:\\..\\x.txt[1]",
};
inline constexpr std::string_view Whole = "d_hard";
inline const std::vector<std::string_view> WholeIndex = {
    "D:\\|sub",
    "D:\\root.txt[3]",
    "D:\\sub\\f.txt[5]",
};

inline const std::string FileError =
    "可能有以下原因:\r\n1.你放错了光盘或者光驱中无光盘！\r\n2.硬盘上可能已经有同名文件！\r\n"
    "3.光盘或光驱有问题，读不出文件！";
inline constexpr std::string_view ErrorTitle = "出现错误，请仔细检查！";

inline std::string pagePath(std::string_view below) {
    return "C:\\zelbrin\\webhtml\\" + std::string(below) + "ZelbrinIndex.html";
}

// The lines of a text ended by CR LF (fails the test on a bare LF).
inline std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t at = text.find("\r\n", from);
        if (at == std::string::npos) {
            ADD_FAILURE() << "no CR LF at the end";
            out.push_back(text.substr(from));
            break;
        }
        out.push_back(text.substr(from, at - from));
        from = at + 2;
    }
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'));
    return out;
}

class WebPages : public ::testing::Test {
  protected:
    void SetUp() override {
        prepare();
        h.write(indexPath(Tools), lines(ToolsIndex));
        h.write(indexPath(Pop), lines(PopIndex));
        h.write(indexPath(Odd), lines(OddIndex));
        h.write(indexPath(Whole), lines(WholeIndex));
        h.write("C:\\zelbrin\\ini.ini", std::string(Catalogue) + "|杂\r\n#" + std::string(Odd) +
                                            "#10#杂#\r\n#" + std::string(Whole) + "#11#整盘#\r\n" +
                                            extraCatalogue);
        // The sitemap's support files, installed in the program folder.
        for (std::string_view name : webpages::SupportFiles)
            h.write("C:\\zelbrin\\webmodel\\treeviewimage\\" + std::string(name), name);
        h.makeFolder("C:\\ddrive");
        h.drives().set({.name = "D:", .folder = h.nativePath("C:\\ddrive")});
        h.start();
    }
    // A test's own discs: their files, and their catalogue lines in extraCatalogue.
    virtual void prepare() {}
    Form1& f() { return h.form; }

    void clickDiscList(const std::vector<std::string_view>& paths) {
        if (!f().TreeView1.visible()) f().TabStrip1.userSelect(DiscTab);
        for (std::string_view p : paths) f().TreeView1.userClickNode(node(f().TreeView1, p));
    }
    // A command of the disc list's pop-up menu, on the node selected before.
    void popup(std::string item) {
        h.ui.choosePopup(std::move(item));
        f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
    }
    void generate() { popup("createhtml111"); }
    // A menu item that shows one message box (title "提示").
    void clickWithMessage(platform::MenuItem& item, std::string_view message) {
        h.ui.answerMsgBox(platform::MsgOK, std::string(message));
        item.userClick();
        EXPECT_EQ(h.ui.log().back().title, "提示");
    }
    std::vector<std::string> page(std::string_view below) {
        return crlfLines(h.read(pagePath(below)));
    }
    // The files below the program folder's page tree, relative, sorted.
    std::vector<std::string> pageTree() const {
        namespace fs = std::filesystem;
        std::vector<std::string> out;
        const fs::path root = h.nativePath("C:\\zelbrin\\webhtml");
        if (!fs::exists(root)) return out;
        for (const auto& e : fs::recursive_directory_iterator(root))
            out.push_back(fs::relative(e.path(), root).string() + (e.is_directory() ? "/" : ""));
        std::sort(out.begin(), out.end());
        return out;
    }

    testsupport::Harness h;
    std::string extraCatalogue;
};

}  // namespace web_test
