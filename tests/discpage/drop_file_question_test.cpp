// 从目录文件中删除这个文件 on a catalogued hard-disk folder deletes a real
// file: the user is asked first, No the default, and No changes nothing.
// After a yes the row leaves the list and the preview shows nothing of the
// deleted file any more.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disc_page_steps.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

const std::string Text = "C:\\music\\pop\\live\\n.txt";
const std::string Song = "C:\\music\\pop\\live\\a.mp3";
const std::string Pending = "C:\\zelbrin\\guangpan\\pending.ini";

std::string question(const std::string& file) { return "确实要删除 " + file + " 文件吗？"; }

// The pop folder with a text file beside its songs, its folder live listed.
class DropFileQuestion : public DiscPage {
  protected:
    void SetUp() override {
        DiscPage::SetUp();
        std::vector<std::string_view> ls = PopIndex;
        ls.push_back("C:\\music\\pop\\live\\n.txt[5]");
        h.write(indexPath(Pop), lines(ls));
        h.write(Text, "第一行");
        h.write(Song, "x");
        before = index(Pop);
        clickDiscList({Pop, "pop_hard\\pop\\live"});
    }
    std::vector<std::string> visibleViewers() const {
        std::vector<std::string> out;
        for (const platform::Control* c :
             {static_cast<const platform::Control*>(&h.form.WebBrowser1),
              static_cast<const platform::Control*>(&h.form.Picture1),
              static_cast<const platform::Control*>(&h.form.ShockwaveFlash1),
              static_cast<const platform::Control*>(&h.form.MediaPlayer2)})
            if (c->visible()) out.push_back(c->name());
        return out;
    }
    std::string before;
};

TEST_F(DropFileQuestion, NoTheDefaultAnswerChangesNothing) {
    platform::ListItem& n = row(f(), "n");
    f().ListView1.setSelectedItem(&n);
    h.ui.answerMsgBox(platform::MsgNo, question(Text));
    f().DeleteFromMulu_Click();
    ASSERT_EQ(h.ui.log().size(), 1u);
    EXPECT_EQ(h.ui.log()[0].title, "提示");
    EXPECT_EQ(h.ui.log()[0].buttons, platform::MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(h.read(Text), "第一行");
    EXPECT_EQ(index(Pop), before);
    EXPECT_FALSE(h.exists(Pending));
    EXPECT_FALSE(n.removed());
    EXPECT_EQ(n.text(), "n");
    EXPECT_EQ(n.subItem(1), "txt");
    EXPECT_EQ(f().ListView1.selectedItem(), &n);
}

TEST_F(DropFileQuestion, AfterYesTheRowAndItsPreviewAreGone) {
    // The page 光盘 opened the pane.
    ASSERT_TRUE(f().previewPaneOpen());
    struct Case {
        const char* row;
        std::string file;
        const char* shown;  // the viewer that shows it before the drop
    };
    const Case cases[] = {{"n", Text, "WebBrowser1"}, {"a", Song, "MediaPlayer2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const int rows = f().ListView1.count();
        platform::ListItem& r = row(f(), c.row);
        f().ListView1.userClickItem(r);
        ASSERT_EQ(visibleViewers(), Strings{c.shown});
        h.ui.answerMsgBox(platform::MsgYes, question(c.file));
        f().DeleteFromMulu_Click();
        EXPECT_FALSE(h.exists(c.file));
        EXPECT_EQ(index(Pop).find(c.file + "["), std::string::npos);
        // No empty bar: the row is gone, and nothing is selected.
        EXPECT_TRUE(r.removed());
        EXPECT_EQ(f().ListView1.count(), rows - 1);
        EXPECT_EQ(f().ListView1.selectedItem(), nullptr);
        EXPECT_EQ(f().StatusBar1.panel(2).text(), std::to_string(rows - 1) + "个文件夹或文件");
        // The pane stays open and shows the page it opens with.
        EXPECT_EQ(visibleViewers(), Strings{"WebBrowser1"});
        EXPECT_EQ(f().WebBrowser1.locationPath(), "C:\\zelbrin\\readme.htm");
        EXPECT_EQ(f().MediaPlayer2.fileName(), "");
        EXPECT_EQ(f().PreviewKind, "web");
        EXPECT_TRUE(f().previewPaneOpen());
    }
    EXPECT_EQ(h.ui.messages(), (Strings{question(Text), question(Song)}));
}

TEST_F(DropFileQuestion, WithThePaneClosedNoViewerIsShown) {
    f().OpenPreview_Click();
    ASSERT_FALSE(f().previewPaneOpen());
    platform::ListItem& n = row(f(), "n");
    f().ListView1.setSelectedItem(&n);
    h.ui.answerMsgBox(platform::MsgYes, question(Text));
    f().DeleteFromMulu_Click();
    EXPECT_TRUE(n.removed());
    EXPECT_FALSE(f().previewPaneOpen());
}

}  // namespace
