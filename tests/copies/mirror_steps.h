// The discs and steps shared by the tests of mirror copies: a CD catalogued
// as "[005]Photos" (scanned from drive F:, now in the CD drive E:) and a
// hard-disk folder C:\music\pop catalogued as "music_hard", the catalogue
// that files them, and the copy command answered as a user answers it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "copies/copy_dialog.h"
#include "mainwindow/form1.h"
#include "mainwindow/module1.h"
#include "platform/controls/treeview.h"
#include "platform/ui/ui.h"
#include "support/harness.h"

namespace mirror_test {

inline constexpr std::string_view Photos = "[005]Photos";
inline constexpr std::string_view Music = "music_hard";
inline constexpr const char* PhotosIndex = "C:\\zelbrin\\guangpan\\[005]Photos.wcd";
inline constexpr const char* MusicIndex = "C:\\zelbrin\\guangpan\\music_hard.wcd";
inline constexpr const char* RedIni = "C:\\zelbrin\\red.ini";
inline constexpr const char* SizeIni = "C:\\zelbrin\\size.ini";
inline constexpr const char* Target = "C:\\mirror\\[005]Photos";

inline std::string lines(const std::vector<std::string_view>& ls) {
    std::string out;
    for (std::string_view l : ls) out.append(l).append("\r\n");
    return out;
}

// An earlier "a.txt.bak" line, a line ticked twice (unticked), a line
// already mirrored and one ticked three times.
inline const std::vector<std::string_view> PhotosLines = {
    "F:\\|docs",
    "F:\\c.txt[5]($)",
    "F:\\b.txt[10]($)($)",
    "F:\\docs\\|img",
    "F:\\docs\\a.txt.bak[3]",
    "F:\\docs\\a.txt[4]($)",
    "F:\\docs\\m.txt[7]($){C:\\old\\docs\\m.txt}",
    "F:\\docs\\img\\a.jpg[800]($)",
    "F:\\docs\\img\\z.txt[1]($)($)($)",
};

inline const std::vector<std::string_view> MusicLines = {
    "C:\\music\\pop\\|live",
    "C:\\music\\pop\\top.mp3[100]($)",
    "C:\\music\\pop\\live\\gone.mp3[8]($)",
    "C:\\music\\pop\\live\\a.mp3[7]($)",
    "C:\\music\\pop\\live\\b.mp3[9]($)($)",
};

inline constexpr std::string_view Catalogue =
    "|照片\r\n#[005]Photos#5#照片盘#\r\n|音乐\r\n#music_hard#6#流行歌曲#\r\n";

// The two discs, the catalogue, the lists and the files of the disc in the
// drive and of the catalogued folder, before the start.
inline void writeDiscs(testsupport::Harness& h) {
    h.write(PhotosIndex, lines(PhotosLines));
    h.write(MusicIndex, lines(MusicLines));
    h.write("C:\\zelbrin\\ini.ini", Catalogue);
    h.write(RedIni, "Other\r\n");
    h.write(SizeIni, " 1000\r\n");
    // The disc in the drive.
    h.write("E:\\c.txt", "ccccc");
    h.write("E:\\b.txt", "bbbbbbbbbb");
    h.write("E:\\docs\\a.txt.bak", "bak");
    h.write("E:\\docs\\a.txt", "aaaa");
    h.write("E:\\docs\\m.txt", "mmmmmmm");
    h.write("E:\\docs\\img\\a.jpg", std::string(800, 'j'));
    h.write("E:\\docs\\img\\z.txt", "z");
    // The catalogued hard-disk folder.
    h.write("C:\\music\\pop\\top.mp3", "top");
    h.write("C:\\music\\pop\\live\\a.mp3", "live-a");
    h.write("C:\\music\\pop\\live\\b.mp3", "live-b");
}

// The disc list shown and the disc's node clicked (the disc is opened).
inline void openDiscIn(testsupport::Harness& h, std::string_view disc) {
    Form1& f = h.form;
    if (!f.TreeView1.visible()) f.TabStrip1.userSelect(2);
    platform::Node* node = nullptr;
    for (const auto& n : f.TreeView1.nodes())
        if (n->fullPath() == disc) node = n.get();
    ASSERT_NE(node, nullptr) << disc;
    f.TreeView1.userClickNode(*node);
}

// Queues the answers of a run: Yes to the disc's name, then the dialog with
// the target typed (nothing typed for an empty target) and OK.
inline void answerRunIn(testsupport::Harness& h, std::string_view disc, std::string target) {
    h.ui.answerMsgBox(platform::MsgYes, "要拷贝的光盘名是" + std::string(disc) + "！是否正确？");
    h.ui.onModal<copy>([target](copy& d) {
        d.Text1.userType(target);
        d.OKButton.userClick();
    });
}

class MirrorCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        writeDiscs(h);
        h.start();
    }

    Form1& f() { return h.form; }

    void openDisc(std::string_view disc) { openDiscIn(h, disc); }
    void answerRun(std::string_view disc, std::string target) {
        answerRunIn(h, disc, std::move(target));
    }

    // A whole run from the menu item.
    void copyTo(std::string_view disc, std::string target) {
        answerRun(disc, std::move(target));
        f().copytag.userClick();
    }

    std::string setting(std::string_view name) {
        return f().module1().GetRegValue(SettingsKey, name);
    }

    platform::Node& discNode(std::string_view disc) {
        platform::Node* node = f().TreeView1.find(std::string(disc) + "*");
        EXPECT_NE(node, nullptr) << disc;
        return *node;
    }

    // The message boxes shown, as "title: prompt".
    std::vector<std::string> boxes() const {
        std::vector<std::string> out;
        for (const auto& s : h.ui.log())
            if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
        return out;
    }

    bool writable(std::string_view windowsPath) const {
        const auto perms = std::filesystem::status(h.nativePath(windowsPath)).permissions();
        return (perms & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
    }

    testsupport::Harness h;
};

}  // namespace mirror_test
