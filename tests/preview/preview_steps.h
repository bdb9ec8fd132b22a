// The discs and steps shared by the tests of previewing files: a CD
// "[007]Media" scanned from drive F: (so previewed from the CD drive E:),
// holding a file of every viewer's kind, files with and without mirror copies
// (a.txt.bak's line, with its own copy, comes before a.txt's) and a file named
// like a folder with a dot; and a hard-disk folder C:\stuff\music catalogued
// as "songs_hard". The pane is open on the disc page once the fixture starts.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "discpage/disc_page_steps.h"
#include "mainwindow/form1.h"
#include "search/find_dialog.h"
#include "support/harness.h"

namespace preview_test {

using disc_page_test::indexPath;
using disc_page_test::lines;
using disc_page_test::node;
using disc_page_test::row;
using Strings = std::vector<std::string>;

inline constexpr std::string_view Media = "[007]Media";
inline constexpr std::string_view Songs = "songs_hard";
inline constexpr std::string_view MediaFolder = "[007]Media\\F:\\m";
inline constexpr std::string_view SongsFolder = "songs_hard\\music\\sub";

inline const std::vector<std::string_view> MediaIndex = {
    "F:\\|m",
    "F:\\|my.dir",
    "F:\\m\\|sub",
    "F:\\m\\pic.bmp[10]",
    "F:\\m\\icon.ico[10]",
    "F:\\m\\anim.gif[10]",
    "F:\\m\\Photo.JPG[10]",
    "F:\\m\\page.htm[10]",
    "F:\\m\\song.mp3[10]",
    "F:\\m\\clip.dat[10]",
    "F:\\m\\intro.swf[10]",
    "F:\\m\\readme.txt[10]",
    "F:\\m\\pack.zip[10]",
    "F:\\m\\shot.png[10]",
    "F:\\m\\noext[10]",
    "F:\\m\\a.txt.bak[3]($){C:\\copies\\m\\a.txt.bak}",
    "F:\\m\\a.txt[5]($){C:\\copies\\m\\a.txt}",
    "F:\\m\\odd.htm[5]($){C:\\elsewhere\\odd.txt}",
    "F:\\my.dir\\README[120]",
};

inline const std::vector<std::string_view> SongsIndex = {
    "C:\\stuff\\music\\|sub",
    "C:\\stuff\\music\\top.htm[5]",
    "C:\\stuff\\music\\sub\\a.mp3[7]",
    "C:\\stuff\\music\\sub\\b.bmp[7]",
};

inline constexpr std::string_view Catalogue =
    "|媒体\r\n#[007]Media#7#媒体盘#\r\n#songs_hard#8#歌曲#\r\n";

// A picture the picture box takes (a bitmap's header).
inline constexpr std::string_view Bitmap = "BM0123456789";

class PreviewPage : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(indexPath(Media), lines(MediaIndex));
        h.write(indexPath(Songs), lines(SongsIndex));
        h.write("C:\\zelbrin\\ini.ini", Catalogue);
        h.write("E:\\m\\pic.bmp", Bitmap);
        h.write("C:\\stuff\\music\\sub\\b.bmp", Bitmap);
        h.start();
        // The page 光盘 opens the pane.
        f().TabStrip1.userSelect(disc_page_test::DiscTab);
        ASSERT_EQ(f().Toolbar1.button("preview").value(), 1);
    }
    Form1& f() { return h.form; }
    void clickDiscList(std::initializer_list<std::string_view> paths) {
        for (std::string_view p : paths) f().TreeView1.userClickNode(node(f().TreeView1, p));
    }
    void openMediaFolder() { clickDiscList({Media, MediaFolder}); }
    void clickRow(std::string_view text) { f().ListView1.userClickItem(row(f(), text)); }
    std::array<const platform::Control*, 4> viewers() const {
        return {&h.form.WebBrowser1, &h.form.Picture1, &h.form.MediaPlayer2,
                &h.form.ShockwaveFlash1};
    }
    // The viewers shown, by name.
    Strings shown() const {
        Strings out;
        for (const platform::Control* c : viewers())
            if (c->visible()) out.push_back(c->name());
        return out;
    }
    // True when the viewer lies in front of the other three.
    bool inFront(const platform::Control& viewer) const {
        for (const platform::Control* c : viewers())
            if (c != &viewer && c->zIndex() > viewer.zIndex()) return false;
        return true;
    }
    std::string status(int panel) const { return h.form.StatusBar1.panel(panel).text(); }
    // Searches the disc files (scope 2), the remarks (scope 3) or the disc
    // remarks (scope 1) of every disc for the keyword.
    void search(const std::string& keyword, int scope = 2) {
        h.ui.onModal<find1>([=](find1& d) {
            (scope == 1 ? d.Option1 : scope == 3 ? d.Option3 : d.Option2).userClick();
            d.Combo1.userType(keyword);
            d.OKButton.userClick();
        });
        f().findItem.userClick();
    }
    // The result row whose path column holds this text.
    platform::ListItem& result(std::string_view path) {
        for (const auto& r : f().ListView2.items())
            for (int i = 1; i <= 2; ++i)
                if (r->subItem(i) == path) return *r;
        ADD_FAILURE() << "no result " << path;
        throw std::runtime_error("no result");
    }

    testsupport::Harness h;
};

}  // namespace preview_test
