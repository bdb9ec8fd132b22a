// The discs and steps shared by the tests that drive the disc page through
// Form1: a CD catalogued as "[003]Tools" (names with brackets, digits first,
// "@", Chinese and GBK trail-byte characters, ticks and a mirror copy) and a
// hard-disk folder C:\music\pop catalogued as "pop_hard" (whose "kpop\live"
// comes before "live" in the index), the catalogue that files them, and the
// views of the trees and the file list the tests compare.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/form1.h"
#include "platform/controls/listview.h"
#include "platform/controls/treeview.h"
#include "support/harness.h"

namespace disc_page_test {

inline constexpr std::string_view Tools = "[003]Tools";
inline constexpr std::string_view Pop = "pop_hard";
enum Tab { CategoryTab = 1, DiscTab = 2 };

inline std::string lines(const std::vector<std::string_view>& ls) {
    std::string out;
    for (std::string_view l : ls) {
        out += l;
        out += "\r\n";
    }
    return out;
}

inline const std::vector<std::string_view> ToolsIndex = {
    "E:\\|docs",
    "E:\\|pics",
    "E:\\|2004",
    "E:\\setup.exe[900]",
    "E:\\.profile[20]",
    "E:\\1.txt[5]",
    "E:\\docs\\|img",
    "E:\\docs\\|me@home",
    "E:\\docs\\Readme.TXT[3000]($)",
    "E:\\docs\\a.txt[10]($){C:\\copies\\docs\\a.txt}",
    "E:\\docs\\a.txt.bak[3]",
    "E:\\docs\\README[12]",
    "E:\\docs\\archive.tar.gz[1572864]",
    "E:\\docs\\誠遊許.jpeg[2048]($)($)",
    "E:\\docs\\img\\|old",
    "E:\\docs\\img\\b.gif[2048]",
    "E:\\docs\\img\\old\\c.wmf[100]",
    "E:\\docs\\me@home\\x.mp3[4096]",
    "E:\\pics\\|img@",
    "E:\\pics\\img\\d.jpg[55]",
    "E:\\2004\\y.txt[7]",
};

inline const std::vector<std::string_view> PopIndex = {
    "C:\\music\\pop\\|kpop",
    "C:\\music\\pop\\|live",
    "C:\\music\\pop\\top.mp3[100]",
    "C:\\music\\pop\\kpop\\|live@",
    "C:\\music\\pop\\kpop\\live\\a.mp3[7]",
    "C:\\music\\pop\\live\\a.mp3[7]",
    "C:\\music\\pop\\live\\b.mp3[8]",
};

inline constexpr std::string_view Catalogue =
    "|软件\r\n#[003]Tools#3#工具盘&&2024-5-6#\r\n|音乐\r\n@流行\r\n#pop_hard#8#流行歌曲#\r\n";

inline std::string discFile(std::string_view disc, std::string_view extension) {
    return "C:\\zelbrin\\guangpan\\" + std::string(disc) + std::string(extension);
}
inline std::string indexPath(std::string_view disc) { return discFile(disc, ".wcd"); }

// The node of that full path; fails the test when there is none.
inline platform::Node& node(const platform::TreeView& tree, std::string_view fullPath) {
    for (const auto& n : tree.nodes())
        if (n->fullPath() == fullPath) return *n;
    ADD_FAILURE() << "no node " << fullPath;
    throw std::runtime_error("no node");
}

// The full path of every node, in order.
inline std::vector<std::string> nodePaths(const platform::TreeView& tree) {
    std::vector<std::string> out;
    for (const auto& n : tree.nodes()) out.push_back(n->fullPath());
    return out;
}

// A row as the tests compare it: key | text | type | size | remark | usage |
// icon, then "✓" when checked and "red" in the mirror colour.
inline std::string rowText(const Form1& form, const platform::ListItem& r) {
    std::string s = r.key() + " | " + r.text();
    for (int i = 1; i <= 4; ++i) s += " | " + r.subItem(i);
    s += " | " + std::to_string(r.smallIcon());
    if (r.checked()) s += " ✓";
    if (r.foreColor() == form.CopyFileColor) s += " red";
    return s;
}

// The rows in display order.
inline std::vector<std::string> rows(const Form1& form) {
    std::vector<std::string> out;
    for (const auto& r : form.ListView1.items()) out.push_back(rowText(form, *r));
    return out;
}

// The row of that text; fails the test when there is none.
inline platform::ListItem& row(const Form1& form, std::string_view text) {
    for (const auto& r : form.ListView1.items())
        if (r->text() == text) return *r;
    ADD_FAILURE() << "no row " << text;
    throw std::runtime_error("no row");
}

// A harness holding both discs in its catalogue, started.
class DiscPage : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(indexPath(Tools), lines(ToolsIndex));
        h.write(indexPath(Pop), lines(PopIndex));
        h.write("C:\\zelbrin\\ini.ini", Catalogue);
        h.start();
    }
    Form1& f() { return h.form; }
    // Shows the page 光盘 and clicks the nodes of these full paths in turn.
    void clickDiscList(const std::vector<std::string_view>& paths) {
        if (!f().TreeView1.visible()) f().TabStrip1.userSelect(DiscTab);
        for (std::string_view p : paths) f().TreeView1.userClickNode(node(f().TreeView1, p));
    }
    void clickCategoryTree(const std::vector<std::string_view>& paths) {
        if (!f().TreeView2.visible()) f().TabStrip1.userSelect(CategoryTab);
        for (std::string_view p : paths) f().TreeView2.userClickNode(node(f().TreeView2, p));
    }
    std::string index(std::string_view disc) const { return h.read(indexPath(disc)); }

    testsupport::Harness h;
};

}  // namespace disc_page_test
