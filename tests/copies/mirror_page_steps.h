// The disc and steps shared by the tests of removing and opening mirror
// copies: the CD "[003]Photos" scanned from E:, some of whose files were
// copied to C:\copies\[003]Photos (their copies are on the hard disk, their
// lines carry the mirror suffix), the mirror disc list naming it beside
// discs whose names hold it, and a copied-size total.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "copies/mirror_folders.h"
#include "discpage/disc_page_steps.h"
#include "mainwindow/form1.h"
#include "support/harness.h"
#include "support/temp_folder.h"

namespace mirror_page_test {

using disc_page_test::indexPath;
using disc_page_test::lines;
using disc_page_test::node;
using disc_page_test::row;
using Strings = std::vector<std::string>;

inline constexpr std::string_view Photos = "[003]Photos";
inline constexpr std::string_view CopyFolder = "C:\\copies\\[003]Photos";
inline constexpr std::string_view MirrorList = "C:\\zelbrin\\red.ini";
inline constexpr std::string_view SizeFile = "C:\\zelbrin\\size.ini";
inline constexpr std::string_view Img = "[003]Photos\\E:\\docs\\img";

// The index: a.jpg.bak comes before a.jpg and holds its path; a name and a
// folder hold "($)"; noext has no extension; b.jpg was ticked twice (not
// ticked) and plain.txt is ticked without a copy.
inline const std::vector<std::string_view> PhotosIndex = {
    "E:\\|docs",
    "E:\\|a($)b",
    "E:\\root.txt[5]($){C:\\copies\\[003]Photos\\root.txt}",
    "E:\\plain.txt[7]($)",
    "E:\\docs\\|img",
    "E:\\docs\\img\\a.jpg.bak[300]($){C:\\copies\\[003]Photos\\docs\\img\\a.jpg.bak}",
    "E:\\docs\\img\\a.jpg[800]($){C:\\copies\\[003]Photos\\docs\\img\\a.jpg}",
    "E:\\docs\\img\\b.jpg[100]($)($)",
    "E:\\docs\\img\\noext[40]($)($)($){C:\\copies\\[003]Photos\\docs\\img\\noext}",
    "E:\\a($)b\\c($).txt[9]($){C:\\copies\\[003]Photos\\a($)b\\c($).txt}",
};

// The copies on the hard disk, below the copy folder.
inline const std::vector<std::string_view> Copies = {
    "root.txt", "docs\\img\\a.jpg.bak", "docs\\img\\a.jpg", "docs\\img\\noext", "a($)b\\c($).txt",
};

// A second CD, "[004]Twins", all of whose files have copies: case twins of
// one size and of two sizes, names holding "($)", "[", "{" and "@", and names
// beginning with a digit or with "noStr" and a digit.
inline constexpr std::string_view Twins = "[004]Twins";
inline constexpr std::string_view TwinsCopyFolder = "C:\\copies\\[004]Twins\\d";
inline const std::vector<std::string_view> TwinsNames = {
    "A.jpg",    "a.jpg",    "B.JPG",       "b.jpg",      "許($).jpg",
    "x[1].jpg", "y{z}.jpg", "me@home.jpg", "noStr5.jpg", "5.jpg",
};
inline const std::vector<std::string_view> TwinsSizes = {"5", "5",  "6",  "7",  "8",
                                                         "9", "10", "11", "12", "12"};

// The twins' index line of name i, its marks "($)" and, unless without, its
// mirror suffix.
inline std::string twinsLine(std::size_t i, bool mirrored = true) {
    std::string line =
        "E:\\d\\" + std::string(TwinsNames[i]) + "[" + std::string(TwinsSizes[i]) + "]($)";
    if (mirrored)
        line += "{" + std::string(TwinsCopyFolder) + "\\" + std::string(TwinsNames[i]) + "}";
    return line;
}
// The twins' index, the line of name `plain` without its mirror suffix.
inline std::string twinsIndex(std::size_t plain = TwinsNames.size()) {
    std::string text = "E:\\|d\r\n";
    for (std::size_t i = 0; i < TwinsNames.size(); ++i) text += twinsLine(i, i != plain) + "\r\n";
    return text;
}

inline constexpr std::string_view Catalogue =
    "|图片\r\n#[003]Photos#3#照片#\r\n#[003]Photos2#4##\r\n";
inline constexpr std::string_view MirrorListText = "[003]Photos2\r\n[003]Photos\r\nOther\r\n";

inline std::string copyPath(std::string_view below) {
    return std::string(CopyFolder) + "\\" + std::string(below);
}

// The index with line i replaced.
inline std::string photosWith(std::size_t i, std::string_view line) {
    std::vector<std::string_view> ls = PhotosIndex;
    ls[i] = line;
    return lines(ls);
}

// A harness holding the disc, its copies, the mirror disc list and a total
// of 5000 bytes, started.
class MirrorPage : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(indexPath(Photos), lines(PhotosIndex));
        h.write(indexPath("[003]Photos2"), "E:\\x.txt[1]\r\n");
        h.write("C:\\zelbrin\\ini.ini", Catalogue);
        h.write(MirrorList, MirrorListText);
        h.write(SizeFile, " 5000\r\n");
        for (std::string_view c : Copies) h.write(copyPath(c), std::string(c));
        h.start();
        // The copy dialog keeps the folder the copies were made in, and the
        // copy run the folder it copied into.
        f().module1().CreateRegKey(SettingsKey);
        f().module1().SetRegValue(SettingsKey, "Path", "C:\\copies\\");
        recordCopyFolder(CopyFolder);
    }
    // The folder joins those copy runs copied into, as a run records it.
    void recordCopyFolder(std::string_view folder) {
        copies::recordMirrorFolder(f().app().settings,
                                   platform::files::ConfinedRoot::open(folder).resolvedPath());
    }
    Form1& f() { return h.form; }
    // Shows the page 光盘 and clicks the nodes of these full paths in turn.
    void clickDiscList(const std::vector<std::string_view>& paths) {
        if (!f().TreeView1.visible()) f().TabStrip1.userSelect(disc_page_test::DiscTab);
        for (std::string_view p : paths) f().TreeView1.userClickNode(node(f().TreeView1, p));
    }
    // Right-click on the row of that text and choose the pop-up's item.
    void chooseOnRow(std::string_view text, const std::string& item) {
        h.ui.choosePopup(item);
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(f(), text));
    }
    std::string index() const { return h.read(indexPath(Photos)); }
    // The copy folder as its run left it, then the name below it (the
    // folder itself for "") made a link to a file or folder outside (a name
    // ending ".jpg" is a file); the link's native path. Outside: the files
    // C:\elsewhere\a.jpg and C:\elsewhere\img\a.jpg.
    std::string copiesWithLink(std::string_view below, std::string_view outside) {
        namespace fs = std::filesystem;
        h.write("C:\\elsewhere\\img\\a.jpg", "keep");
        h.write("C:\\elsewhere\\a.jpg", "keep");
        fs::remove_all(h.nativePath(CopyFolder));
        for (std::string_view copy : Copies) h.write(copyPath(copy), std::string(copy));
        const std::string link =
            below.empty() ? h.nativePath(CopyFolder) : h.nativePath(copyPath(below));
        fs::remove_all(link);
        if (outside.ends_with(".jpg"))
            fs::create_symlink(h.nativePath(outside), link);
        else
            fs::create_directory_symlink(h.nativePath(outside), link);
        return link;
    }
    // The copies still on the hard disk.
    Strings copiesLeft() const {
        Strings out;
        for (std::string_view c : Copies)
            if (h.exists(copyPath(c))) out.emplace_back(c);
        return out;
    }
    // The message boxes shown, as "title: prompt".
    Strings boxes() const {
        Strings out;
        for (const auto& s : h.ui.log())
            if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
        return out;
    }
    bool red(const platform::ListItem& r) { return r.foreColor() == f().CopyFileColor; }

    // Writes the twins' index and copies (by their native names: a Windows
    // path finds a file of another letter case when its own is missing) and
    // lists the disc's folder d.
    void listTwins() {
        h.write(indexPath(Twins), twinsIndex());
        h.makeFolder(TwinsCopyFolder);
        recordCopyFolder("C:\\copies\\[004]Twins");
        for (std::string_view name : TwinsNames)
            testsupport::writeBytes(twinCopy(name), std::string(name));
        f().refresh1_Click();
        clickDiscList({Twins, "[004]Twins\\E:\\d"});
    }
    std::string twinCopy(std::string_view name) const {
        return h.nativePath(TwinsCopyFolder) + "/" + std::string(name);
    }
    // The twins' copies still on the hard disk.
    Strings twinCopiesLeft() const {
        Strings out;
        for (std::string_view name : TwinsNames)
            if (std::filesystem::exists(twinCopy(name))) out.emplace_back(name);
        return out;
    }
    // The row of the twins' name i.
    platform::ListItem& twinRow(std::size_t i) {
        // Names beginning with a digit, or with "noStr" and a digit, are keyed
        // with the prefix "noStr".
        const std::string key = std::string(i + 2 >= TwinsNames.size() ? "noStr" : "") +
                                std::string(TwinsNames[i]) + "[" + std::string(TwinsSizes[i]) +
                                "]($)";
        platform::ListItem* r = f().ListView1.find(key);
        if (!r) ADD_FAILURE() << "no row keyed " << key;
        return r ? *r : f().ListView1.item(1);
    }

    testsupport::Harness h;
};

}  // namespace mirror_page_test
