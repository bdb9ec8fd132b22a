// Names that differ only in letter case, which a Linux disk keeps apart: a
// catalogued hard-disk folder C:\twins holding a.TXT ("UPPER", 5 bytes)
// beside a.txt ("lower!", 6 bytes), p.HTM beside p.htm, README.TXT, and the
// ticked s.MP3 beside s.mp3; a CD
// whose index holds the folders Docs and docs; and the discs "abc" and "ABC".
// The file list shows the rows a.TXT and a.txt alike (text "a", type "txt"):
// only the row's key tells them apart.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "discpage/disc_page_steps.h"
#include "platform/text/text.h"
#include "support/temp_folder.h"

namespace case_twins {

using disc_page_test::indexPath;
using disc_page_test::lines;

inline constexpr std::string_view Twins = "twins_hard";
inline const std::vector<std::string_view> TwinsIndex = {
    "C:\\twins\\a.TXT[5]",    "C:\\twins\\a.txt[6]",      "C:\\twins\\p.HTM[9]",
    "C:\\twins\\p.htm[10]",   "C:\\twins\\README.TXT[4]", "C:\\twins\\s.MP3[3]($)",
    "C:\\twins\\s.mp3[4]($)",
};

inline constexpr std::string_view Folders = "[005]Folders";
inline const std::vector<std::string_view> FoldersIndex = {
    "E:\\|Docs", "E:\\|docs", "E:\\Docs\\a.txt[1]", "E:\\Docs\\b.txt[2]", "E:\\docs\\c.txt[4]",
};

inline constexpr std::string_view Lower = "abc";
inline constexpr std::string_view Upper = "ABC";
inline const std::vector<std::string_view> LowerIndex = {"E:\\low.txt[1]"};
inline const std::vector<std::string_view> UpperIndex = {"E:\\up.txt[2]"};

inline constexpr std::string_view Catalogue =
    "|盘\r\n#twins_hard#1#孪生#\r\n#[005]Folders#5#目录#\r\n#abc#6#小写#\r\n#ABC#7#大写#\r\n";

// Writes the file name in the folder, by its own spelling: a Windows path
// would find a name spelt alike but for letter case.
inline void writeIn(testsupport::Harness& h, std::string_view folder, std::string_view name,
                    std::string_view utf8) {
    h.makeFolder(folder);
    testsupport::writeBytes(std::filesystem::path(h.nativePath(folder)) / std::string(name),
                            platform::text::toCp936(utf8));
}

// Writes the discs, their catalogue and the files of C:\twins.
inline void writeTwins(testsupport::Harness& h) {
    const std::string guangpan = "C:\\zelbrin\\guangpan";
    writeIn(h, guangpan, "twins_hard.wcd", lines(TwinsIndex));
    writeIn(h, guangpan, "[005]Folders.wcd", lines(FoldersIndex));
    writeIn(h, guangpan, "abc.wcd", lines(LowerIndex));
    writeIn(h, guangpan, "ABC.wcd", lines(UpperIndex));
    h.write("C:\\zelbrin\\ini.ini", Catalogue);
    for (const auto& [name, text] : std::vector<std::pair<std::string_view, std::string_view>>{
             {"a.TXT", "UPPER"},
             {"a.txt", "lower!"},
             {"p.HTM", "<p>UPPER</p>"},
             {"p.htm", "<p>lower!</p>"},
             {"README.TXT", "read"},
             {"s.MP3", "MP3"},
             {"s.mp3", "mp3!"},
         })
        writeIn(h, "C:\\twins", name, text);
}

// The row of that key (without its noStr prefix); fails the test when there
// is none.
inline platform::ListItem& rowOfKey(const Form1& form, std::string_view key) {
    for (const auto& r : form.ListView1.items())
        if (r->key() == key) return *r;
    ADD_FAILURE() << "no row " << key;
    throw std::runtime_error("no row");
}

// The texts of the rows, in display order.
inline std::vector<std::string> rowTexts(const Form1& form) {
    std::vector<std::string> out;
    for (const auto& r : form.ListView1.items()) out.push_back(r->text() + "." + r->subItem(1));
    return out;
}

// A harness holding the twins, started; clicks go through the disc list.
class CaseTwins : public ::testing::Test {
  protected:
    void SetUp() override {
        writeTwins(h);
        h.start();
    }
    Form1& f() { return h.form; }
    void clickDiscList(const std::vector<std::string_view>& paths) {
        if (!f().TreeView1.visible()) f().TabStrip1.userSelect(disc_page_test::DiscTab);
        for (std::string_view p : paths)
            f().TreeView1.userClickNode(disc_page_test::node(f().TreeView1, p));
    }
    // Chooses a command of the file list's pop-up on the row of that key.
    void onRow(std::string_view key, std::string item) {
        platform::ListItem& row = rowOfKey(f(), key);
        h.ui.choosePopup(std::move(item));
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row);
    }

    testsupport::Harness h;
};

}  // namespace case_twins
